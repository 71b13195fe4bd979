// Character placement, line bounds, conversions and the arc layout of the
// text engine, on the fixed-metrics font engine: every em is the font's
// height, full-width characters one em wide and half-width ones half an em,
// each glyph a box inset by a tenth of an em.

#include "graphics/recording_canvas.h"
#include "graphics/rect_utils.h"
#include "objects/simple_text.h"
#include "platform/fonts/fake_font_engine.h"
#include "platform/fonts/font_engine.h"

#include <gtest/gtest.h>

#include <cmath>
#include <regex>

namespace orvella {
namespace {

class FakeFonts : public ::testing::Test {
protected:
    void SetUp() override { SetFontEngine(std::make_shared<TFakeFontEngine>()); }
    void TearDown() override { SetFontEngine(nullptr); }
};

// Three characters with A 10, B 30, C 10.
const TABCArray kThree{{10, 30, 10}, {10, 30, 10}, {10, 30, 10}};

struct PlaceCase {
    TABCArray widths;
    int32_t width;
    int32_t spacing;
    int32_t align;
    std::vector<int32_t> positions;
    int32_t inkLeft;
    int32_t inkRight;
};

TEST(PlaceCharacters, AlignsSpacesAndJustifies)
{
    const PlaceCase cases[] = {
        {kThree, 200, 0, 0, {-10, 40, 90}, 0, 130},
        {kThree, 200, 0, 2, {60, 110, 160}, 70, 200},
        {kThree, 200, 0, 1, {25, 75, 125}, 35, 165},
        // Justified: the 70 units left over go into the two gaps and the
        // last ink ends exactly at the width.
        {kThree, 200, 0, 3, {-10, 75, 160}, 0, 200},
        // Spacing follows every character, but only ink counts for the extent.
        {kThree, 200, 5, 0, {-10, 45, 100}, 0, 140},
        // Justified lines ignore the spacing.
        {kThree, 200, 5, 3, {-10, 75, 160}, 0, 200},
        // One justified character stays at the left.
        {{{10, 30, 10}}, 200, 0, 3, {-10}, 0, 200},
        // Uneven spread: cumulative rounding over three gaps of 100 / 3.
        {{{0, 10, 0}, {0, 10, 0}, {0, 10, 0}, {0, 10, 0}}, 140, 0, 3, {0, 43, 86, 130}, 0, 140},
        {{}, 100, 0, 1, {}, 0, 0},
    };
    for (const PlaceCase& c : cases) {
        TCharLayout layout;
        PlaceCharacters(c.widths, c.width, c.spacing, c.align, layout);
        EXPECT_EQ(layout.Positions, c.positions) << "align " << c.align << " spacing " << c.spacing;
        EXPECT_EQ(layout.InkLeft, c.inkLeft) << "align " << c.align;
        EXPECT_EQ(layout.InkRight, c.inkRight) << "align " << c.align;
    }
}

TEST_F(FakeFonts, TabsAdvanceToTheNextMultipleOfEightDigits)
{
    TPointBasedFont font;
    const TFont canvasFont = PrepareTextFont(font, false, clBlack);
    TCanvas& canvas = MeasuringCanvas();
    canvas.Font() = canvasFont;
    const auto engineFont = canvas.RealizedFont();
    const int32_t digit = engineFont->CharABC(U'0').Advance();
    const TABCArray widths = CharacterWidths(*engineFont, U"ab\tc\t");
    EXPECT_EQ(widths[2].B, digit * 6);
    EXPECT_EQ(widths[4].B, digit * 4);
    EXPECT_EQ(widths[2].A + widths[2].C, 0);
}

TEST_F(FakeFonts, LinesStackAndVerticalColumnsRunFromTheRight)
{
    TSimpleText text;
    text.SetText({"AB", "ABCD"});
    text.SetLineSpacing(10);
    const int32_t h = text.LineHeight();
    ASSERT_GT(h, 0);
    const TRect rect{100, 200, 1100, 1200};

    const TRect horizontal = text.TextBounds(rect);
    EXPECT_EQ(horizontal.Top, 200);
    EXPECT_EQ(horizontal.Bottom, 200 + 2 * (h + 10) - 10);
    // Left aligned: the ink starts at the rectangle's left edge.
    EXPECT_EQ(horizontal.Left, 100);

    text.SetVertical(true);
    const TRect vertical = text.TextBounds(rect);
    EXPECT_EQ(vertical.Right, 1100);
    EXPECT_EQ(vertical.Left, 1100 - (2 * (text.LineHeight() + 10) - 10));
    EXPECT_EQ(vertical.Top, 200);

    text.SetVertical(false);
    text.SetAlign(2);
    EXPECT_EQ(text.TextBounds(rect).Right, 1100);
    text.SetAlign(3);
    const TRect justified = text.TextBounds(rect);
    EXPECT_EQ(justified.Left, 100);
    EXPECT_EQ(justified.Right, 1100);
    // Counted as left aligned when asked to ignore justification.
    EXPECT_LT(text.TextBounds(rect, true).Right, 1100);
}

TEST_F(FakeFonts, FeedAngleSlantsLinesInsideTheRectangle)
{
    TSimpleText text;
    text.SetText({"AB", "AB", "AB"});
    const TRect rect{0, 0, 2000, 1000};
    const TRect straight = text.TextBounds(rect);
    text.SetFeedAngle(30);
    const TRect slanted = text.TextBounds(rect);
    const double step = std::sin(-30 * M_PI / 180) * text.LineHeight();
    // Lines move left going down, so the first line starts furthest right.
    EXPECT_EQ(slanted.Left, straight.Left);
    EXPECT_NEAR(slanted.Right, straight.Right - 2 * step, 1.0);
    // Centred lines ignore the feed angle.
    text.SetAlign(1);
    const TRect centred = text.TextBounds(rect);
    text.SetFeedAngle(0);
    EXPECT_EQ(text.TextBounds(rect), centred);
}

TEST_F(FakeFonts, ShownLinesUsePlaceholderAndConversions)
{
    struct Case {
        std::vector<std::string> text;
        bool hanToZen, numToKnj, minusExc;
        std::string shown;
    };
    const Case cases[] = {
        {{}, false, false, false, "未入力項目"},
        {{"ｶﾞ"}, true, false, false, "ガ"},
        {{"ｳﾞ"}, true, false, false, "ヴ"},
        {{"1-2"}, true, false, true, "１-２"},
        {{"12"}, false, true, false, "12"},
        {{"12"}, true, true, false, "一二"},
    };
    for (const Case& c : cases) {
        TSimpleText text;
        text.SetText(c.text);
        text.SetHanToZen(c.hanToZen);
        text.SetNumToKnj(c.numToKnj);
        text.SetMinusExc(c.minusExc);
        ASSERT_EQ(text.DisplayLines().size(), 1u);
        EXPECT_EQ(text.DisplayLines()[0], c.shown);
        EXPECT_EQ(text.Text(), c.text) << "the stored text is unchanged";
    }
}

TEST_F(FakeFonts, ChangesInsideAnUpdateAreReportedOnce)
{
    TSimpleText text;
    int reports = 0;
    text.OnChange = [&] { ++reports; };
    text.BeginUpdate();
    text.SetText({"A"});
    text.SetAngle(10);
    text.Font().SetSize(30);
    text.BeginUpdate();
    text.SetBulge(5);
    text.EndUpdate();
    EXPECT_EQ(reports, 0);
    text.EndUpdate();
    EXPECT_EQ(reports, 1);
    text.SetAngle(10);
    EXPECT_EQ(reports, 1) << "an unchanged value reports nothing";
}

// The positions where the characters of an arc were output.
std::vector<TPoint> textOutPoints(const TRecordingCanvas& canvas)
{
    std::vector<TPoint> points;
    const std::regex call(R"(TextOut\((-?\d+),(-?\d+),)");
    for (const std::string& text : canvas.CallTexts()) {
        std::smatch m;
        if (std::regex_search(text, m, call))
            points.push_back({std::stoi(m[1]), std::stoi(m[2])});
    }
    return points;
}

TEST_F(FakeFonts, ArcPlacesInkCentresOnTheMiddleCircle)
{
    for (const int32_t bulge : {300, -300}) {
        TSimpleText text;
        text.SetText({"ABCDEF"});
        text.SetBulge(bulge);
        text.SetAlign(1);
        const TRect rect{0, 0, 2000, 400};
        const TSimpleText::TArc arc = text.ArcOfChord(rect);
        ASSERT_TRUE(arc.Valid);
        // The arc rises by the bulge over the chord's middle.
        const double top = bulge > 0 ? arc.CentreY - arc.Radius : arc.CentreY + arc.Radius;
        EXPECT_NEAR(top, 200 - bulge, 1.5) << bulge;

        TRecordingCanvas canvas;
        text.DrawText(canvas, rect);
        const std::vector<TPoint> points = textOutPoints(canvas);
        ASSERT_EQ(points.size(), 6u) << bulge;
        // Each reference point lies the ink centre's offset away from the
        // middle circle; the offsets are at most a cell, so the points stay
        // within a band around it and go left to right.
        const double middle = arc.OuterRadius - text.LineHeight() / 2.0;
        for (std::size_t i = 0; i < points.size(); ++i) {
            const double r = std::hypot(points[i].x - arc.CentreX, points[i].y - arc.CentreY);
            EXPECT_NEAR(r, middle, text.LineHeight()) << bulge << " char " << i;
            if (i > 0) {
                EXPECT_GT(points[i].x, points[i - 1].x) << bulge << " char " << i;
            }
        }
        // Centred: the middle characters straddle the chord's centre.
        EXPECT_LT(points[2].x, 1000);
        EXPECT_GT(points[3].x + text.LineHeight(), 1000);
    }
}

}  // namespace
}  // namespace orvella
