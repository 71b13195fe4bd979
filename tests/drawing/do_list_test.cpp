// The object list form, the clipboard, and reading objects through the
// designers.

#include "site_fixture.h"
#include "support/thrown.h"

#include "formats/byte_writer.h"
#include "formats/component_stream.h"
#include "drawing/designer.h"
#include "drawing/do_list.h"
#include "drawing/do_reader.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include <stdexcept>

namespace orvella::test {
namespace {

std::string ListBytes(std::initializer_list<const TComponent*> components, int32_t count = -1)
{
    std::string out;
    TByteWriter(out).WriteI32(count >= 0 ? count : int32_t(components.size()));
    for (const TComponent* component : components)
        out += WriteComponent(*component);
    return out;
}

class ObjectList : public SiteTest {};

TEST_F(ObjectList, RoundTripKeepsClassesAndStoredProperties)
{
    TTestBox& first = Box({10, 20, 30, 40}, 2, clBlue);
    first.SetName("First");
    first.SetMovable(false);
    first.SetAppendix({"Source=scan", "Page=2"});
    TTestBox& second = Box({50, 60, 70, 80});
    second.SetSelectable(false);

    TDOList list;
    site.GetObjects(list, false);
    std::string bytes;
    list.WriteToStream(bytes);

    TDOList read;
    read.ReadFromStream(bytes);
    ASSERT_EQ(read.Count(), 2u);
    // Topmost first, as GetObjects lists them.
    auto& top = dynamic_cast<TTestBox&>(read[0]);
    auto& bottom = dynamic_cast<TTestBox&>(read[1]);
    EXPECT_EQ(top.Name(), "First");
    EXPECT_EQ(top.Box, (TRect{10, 20, 30, 40}));
    EXPECT_EQ(top.Fill, clBlue);
    EXPECT_EQ(top.LayerGroup(), 2);
    EXPECT_FALSE(top.Movable());
    EXPECT_EQ(top.Appendix().Lines, (std::vector<std::string>{"Source=scan", "Page=2"}));
    EXPECT_FALSE(bottom.Selectable());
    EXPECT_TRUE(bottom.Movable());

    // The objects read can be handed to a site.
    std::unique_ptr<TDrawObject> taken = read.Take(top);
    ASSERT_NE(taken, nullptr);
    site.AddObject(site.InsertOwnedObject(std::move(taken)));
    EXPECT_EQ(&site.Objects(site.ObjectCount() - 1), &top);
}

TEST_F(ObjectList, ComponentsThatAreNoDrawingObjectsAreDropped)
{
    TTestBox box({1, 2, 3, 4});
    TNotDrawn other;
    other.Caption = "not drawn";
    TDOList read;
    read.ReadFromStream(ListBytes({&other, &box, &other}));
    ASSERT_EQ(read.Count(), 1u);
    EXPECT_EQ(dynamic_cast<TTestBox&>(read[0]).Box, (TRect{1, 2, 3, 4}));
}

struct HostileCase {
    const char* what;
    std::string bytes;
    const char* error;  // what the refusal raises (type: message)
};

class HostileList : public ::testing::TestWithParam<HostileCase> {};

std::string OneBox()
{
    RegisterTestClasses();
    TTestBox box({1, 2, 3, 4});
    return WriteComponent(box);
}

TEST_P(HostileList, IsRefusedAndLeavesTheListEmpty)
{
    RegisterTestClasses();
    TTestBox kept({0, 0, 1, 1});
    TDOList list;
    list.Add(kept);
    EXPECT_EQ(Thrown([&] { list.ReadFromStream(GetParam().bytes); }), GetParam().error) << GetParam().what;
    EXPECT_EQ(list.Count(), 0u);
}

std::string Count(int32_t count)
{
    std::string out;
    TByteWriter(out).WriteI32(count);
    return out;
}

// Running short is a read error, a missing signature a format error.
constexpr const char* kShort = "orvella::EReadError: ストリームからの読み込みエラー";
constexpr const char* kNoSignature = "orvella::EReadError: 不正なストリーム フォーマット";

INSTANTIATE_TEST_SUITE_P(Table, HostileList, ::testing::Values(
    HostileCase{"empty", "", kShort},
    HostileCase{"short count", std::string("\x01\x00", 2), kShort},
    HostileCase{"negative count", Count(-1) + OneBox(), kShort},
    HostileCase{"count beyond the data", Count(0x7FFFFFFF) + OneBox(), kShort},
    HostileCase{"one object short", Count(2) + OneBox(), kNoSignature},
    HostileCase{"cut inside an object", Count(1) + OneBox().substr(0, 20), kShort},
    HostileCase{"no signature", Count(1) + "XPF0" + OneBox().substr(4), kNoSignature},
    HostileCase{"unknown class", Count(1) + std::string("TPF0\x08TUnknown\x00\x00\x00", 16),
                "orvella::EClassNotFound: クラス TUnknown が見つかりません"}));

class Clipboard : public SiteTest {
protected:
    QClipboard& clipboard() { return *QGuiApplication::clipboard(); }
};

TEST_F(Clipboard, CopyingNothingLeavesTheClipboardAlone)
{
    clipboard().setText("keep me");
    TDOList empty;
    empty.CopyToClipboard(DrawObjectClipboardFormat());
    EXPECT_EQ(clipboard().text(), "keep me");
    EXPECT_FALSE(empty.PasteClipboard(DrawObjectClipboardFormat()));
}

TEST_F(Clipboard, ObjectsTravelUnderTheApplicationsFormat)
{
    EXPECT_TRUE(DrawObjectClipboardFormat().startsWith("application/x-"));
    Box({10, 20, 30, 40}, 0, clLime);
    Box({50, 60, 70, 80}, 1, clBlue);
    TDOList copied;
    site.GetObjects(copied, false);
    copied.CopyToClipboard(DrawObjectClipboardFormat());

    TDOList pasted;
    ASSERT_TRUE(pasted.PasteClipboard(DrawObjectClipboardFormat()));
    ASSERT_EQ(pasted.Count(), 2u);
    EXPECT_EQ(dynamic_cast<TTestBox&>(pasted[0]).Fill, clBlue);
    EXPECT_EQ(dynamic_cast<TTestBox&>(pasted[1]).LayerGroup(), 0);
    EXPECT_FALSE(pasted.PasteClipboard("application/x-something-else"));
}

TEST_F(Clipboard, AHostilePayloadIsRefused)
{
    auto* data = new QMimeData;
    const std::string hostile = Count(1000000) + OneBox();
    data->setData(DrawObjectClipboardFormat(), QByteArray(hostile.data(), qsizetype(hostile.size())));
    clipboard().setMimeData(data);
    TDOList pasted;
    EXPECT_EQ(Thrown([&] { pasted.PasteClipboard(DrawObjectClipboardFormat()); }), kShort);
    EXPECT_EQ(pasted.Count(), 0u);
}

// A designer that turns an older class name into the current test class.
class RenamingDesigner : public TDODesigner {
public:
    std::unique_ptr<TComponent> CreateInstance(std::string_view className) override
    {
        if (className == "TOldBox" || className == "TTestBox") {
            ++made;
            return std::make_unique<TTestBox>();
        }
        return nullptr;
    }
    int made = 0;
};

TEST_F(ObjectList, ReadingGoesThroughTheDesigners)
{
    auto designer = std::make_shared<RenamingDesigner>();
    DesignerList().Register(designer);
    std::string bytes = OneBox();
    // Same length: "TOldBox" stands where "TTestBox" was, one byte shorter,
    // so rebuild the record by hand.
    const std::string renamed = "TPF0\x07TOldBox" + bytes.substr(4 + 1 + 8);
    TByteReader in(renamed);
    std::unique_ptr<TComponent> read = ReadObject(in);
    DesignerList().Unregister(*designer);
    ASSERT_NE(dynamic_cast<TTestBox*>(read.get()), nullptr);
    EXPECT_EQ(static_cast<TTestBox&>(*read).Box, (TRect{1, 2, 3, 4}));
    EXPECT_TRUE(in.AtEnd());
    EXPECT_GE(designer->made, 1);
}

TEST_F(ObjectList, ASiteStoresOnlyTheObjectsItOwns)
{
    site.SetName("Site");
    Box({1, 1, 5, 5});
    TTestBox borrowed({7, 7, 9, 9});
    site.AddObject(borrowed);
    const std::string bytes = WriteComponent(site);
    site.RemoveObject(borrowed);

    TDrawSite read;
    ReadComponent(bytes, read);
    ASSERT_EQ(read.ObjectCount(), 1u);
    EXPECT_EQ(dynamic_cast<TTestBox&>(read.Objects(0)).Box, (TRect{1, 1, 5, 5}));
    EXPECT_EQ(read.LogWidth(), 1000);
    EXPECT_EQ(read.Scaler().UnitDPI(), 254);
    EXPECT_EQ(read.Objects(0).BoundsRect(), (TRect{0, 0, 3, 3}));
    EXPECT_FALSE(read.Modified());
}

}  // namespace
}  // namespace orvella::test
