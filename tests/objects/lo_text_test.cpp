// The text object: its normalised properties, shadow presets, stored form
// (proven against Free Pascal's runtime), the upgrade of older documents,
// automatic sizing, dates and the pixels it paints.

#include "drawing/draw_site.h"
#include "formats/class_registry.h"
#include "formats/component_stream.h"
#include "graphics/bitmap.h"
#include "graphics/rect_utils.h"
#include "objects/lo_date.h"
#include "objects/lo_shade_text.h"
#include "objects/object_classes.h"
#include "platform/fonts/fake_font_engine.h"
#include "platform/fonts/font_engine.h"
#include "support/oracle.h"

#include <gtest/gtest.h>

#include <cstring>

namespace orvella {
namespace {

class TextObject : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetFontEngine(std::make_shared<TFakeFontEngine>());
        RegisterObjectClasses();
    }
    void TearDown() override { SetFontEngine(nullptr); }
};

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST_F(TextObject, AnglesAreStoredNormalised)
{
    TLOCurrentText text;
    const std::pair<int32_t, int32_t> cases[] = {{-90, 270}, {450, 90}, {360, 0}, {-725, 355}};
    for (const auto& [given, stored] : cases) {
        text.SetAngle(given);
        EXPECT_EQ(text.Angle(), stored) << given;
    }
}

TEST_F(TextObject, ShadowPresetsAndCustomOffsets)
{
    TLOCurrentText text;
    text.SetShadow(5);
    EXPECT_EQ(text.ShadowOffsetX(), 7);
    EXPECT_EQ(text.ShadowOffsetY(), 0);
    EXPECT_EQ(text.Shadow(), 5);
    text.SetShadowOffsetX(10);
    text.SetShadowOffsetY(10);
    EXPECT_EQ(text.Shadow(), TLOText::kCustomShadow);
    text.SetShadow(TLOText::kCustomShadow);
    EXPECT_EQ(text.ShadowOffsetX(), 10) << "preset 9 leaves the offsets alone";
    text.SetShadow(0);
    EXPECT_EQ(text.ShadowOffset(), (TPoint{0, 0}));
}

TEST_F(TextObject, SoftShadowReservesRoomAwayFromTheText)
{
    TLOCurrentText text;
    text.SetShadowOffsetX(7);
    text.SetShadowOffsetY(0);
    const int32_t h = text.LineHeight();
    const TPoint plain{MulDiv(h, 7, 100), 0};
    EXPECT_EQ(text.ShadowOffset(), plain);
    text.SetShadeShadowEnable(true);
    const int32_t room = MulDiv(h, 10, 100);
    EXPECT_EQ(text.ShadowOffset(), (TPoint{plain.x + room, room}));
    EXPECT_EQ(text.PlainShadowOffset(), plain);
    EXPECT_TRUE(text.NeedsBlend()) << "a soft shadow is always blended";
}

TEST_F(TextObject, StoredFormReadsBackThroughFreePascal)
{
    ORVELLA_REQUIRE_ORACLES();
    TLOCurrentText text;
    text.SetBoundsRect({100, 200, 900, 400});
    // ASCII only: Free Pascal reads its own printed text of a CP932 string
    // back as a wide string, so the round trip would not be byte for byte.
    text.SetText({"Title", "Second line"});
    text.Font().SetName("IPAGothic");
    text.Font().SetSize(30);
    text.SetAngle(-90);
    text.SetShadowOffsetX(10);
    text.SetShadowOffsetY(10);
    text.SetOutline(true);
    text.SetOutLineWidth(4);
    text.SetShadeShadowEnable(true);
    const std::string bytes = WriteComponent(text);
    const std::string printed = test::FpcToText(bytes);
    EXPECT_EQ(printed.rfind("object TLOText\n", 0), 0u) << printed;
    for (const char* line : {"  Version = 1\n", "  Angle = 270\n", "  ShadowOffsetX = 10\n", "  ShadowOffsetY = 10\n",
                             "  Font.Charset = SHIFTJIS_CHARSET\n", "  Font.Size = 30\n", "  DistortionRatio = 100\n",
                             "  OutLineWidth = 4\n", "  ShadeShadowEnable = True\n"})
        EXPECT_TRUE(contains(printed, line)) << line << "\n" << printed;
    EXPECT_FALSE(contains(printed, "  Shadow = ")) << printed;
    EXPECT_FALSE(contains(printed, "DiagonalAlign")) << printed;

    // Free Pascal's binary of its own text reads back as the same object.
    std::unique_ptr<TComponent> read = ReadComponent(test::FpcToBinary(printed));
    auto* back = dynamic_cast<TLOCurrentText*>(read.get());
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->Text(), text.Text());
    EXPECT_EQ(back->Rect(), text.Rect());
    EXPECT_EQ(back->Angle(), 270);
    EXPECT_EQ(back->Font().Size(), 30);
    EXPECT_EQ(back->Shadow(), TLOText::kCustomShadow);
    EXPECT_TRUE(back->ShadeShadowEnable());
    EXPECT_EQ(WriteComponent(*back), bytes);

    // A preset is stored as the preset alone.
    text.SetShadow(5);
    const std::string preset = test::FpcToText(WriteComponent(text));
    EXPECT_TRUE(contains(preset, "  Shadow = 5\n")) << preset;
    EXPECT_FALSE(contains(preset, "ShadowOffsetX")) << preset;
}

// An object read from Free Pascal's binary of the given text form.
std::unique_ptr<TLOText> readText(const std::string& body)
{
    std::unique_ptr<TComponent> read = ReadComponent(test::FpcToBinary("object TLOText\n" + body + "end\n"));
    auto* text = dynamic_cast<TLOText*>(read.get());
    if (!text)
        return nullptr;
    read.release();
    return std::unique_ptr<TLOText>(text);
}

TEST_F(TextObject, OlderDocumentsAreUpgradedWhenRead)
{
    ORVELLA_REQUIRE_ORACLES();
    // No Version: a bulged, centred two-line text keeps its first line.
    auto arc = readText("  Left = 0\n  Top = 0\n  Width = 1000\n  Height = 300\n"
                        "  Text.Strings = (\n    'one'\n    'two')\n  Align = 1\n  CharSpacing = 5\n  Angle = 0\n"
                        "  Bulge = 100\n");
    ASSERT_NE(arc, nullptr);
    EXPECT_EQ(arc->Text(), std::vector<std::string>{"one"});
    EXPECT_EQ(arc->Align(), 1);
    EXPECT_EQ(arc->CharSpacing(), 0);
    EXPECT_EQ(arc->Version(), 1);

    // The earlier circle layout becomes an arc in a square around the centre.
    auto circle = readText("  Left = 0\n  Top = 0\n  Width = 1000\n  Height = 600\n"
                           "  Text.Strings = (\n    'ring')\n  Align = 4\n  Angle = 0\n  Version = 1\n");
    ASSERT_NE(circle, nullptr);
    const int32_t h = circle->LineHeight();
    EXPECT_EQ(circle->Bulge(), (600 - h) / 2);
    EXPECT_EQ(circle->Align(), 1);
    EXPECT_EQ(RectWidth(circle->Rect()), 600 - 2 * (h / 2));
    EXPECT_EQ(RectCenter(circle->Rect()), (TPoint{500, 300}));

    // An outline without a width gets one; the diagonal alignment becomes a feed angle.
    auto outlined = readText("  Version = 1\n  Text.Strings = (\n    'x')\n  Angle = 0\n  Outline = True\n"
                             "  DiagonalAlign = 2\n");
    ASSERT_NE(outlined, nullptr);
    EXPECT_EQ(outlined->OutLineWidth(), 1);
    EXPECT_EQ(outlined->FeedAngle(), -45);
}

TEST_F(TextObject, AutoSizeFollowsTheTextButKeepsTwoMillimetres)
{
    TDrawSite site;
    auto owned = std::make_unique<TLOCurrentText>();
    TLOCurrentText& text = *owned;
    site.InsertOwnedObject(std::move(owned));
    text.SetBoundsRect({100, 100, 2000, 2000});
    text.SetText({"ABC"});
    text.SetAutoSize(true);
    const TRect bounds = text.Engine().TextBounds({100, 100, 2000, 2000}, true);
    EXPECT_EQ(text.Rect().Left, 100);
    EXPECT_EQ(RectWidth(text.Rect()), RectWidth(bounds));
    EXPECT_EQ(RectHeight(text.Rect()), text.LineHeight());

    // A tiny font still leaves a 20 x 20 rectangle.
    text.Font().SetSize(1);
    EXPECT_GE(RectWidth(text.Rect()), TLOText::kMinimumSide);
    EXPECT_EQ(RectHeight(text.Rect()), TLOText::kMinimumSide);
}

TEST_F(TextObject, VerticalSwitchTurnsTheRectangleAboutItsCentre)
{
    TLOCurrentText text;
    text.SetBoundsRect({0, 0, 400, 100});
    text.SetVertical(true);
    EXPECT_EQ(text.Rect(), (TRect{150, -150, 250, 250}));
}

TEST_F(TextObject, DateShowsItsFormattedDate)
{
    TLODate date;
    date.SetFormat(R"(yyyy"/"m"/"d)");
    date.SetDate(DaysFromDateTime(QDateTime(QDate(2006, 1, 5), QTime(0, 0))));
    EXPECT_EQ(date.Text(), std::vector<std::string>{"2006/1/5"});
    date.SetFormat(R"x(ggge"年"m"月"d"日("aaa")")x");
    EXPECT_EQ(date.Text(), std::vector<std::string>{"平成18年1月5日(木)"});
}

// Share of dark pixels in a device rectangle.
double darkShare(TBitmap& bitmap, const TRect& r)
{
    int dark = 0, all = 0;
    for (int32_t y = r.Top; y < r.Bottom; ++y)
        for (int32_t x = r.Left; x < r.Right; ++x, ++all)
            dark += (bitmap.GetPixelColor(x, y) & 0xFF) < 128;
    return all ? double(dark) / all : 0;
}

TEST_F(TextObject, PaintsPlainRotatedAndVerticalGlyphsWhereTheyBelong)
{
    // One full-width character "あ" in a 100-unit em: its glyph box is inset
    // by a tenth of the em; painted 1:1 on a 400 x 400 bitmap.
    struct Case {
        bool vertical;
        int32_t angle;
        TRect inkInside;   // where the box must be dark
        TRect blankArea;   // where nothing may be drawn
    };
    const Case cases[] = {
        {false, 0, {120, 130, 180, 170}, {220, 100, 400, 400}},
        {true, 0, {120, 130, 180, 170}, {0, 220, 400, 400}},
    };
    for (const Case& c : cases) {
        TLOCurrentText text;
        text.Font().SetSize(MulDiv(100, 72, 254) + 1);
        text.SetText({"あ"});
        text.SetVertical(c.vertical);
        const int32_t h = text.LineHeight();
        text.SetBoundsRect({100, 100, 100 + h, 100 + h});
        text.SetAngle(c.angle);
        TBitmap bitmap(400, 400);
        std::memset(bitmap.Bits(), 0xFF, bitmap.ByteCount());
        text.Paint(bitmap.Canvas());
        EXPECT_GT(darkShare(bitmap, c.inkInside), 0.9) << "vertical " << c.vertical;
        EXPECT_EQ(darkShare(bitmap, c.blankArea), 0) << "vertical " << c.vertical;
    }
}

TEST_F(TextObject, TurnedTextPaintsTurnedAboutItsCentre)
{
    // A centred line of half-width boxes turned a quarter: its ink now
    // stands upright around the rectangle's centre.
    TLOCurrentText text;
    text.SetText({"AAAAAAAA"});
    text.SetAlign(1);
    text.SetBoundsRect({0, 350, 800, 450});
    text.SetAngle(90);
    TBitmap bitmap(800, 800);
    std::memset(bitmap.Bits(), 0xFF, bitmap.ByteCount());
    text.Paint(bitmap.Canvas());
    const TRect ink = text.Engine().TextBounds(text.Rect());
    const int32_t half = RectWidth(ink) / 2;
    // Upright band through the centre: some ink; the far ends of the
    // unturned line: none.
    EXPECT_GT(darkShare(bitmap, {380, 400 - half + 10, 420, 400 + half - 10}), 0.2);
    EXPECT_EQ(darkShare(bitmap, {0, 350, 200, 450}), 0);
    EXPECT_EQ(darkShare(bitmap, {600, 350, 800, 450}), 0);
}

}  // namespace
}  // namespace orvella

namespace orvella {
namespace {

TEST_F(TextObject, DistortedOutlineFollowsThePattern)
{
    TLOCurrentText text;
    text.SetText({"WWWW"});
    text.SetBoundsRect({0, 0, 1000, 400});
    const TRect plain = text.DistortedOutline().Bounds();
    // The top edge bends up by a quarter of the height in its middle.
    TCoonsDistortion& pattern = text.CoonsDistortion();
    pattern.SetIdentityPattern();
    pattern.SetEdgeCount(TCoonsDistortion::ceTop, 3);
    pattern.SetPoint(TCoonsDistortion::ceTop, 0, {0, 0});
    pattern.SetPoint(TCoonsDistortion::ceTop, 1, {0.5L, -0.25L});
    pattern.SetPoint(TCoonsDistortion::ceTop, 2, {1, 0});
    text.PatternChanged();
    ASSERT_TRUE(text.IsDistorted());
    const TRect warped = text.DistortedOutline().Bounds();
    // Spread over the whole rectangle, and rising above it in the middle.
    EXPECT_NEAR(warped.Left, 0, 5);
    EXPECT_NEAR(warped.Right, 1000, 5);
    EXPECT_LT(warped.Top, -50) << "plain outline top " << plain.Top;
    EXPECT_LE(warped.Bottom, 400);
    EXPECT_GT(warped.Bottom, plain.Bottom - 5);
    text.SetDistortionRatio(0);
    EXPECT_NEAR(text.DistortedOutline().Bounds().Top, 0, 5) << "no strength, no bend";
}

}  // namespace
}  // namespace orvella

namespace orvella {
namespace {

TEST_F(TextObject, BulgedTextPaintsAlongItsArc)
{
    for (const int32_t bulge : {250, -250}) {
        TLOCurrentText text;
        text.SetText({"ABCDEFGH"});
        text.SetAlign(1);
        text.SetBoundsRect({100, 400, 1100, 600});
        text.SetBulge(bulge);
        const TRect bounds = text.GetLogicalBounds();
        TBitmap bitmap(1200, 1200);
        std::memset(bitmap.Bits(), 0xFF, bitmap.ByteCount());
        text.Paint(bitmap.Canvas());
        // The ink lies beyond the chord on the arc's side, near its middle.
        const TRect apex = bulge > 0 ? TRect{500, 200, 700, 420} : TRect{500, 580, 700, 800};
        EXPECT_GT(darkShare(bitmap, apex), 0.02) << bulge;
        EXPECT_EQ(darkShare(bitmap, bulge > 0 ? TRect{0, 700, 1200, 1200} : TRect{0, 0, 1200, 300}), 0) << bulge;
        EXPECT_LE(bounds.Top, bulge > 0 ? 250 : 500) << bulge;
        EXPECT_GE(bounds.Bottom, bulge > 0 ? 500 : 750) << bulge;
    }
}

}  // namespace
}  // namespace orvella
