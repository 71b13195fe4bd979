// Label objects: the reference count against ownership by a site, leaving
// objects out of print, blending, the rectangle's setters, copying, and the
// stored form read back by Free Pascal's own stream reader.

#include "document/label_object.h"

#include "formats/component_stream.h"
#include "formats/object_text.h"
#include "drawing/draw_site.h"
#include "graphics/bitmap.h"
#include "label_test_objects.h"
#include "support/oracle.h"

#include <gtest/gtest.h>

#include <vector>

namespace orvella {
namespace {

using test::TLOTestRect;

// --- reference count ----------------------------------------------------

TEST(LabelObjectCount, CapabilitiesCountAboveTheHoldersReference)
{
    auto object = std::make_unique<TLOTestRect>();
    EXPECT_EQ(object->RefCount(), 1);
    {
        TIntfRef<IDOBlend> blend = Supports<IDOBlend>(object.get());
        TIntfRef<IDOPosition> position = Supports<IDOPosition>(object.get());
        ASSERT_TRUE(blend && position);
        EXPECT_EQ(object->RefCount(), 3);
    }
    EXPECT_EQ(object->RefCount(), 1);
    EXPECT_FALSE(Supports<IDORotate>(object.get())) << "a plain rectangle does not turn";
    EXPECT_EQ(object->RefCount(), 1);
}

TEST(LabelObjectCount, LastReleaseTakesASiteOwnedObjectOffItsSite)
{
    TDrawSite site;
    TDrawObject& kept = site.InsertOwnedObject(std::make_unique<TLOTestRect>());
    auto* released = new TLOTestRect;
    site.InsertOwnedObject(std::unique_ptr<TDrawObject>(released));
    ASSERT_EQ(site.ObjectCount(), 2u);
    ASSERT_EQ(site.ComponentCount(), 2u);

    EXPECT_EQ(released->Release(), 0);
    // The site neither lists nor owns it any more, so freeing the site
    // (and the sanitizer build) shows no second delete.
    EXPECT_EQ(site.ObjectCount(), 1u);
    EXPECT_EQ(site.ComponentCount(), 1u);
    EXPECT_EQ(&site.Objects(0), &kept);
}

TEST(LabelObjectCount, AdoptedByAReferenceItIsFreedWithIt)
{
    class TWatchedRect : public TLOTestRect {
    public:
        explicit TWatchedRect(int& freed) : freed_(freed) {}
        ~TWatchedRect() override { ++freed_; }

    private:
        int& freed_;
    };
    int freed = 0;
    auto* object = new TWatchedRect(freed);
    {
        TIntfRef<IDOBlend> only(object);
        EXPECT_EQ(object->RefCount(), 1) << "adopting takes over the first reference";
        {
            const TIntfRef<IDOBlend> copy = only;
            EXPECT_EQ(object->RefCount(), 2);
        }
        EXPECT_EQ(freed, 0) << "a copy's end leaves the object alive";
    }
    EXPECT_EQ(freed, 1);
}

// --- printing -------------------------------------------------------------

struct PrintCase {
    bool dontPrint;
    bool printer;
    bool drawn;
};

class DontPrintPainting : public ::testing::TestWithParam<PrintCase> {};

TEST_P(DontPrintPainting, OnlyPrintersLeaveTheObjectOut)
{
    const PrintCase& c = GetParam();
    TBitmap bitmap(10, 10);
    test::TPrinterCanvas printer(&bitmap);
    TCanvas& canvas = c.printer ? printer : bitmap.Canvas();
    canvas.Brush() = TBrush{clWhite, TBrushStyle::bsSolid};
    canvas.FillRect({0, 0, 10, 10});

    TLOTestRect object;
    object.SetBoundsRect({2, 2, 8, 8});
    object.SetDontPrint(c.dontPrint);
    object.PaintTo(canvas);
    EXPECT_EQ(bitmap.GetPixelColor(5, 5), c.drawn ? object.Fill : clWhite);
    EXPECT_EQ(bitmap.GetPixelColor(9, 9), clWhite);
}

INSTANTIATE_TEST_SUITE_P(Table, DontPrintPainting,
                         ::testing::Values(PrintCase{false, false, true}, PrintCase{true, false, true},
                                           PrintCase{false, true, true}, PrintCase{true, true, false}));

TEST(LabelObjectSettings, DontPrintBroadcastsItsOwnKindAndOneChange)
{
    TLOTestRect object;
    std::vector<TGuid> heard;
    TListener listener;
    listener.SetHandler([&](TPersistent*, const TGuid& kind) { heard.push_back(kind); });
    listener.Listen(object.Notifier());

    object.SetDontPrint(true);
    EXPECT_EQ(heard, (std::vector<TGuid>{DontPrintChanged, ObjectChanged}));
    heard.clear();
    object.SetDontPrint(true);
    EXPECT_TRUE(heard.empty()) << "an unchanged value reports nothing";
}

TEST(LabelObjectSettings, BlendingIsNeededOnlyAwayFromTheDefaults)
{
    TLOTestRect object;
    EXPECT_FALSE(object.NeedsBlend());
    object.SetBlendShade(true);
    EXPECT_TRUE(object.NeedsBlend());
    object.SetBlendShade(false);
    object.SetBlendRatio(99);
    EXPECT_TRUE(object.NeedsBlend());
    // Ratios are percentages; a damaged file cannot push them outside.
    object.SetBlendRatio(250);
    EXPECT_EQ(object.BlendRatio(), 100);
    object.SetBlendRatio(-3);
    EXPECT_EQ(object.BlendRatio(), 0);
}

// --- rectangle ----------------------------------------------------------------

struct RectCase {
    const char* what;
    void (*apply)(TLORectBase&);
    TRect want;
};

class RectSetters : public ::testing::TestWithParam<RectCase> {};

TEST_P(RectSetters, KeepTheRectangleNormalised)
{
    TLOTestRect object;
    object.SetBoundsRect({100, 100, 200, 160});
    GetParam().apply(object);
    EXPECT_EQ(object.Rect(), GetParam().want) << GetParam().what;
    EXPECT_EQ(object.GetLogicalBounds(), object.Rect());
}

INSTANTIATE_TEST_SUITE_P(
    Table, RectSetters,
    ::testing::Values(
        RectCase{"left moves", [](TLORectBase& o) { o.SetLeft(10); }, {10, 100, 110, 160}},
        RectCase{"top moves", [](TLORectBase& o) { o.SetTop(-20); }, {100, -20, 200, 40}},
        RectCase{"width keeps left", [](TLORectBase& o) { o.SetWidth(30); }, {100, 100, 130, 160}},
        RectCase{"negative width flips at left", [](TLORectBase& o) { o.SetWidth(-50); }, {50, 100, 100, 160}},
        RectCase{"negative height flips at top", [](TLORectBase& o) { o.SetHeight(-10); }, {100, 90, 200, 100}},
        RectCase{"reversed bounds", [](TLORectBase& o) { o.SetBoundsRect({5, 9, 1, 2}); }, {1, 2, 5, 9}},
        RectCase{"move", [](TLORectBase& o) { o.MoveBy(-100, 5); }, {0, 105, 100, 165}},
        RectCase{"width at the range's end", [](TLORectBase& o) { o.SetLeft(2147483600); },
                 {2147483600, 100, 2147483647, 160}}));

TEST(LabelRect, HitsLeaveOutTheRightAndBottomEdges)
{
    TLOTestRect object;
    object.SetBoundsRect({10, 10, 20, 20});
    EXPECT_TRUE(object.HitTest({10, 10}));
    EXPECT_TRUE(object.HitTest({19, 19}));
    EXPECT_FALSE(object.HitTest({20, 15}));
    EXPECT_FALSE(object.HitTest({15, 20}));
}

TEST(LabelRect, ChangesReportOnceAndMoveTheDeviceBounds)
{
    TDrawSite site;
    site.Scaler().SetUnitDPI(96);
    site.SetLogWidth(200);
    site.SetLogHeight(200);
    TLOTestRect object;
    site.AddObject(object);
    int changes = 0;
    object.OnModify = [&](TDrawObject&) { ++changes; };

    object.SetBoundsRect({10, 20, 50, 40});
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(object.BoundsRect(), (TRect{10, 20, 51, 41}));
    object.SetBoundsRect({50, 40, 10, 20});
    EXPECT_EQ(changes, 1) << "the same rectangle, given reversed, is no change";
    site.RemoveObject(object);
}

TEST(LabelObjectCopy, AssignCopiesTheLabelSettingsAndTheRectangle)
{
    TLOTestRect source;
    source.SetBoundsRect({1, 2, 3, 4});
    source.SetDontPrint(true);
    source.SetBlendRatio(30);
    source.SetBlendShade(true);
    source.SetHint("ヒント");
    source.SetCursor(crSizeAll);
    source.SetTag(7);
    source.SetMovable(false);
    source.SetSelectable(false);
    source.SetEnabled(false);

    TLOTestRect copy;
    copy.Assign(source);
    EXPECT_EQ(copy.Rect(), source.Rect());
    EXPECT_TRUE(copy.DontPrint());
    EXPECT_EQ(copy.BlendRatio(), 30);
    EXPECT_TRUE(copy.BlendShade());
    EXPECT_EQ(copy.Hint(), "ヒント");
    EXPECT_EQ(copy.Cursor(), crSizeAll);
    EXPECT_EQ(copy.Tag(), 7);
    EXPECT_FALSE(copy.Movable());
    EXPECT_FALSE(copy.Selectable());
    EXPECT_FALSE(copy.Enabled());
}

// --- stored form ----------------------------------------------------------------

class LabelObjectStream : public ::testing::Test {
protected:
    void SetUp() override { test::RegisterLabelTestClasses(); }
};

TEST_F(LabelObjectStream, DefaultsLeaveOnlyTheAlwaysWrittenProperties)
{
    TLOTestRect object;
    object.SetBoundsRect({10, 20, 110, 70});
    const std::string text = ObjectBinaryToText(WriteComponent(object));
    EXPECT_EQ(text,
              "object TLOTestRect\n"
              "  Left = 10\n"
              "  Top = 20\n"
              "  Width = 100\n"
              "  Height = 50\n"
              "  Border = False\n"
              "  LayerGroup = 0\n"
              "  DontPrint = False\n"
              "end\n");
}

TEST_F(LabelObjectStream, PropertiesComeInTheirPlacesAndRoundTripThroughFreePascal)
{
    ORVELLA_REQUIRE_ORACLES();
    TLOTestRect object;
    object.SetTag(3);
    object.SetBoundsRect({-5, 20, 95, 70});
    object.SetCursor(crSizeAll);
    object.SetHint("Tip");
    object.SetBorder(true);
    object.SetMovable(false);
    object.SetSelectable(false);
    object.SetLayerGroup(2);
    object.SetAppendix({"Kind=Photo"});
    object.SetDontPrint(true);
    object.SetBlendRatio(45);
    object.SetBlendShade(true);
    const std::string bytes = WriteComponent(object);

    const std::string text = test::FpcToText(bytes);
    EXPECT_EQ(text,
              "object TLOTestRect\n"
              "  Tag = 3\n"
              "  Left = -5\n"
              "  Top = 20\n"
              "  Width = 100\n"
              "  Height = 50\n"
              "  Cursor = crSizeAll\n"
              "  Hint = 'Tip'\n"
              "  Border = True\n"
              "  Movable = False\n"
              "  Selectable = False\n"
              "  LayerGroup = 2\n"
              "  Appendix.Strings = (\n"
              "    'Kind=Photo'\n"
              "  )\n"
              "  DontPrint = True\n"
              "  BlendRatio = 45\n"
              "  BlendShade = True\n"
              "end\n");
    EXPECT_EQ(test::FpcToBinary(text), bytes) << "Free Pascal writes the same bytes back";

    TLOTestRect back;
    ReadComponent(bytes, back);
    EXPECT_EQ(WriteComponent(back), bytes);
    EXPECT_EQ(back.Rect(), (TRect{-5, 20, 95, 70}));
    EXPECT_EQ(back.Hint(), "Tip");
    EXPECT_TRUE(back.DontPrint());
}

TEST_F(LabelObjectStream, AStoredContextMenuIsResolvedOnlyWhileItsWindowExists)
{
    const std::string bytes = ObjectTextToBinary("object TLOTestRect\n"
                                                 "  PopupMenu = frmLayout.pmObject\n"
                                                 "  DontPrint = True\n"
                                                 "end\n");
    TLOTestRect alone;
    ReadComponent(bytes, alone);
    EXPECT_EQ(alone.PopupMenu(), nullptr);
    EXPECT_TRUE(alone.DontPrint());

    TComponent menu;
    std::string asked;
    TLabelObject::FindPopupMenu = [&](std::string_view reference) {
        asked = reference;
        return &menu;
    };
    TLOTestRect withWindow;
    ReadComponent(bytes, withWindow);
    TLabelObject::FindPopupMenu = nullptr;
    EXPECT_EQ(asked, "frmLayout.pmObject");
    EXPECT_EQ(withWindow.PopupMenu(), &menu);
    EXPECT_EQ(ObjectBinaryToText(WriteComponent(withWindow)).find("PopupMenu"), std::string::npos)
        << "the menu belongs to the window, not to the document";
}

}  // namespace
}  // namespace orvella
