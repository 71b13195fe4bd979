#include "site_fixture.h"

#include "drawing/designer.h"
#include "drawing/do_list.h"
#include "drawing/object_utils.h"
#include "formats/class_registry.h"
#include "formats/property_table.h"
#include "graphics/color_fill.h"

namespace orvella::test {
namespace {

// Answers the operations it is told to, and writes down who was asked.
class ScriptedDesigner : public TDODesigner {
public:
    ScriptedDesigner(std::string name, std::vector<std::string>* asked, bool answers)
        : name_(std::move(name)), asked_(asked), answers_(answers)
    {
    }
    bool ShowHandles(TDrawObject&) override
    {
        asked_->push_back(name_);
        return answers_;
    }
    bool EditObject(TDrawObject&, bool& cancelled) override
    {
        asked_->push_back(name_);
        cancelled = CancelEdit;
        return answers_;
    }
    bool CancelEdit = false;

private:
    std::string name_;
    std::vector<std::string>* asked_;
    bool answers_;
};

class Designers : public SiteTest {
protected:
    Designers()
    {
        creator->AddAlias("TBoxTool", "TTestBox");
        creator->OnRecordUndo = [this](TDrawObject&, const std::string& caption) { undo.push_back(caption); };
        DesignerList().Register(creator);
    }
    ~Designers() override { DesignerList().Clear(); }

    std::shared_ptr<TLOCreator> creator = std::make_shared<TLOCreator>();
    std::vector<std::string> undo;
};

TEST_F(Designers, TheNewestAnswerWins)
{
    std::vector<std::string> asked;
    auto older = std::make_shared<ScriptedDesigner>("older", &asked, true);
    auto newer = std::make_shared<ScriptedDesigner>("newer", &asked, false);
    older->Module = "liba.so";
    DesignerList().Register(older);
    DesignerList().Register(newer);
    TTestBox box({0, 0, 10, 10});
    EXPECT_TRUE(DesignerList().ShowHandles(box));
    EXPECT_EQ(asked, (std::vector<std::string>{"newer", "older"}));

    DesignerList().UnloadModule("LIBA.SO");
    asked.clear();
    EXPECT_FALSE(DesignerList().ShowHandles(box));
    EXPECT_EQ(asked, std::vector<std::string>{"newer"});
    EXPECT_EQ(DesignerList().CreateInstance("TNoSuchClass"), nullptr);
    EXPECT_NE(dynamic_cast<TTestBox*>(DesignerList().CreateInstance("tboxtool").get()), nullptr);
}

TEST_F(Designers, ACommandPlacedAtOnceIsCentredSelectedAndRecorded)
{
    creator->AddCommand("TBoxTool", {"", false, false, [](TDrawObject& object, TDrawSite&) {
                                         static_cast<TTestBox&>(object).Box = {0, 0, 200, 100};
                                     }});
    // Only part of the site is visible: its centre is at pixel (100, 50).
    site.Host.VisibleRect = [] { return TRect{0, 0, 200, 100}; };
    ASSERT_TRUE(DesignerList().CreateObject(site, "TBoxTool"));
    ASSERT_EQ(site.ObjectCount(), 1u);
    auto& box = static_cast<TTestBox&>(site.Objects(0));
    EXPECT_EQ(box.Box, (TRect{165, 82, 365, 182}));  // centred on (265, 132)
    EXPECT_TRUE(box.Selected());
    EXPECT_EQ(box.Cursor(), crSizeAll);
    EXPECT_EQ(site.HandleCount(), 4u);
    EXPECT_EQ(undo, std::vector<std::string>{"追加"});
}

TEST_F(Designers, ACommandPlacedByDraggingStartsTheCreationOutline)
{
    ASSERT_TRUE(DesignerList().CreateObject(site, "TBoxTool"));
    auto& box = static_cast<TTestBox&>(site.Objects(0));
    EXPECT_FALSE(box.Visible());
    EXPECT_EQ(box.LastDragIndex, -2);
    EXPECT_EQ(site.Cursor(), crCross);
    EXPECT_TRUE(undo.empty());
}

TEST_F(Designers, ACancelledEditorDropsTheNewObject)
{
    std::vector<std::string> asked;
    auto editor = std::make_shared<ScriptedDesigner>("editor", &asked, true);
    editor->CancelEdit = true;
    DesignerList().Register(editor);
    creator->AddCommand("TBoxTool", {"", true, false, nullptr});
    EXPECT_FALSE(DesignerList().CreateObject(site, "TBoxTool"));
    EXPECT_EQ(site.ObjectCount(), 0u);
    EXPECT_EQ(site.ComponentCount(), 0u);

    editor->CancelEdit = false;
    EXPECT_TRUE(DesignerList().CreateObject(site, "TBoxTool"));
    EXPECT_EQ(site.ObjectCount(), 1u);
    EXPECT_EQ(asked.size(), 2u);
    EXPECT_FALSE(DesignerList().CreateObject(site, "TNotDrawn"));
}

// Stand-ins for the text class and a descendant of it: boxes with a shadow
// fill offered as the optional colour capability.
class TShadowBox : public TTestBox, public IDOOptionalColorSpec {
    ORVELLA_PERSISTENT(TShadowBox)

public:
    TShadowBox() { Shadow.SetColor(0); }
    TColorSpec Shadow;
    const TColorSpec& GetColorSpec() const override { return Shadow; }
    void SetColorSpec(const TColorSpec& colorFill) override { Shadow.Assign(colorFill); }
    bool GetDisabled() const override { return false; }
    void SetDisabled(bool) override {}
    void* QueryInterface(const TGuid& iid) override
    {
        if (iid == IDOOptionalColorSpec::IID)
            return Offer<IDOOptionalColorSpec>(this);
        return TTestBox::QueryInterface(iid);
    }
    int AddRef() override { return TTestBox::AddRef(); }
    int Release() override { return TTestBox::Release(); }
};

const TClassInfo& TShadowBox::StaticClassInfo()
{
    static const TClassInfo info = DeclareClass<TShadowBox, TTestBox>("TLOText", {});
    return info;
}

class TShadowDate : public TShadowBox {
    ORVELLA_PERSISTENT(TShadowDate)
};

const TClassInfo& TShadowDate::StaticClassInfo()
{
    static const TClassInfo info = DeclareClass<TShadowDate, TShadowBox>("TShadowDate", {});
    return info;
}

TEST_F(Designers, EveryTextObjectStartsWithAGreyShadowWhateverCommandMadeIt)
{
    RegisterClasses({&TShadowDate::StaticClassInfo()});
    // One command with a preparation of its own, one without any entry.
    creator->AddCommand("TLOText", {"", false, false, [](TDrawObject& object, TDrawSite&) {
                                        static_cast<TTestBox&>(object).Box = {0, 0, 20, 20};
                                    }});
    creator->AddCommand("TBoxTool", {"", false, false, nullptr});
    for (const char* command : {"TLOText", "TShadowDate"}) {
        ASSERT_TRUE(DesignerList().CreateObject(site, command)) << command;
        auto& made = dynamic_cast<TShadowBox&>(site.Objects(site.ObjectCount() - 1));
        EXPECT_EQ(made.Shadow.Color(), 8421504u) << command;
        EXPECT_EQ(made.Shadow.Kind(), TColorSpecKind::cskSolid) << command;
    }
    ASSERT_TRUE(DesignerList().CreateObject(site, "TBoxTool"));
    EXPECT_EQ(dynamic_cast<TShadowBox*>(&site.Objects(site.ObjectCount() - 1)), nullptr);
    UnRegisterClass(TShadowDate::StaticClassInfo());
    UnRegisterClass(TShadowBox::StaticClassInfo());
}

TEST_F(Designers, ADialogDesignerEditsOnlyItsClass)
{
    int opened = 0;
    DesignerList().Register(std::make_shared<TDialogDesigner>(TTestBox::StaticClassInfo(), [&](TDrawObject& object) {
        ++opened;
        static_cast<TTestBox&>(object).Fill = clLime;
        return false;
    }));
    TTestBox box({0, 0, 10, 10});
    bool cancelled = false;
    EXPECT_TRUE(DesignerList().EditObject(box, cancelled));
    EXPECT_TRUE(cancelled);
    EXPECT_EQ(box.Fill, clLime);

    struct TOther : TDrawObject {
        const TClassInfo& ClassInfo() const override { return TDrawObject::StaticClassInfo(); }
        bool HitTest(TPoint) override { return false; }
        TRect GetLogicalBounds() const override { return {}; }
        void ShowHandles() override {}
        void BeginDrag(int) override {}
        void Paint(TCanvas&) override {}
    } other;
    EXPECT_FALSE(DesignerList().EditObject(other, cancelled));
    EXPECT_EQ(opened, 1);
}

// --- utilities --------------------------------------------------------------------

struct CentreCase {
    TRect box;
    TRect want;
};

class KeepCentres : public ::testing::TestWithParam<CentreCase> {};

TEST_P(KeepCentres, KeepsTenUnitsInside)
{
    RegisterTestClasses();
    TTestBox box(GetParam().box);
    TDOList list;
    list.Add(box);
    KeepCentresInside(list, {0, 0, 1000, 800});
    EXPECT_EQ(box.Box, GetParam().want);
}

INSTANTIATE_TEST_SUITE_P(Table, KeepCentres, ::testing::Values(
    CentreCase{{100, 100, 200, 200}, {100, 100, 200, 200}},
    CentreCase{{-100, 100, 0, 200}, {-40, 100, 60, 200}},       // centre -50 -> 10
    CentreCase{{950, 790, 1150, 890}, {890, 740, 1090, 840}},  // centre (1050, 840) -> (990, 790)
    CentreCase{{-20, -20, 20, 20}, {-10, -10, 30, 30}}));

TEST(ObjectUtilities, RemapAndPictureSizes)
{
    RegisterTestClasses();
    TTestBox box({100, 100, 300, 200});
    TDOList list;
    list.Add(box);
    RemapObjects(list, {0, 0, 1000, 1000}, {0, 0, 500, 2000});
    EXPECT_EQ(box.Box, (TRect{50, 200, 150, 400}));
    RemapObjects(list, {0, 0, 0, 10}, {0, 0, 500, 2000});  // nothing to map from
    EXPECT_EQ(box.Box, (TRect{50, 200, 150, 400}));

    EXPECT_EQ(GraphicLogicalSize({180, 360}), (TSize{254, 508}));
    EXPECT_EQ(GraphicLogicalSize({1, 0}), (TSize{30, 30}));
}

TEST(ObjectUtilities, AFaceImageShowsTheObjectsInsideTheShape)
{
    RegisterTestClasses();
    TTestBox box({0, 0, 1000, 1000}, 0, clBlue);
    TDOList objects;
    objects.Add(box);
    TFaceImageSource face;
    face.Bounds = {0, 0, 1000, 1000};
    QPainterPath disc;
    disc.addEllipse(0, 0, 1000, 1000);
    face.Shape = disc;
    const QImage image = RenderFaceImage(face, objects, {100, 50});
    ASSERT_EQ(image.size(), QSize(50, 50));
    EXPECT_EQ(image.pixelColor(25, 25), QColor(Qt::blue));
    EXPECT_EQ(image.pixelColor(1, 1), QColor(Qt::white));
    EXPECT_EQ(box.Parent(), nullptr);
}

}  // namespace
}  // namespace orvella::test
