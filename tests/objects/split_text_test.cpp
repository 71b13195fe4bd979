// Splitting a text of several lines into one text object per line.

#include "drawing/action_list.h"
#include "drawing/draw_site.h"
#include "drawing/draw_types.h"
#include "objects/lo_shade_text.h"
#include "objects/object_classes.h"
#include "objects/split_text.h"
#include "platform/fonts/fake_font_engine.h"
#include "platform/fonts/font_engine.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace orvella {
namespace {

class SplitText : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetFontEngine(std::make_shared<TFakeFontEngine>());
        RegisterObjectClasses();
        site.Scaler().SetUnitDPI(254);
        site.SetLogWidth(kFace.cx);
        site.SetLogHeight(kFace.cy);
        ActionList().Clear();
    }
    void TearDown() override
    {
        ActionList().Clear();
        SetFontEngine(nullptr);
    }

    template <class T = TLOCurrentText>
    T& AddText(std::vector<std::string> lines, const TRect& rect, bool vertical = false)
    {
        auto& text = static_cast<T&>(site.InsertOwnedObject(std::make_unique<T>()));
        text.SetText(std::move(lines));
        text.SetVertical(vertical);
        text.SetBoundsRect(rect);
        site.AddObject(text);
        text.SetSelected(true);
        return text;
    }
    // The objects added after the first count, bottom first.
    std::vector<TLOText*> Added(std::size_t before) const
    {
        std::vector<TLOText*> added;
        for (std::size_t i = before; i < site.ObjectCount(); ++i)
            added.push_back(dynamic_cast<TLOText*>(&site.Objects(i)));
        return added;
    }

    static constexpr TSize kFace{1200, 1000};
    TDrawSite site;
};

TEST_F(SplitText, ThreeLinesBecomeThreeObjectsInStripsFromTheTop)
{
    TLOCurrentText& source = AddText({"one", "two", "three"}, {50, 60, 650, 460});
    const TRect ink = source.Engine().TextBounds(source.Rect());
    int createdCalls = 0;
    EXPECT_EQ(SplitTexts(site, kFace, [&](TDrawObject&) { ++createdCalls; }), 3);
    EXPECT_EQ(createdCalls, 3);

    const std::vector<TLOText*> added = Added(1);
    ASSERT_EQ(added.size(), 3u);
    const char* const lines[] = {"one", "two", "three"};
    for (std::size_t i = 0; i < 3; ++i) {
        ASSERT_NE(added[i], nullptr);
        EXPECT_EQ(added[i]->Text(), std::vector<std::string>{lines[i]});
        EXPECT_TRUE(added[i]->Selected());
        EXPECT_EQ(added[i]->Cursor(), crHandPoint);
    }
    // The strips stack without gaps over the ink area centred on the face.
    const TRect first = added[0]->Rect();
    const TRect last = added[2]->Rect();
    EXPECT_EQ(added[1]->Rect().Top, first.Bottom);
    EXPECT_EQ(last.Top, added[1]->Rect().Bottom);
    EXPECT_EQ(first.Left, last.Left);
    EXPECT_EQ(first.Right - first.Left, ink.Right - ink.Left);
    EXPECT_EQ(last.Bottom - first.Top, ink.Bottom - ink.Top);
    EXPECT_NEAR((first.Left + first.Right) / 2, kFace.cx / 2, 1);
    EXPECT_NEAR((first.Top + last.Bottom) / 2, kFace.cy / 2, 1);
    for (const TLOText* text : added)
        EXPECT_NEAR(text->Rect().Bottom - text->Rect().Top, (ink.Bottom - ink.Top) / 3, 1);

    EXPECT_FALSE(source.Selected());
    EXPECT_EQ(source.Text().size(), 3u) << "the split text stays";
}

TEST_F(SplitText, VerticalTextIsCutIntoColumnsFromTheRight)
{
    AddText({"ab", "cd"}, {100, 100, 500, 700}, true);
    ASSERT_EQ(SplitTexts(site, kFace, {}), 2);
    const std::vector<TLOText*> added = Added(1);
    ASSERT_EQ(added.size(), 2u);
    EXPECT_EQ(added[0]->Text(), std::vector<std::string>{"ab"});
    EXPECT_TRUE(added[0]->Vertical());
    EXPECT_EQ(added[0]->Rect().Left, added[1]->Rect().Right) << "the first line is the rightmost column";
    EXPECT_EQ(added[0]->Rect().Top, added[1]->Rect().Top);
    EXPECT_NEAR((added[1]->Rect().Left + added[0]->Rect().Right) / 2, kFace.cx / 2, 1);
}

TEST_F(SplitText, WizardTextsLoseTheirInputMarkAndOneLineTextsStay)
{
    auto& wizard = AddText<TLOWizardText>({"x", "y"}, {0, 0, 300, 300});
    wizard.SetWizInputEnable(true);
    wizard.SetWizInputCaption("タイトル");
    AddText({"single"}, {0, 400, 300, 500});
    ASSERT_EQ(SplitTexts(site, kFace, {}), 2);
    for (TLOText* text : Added(2)) {
        auto* made = dynamic_cast<TLOCurrentText*>(text);
        ASSERT_NE(made, nullptr) << "made of the current text class";
        EXPECT_FALSE(made->WizInputEnable());
        EXPECT_EQ(made->WizInputCaption(), "");
    }
    EXPECT_TRUE(wizard.WizInputEnable()) << "the source keeps its mark";

    site.SetAllSelected(false);
    site.Objects(1).SetSelected(true);  // the one-line text
    EXPECT_EQ(SplitTexts(site, kFace, {}), 0);
}

TEST_F(SplitText, OneUndoTakesEveryNewObjectAway)
{
    AddText({"a", "b", "c", "d"}, {0, 0, 400, 400});
    ASSERT_EQ(SplitTexts(site, kFace, {}), 4);
    ASSERT_EQ(site.ObjectCount(), 5u);
    site.SetAllSelected(false);
    ActionList().Undo();
    EXPECT_EQ(site.ObjectCount(), 1u);
    ActionList().Redo();
    EXPECT_EQ(site.ObjectCount(), 5u);
}

}  // namespace
}  // namespace orvella
