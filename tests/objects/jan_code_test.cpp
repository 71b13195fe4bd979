#include "formats/component_stream.h"
#include "graphics/bitmap.h"
#include "graphics/canvas.h"
#include "objects/jan_code.h"
#include "objects/lo_jan_code.h"
#include "objects/object_classes.h"
#include "platform/win_math.h"

#include "code_readers.h"
#include "support/oracle.h"

#include <gtest/gtest.h>

#include <string>

namespace orvella {
namespace {

TEST(JANCheckDigit, FollowsTheWeightsThreeAndOne)
{
    const std::pair<const char*, int> cases[] = {
        {"490123456789", 4}, {"4901234567894", 4}, {"4901234567890", 4}, {"49012345678941", 4},
        {"4901234", 7},      {"49012347", 7},      {"49012340", 7},      {"000000000000", 0},
        {"123456", -1},      {"490123456", -1},    {"49012345678", -1},  {"", -1},
    };
    for (auto [code, digit] : cases)
        EXPECT_EQ(JANCheckDigit(code), digit) << code;
}

TEST(JANCheckDigit, ValidityAndCompletion)
{
    EXPECT_TRUE(IsValidJANCode("4901234567894"));
    EXPECT_TRUE(IsValidJANCode("49012347"));
    EXPECT_FALSE(IsValidJANCode("4901234567890"));
    EXPECT_FALSE(IsValidJANCode("490123456789"));
    EXPECT_FALSE(IsValidJANCode("49012347 "));
    // A letter may not pass for a digit whose check digit happens to fit.
    EXPECT_FALSE(IsValidJANCode("A9012347"));

    EXPECT_EQ(CompleteJANCode("490123456789"), "4901234567894");
    EXPECT_EQ(CompleteJANCode("4901234567890"), "4901234567894");
    EXPECT_EQ(CompleteJANCode("4901234"), "49012347");
    EXPECT_EQ(CompleteJANCode("49012341"), "49012347");
    EXPECT_EQ(CompleteJANCode("4901234567"), "");
    EXPECT_EQ(CompleteJANCode("49012345678945"), "");
}

// The modules zint draws for the code, as '1' and '0'. zint is given the
// data digits and adds the check digit itself.
std::string zintModules(const std::string& code, std::size_t modules)
{
    const test::ToolRun run =
        test::RunProgram("/usr/bin/zint", {"--dump", "-b", "EANX", "-d", code.substr(0, code.size() - 1)});
    std::string bits;
    for (char c : run.out) {
        const int value = std::isdigit(static_cast<unsigned char>(c)) ? c - '0'
                          : (c >= 'A' && c <= 'F')                    ? c - 'A' + 10
                                                                      : -1;
        if (value < 0)
            continue;
        for (int bit = 3; bit >= 0; --bit)
            bits += (value >> bit) & 1 ? '1' : '0';
    }
    return bits.substr(0, modules);
}

// The colour of every pixel column at one row, as modules: the module of x
// is the i with MulDiv(i, W, N) <= x < MulDiv(i + 1, W, N); each module must
// be one colour throughout, else "?" marks it.
std::string modulesAt(TBitmap& picture, int32_t row, int32_t width, int32_t count)
{
    std::string modules;
    for (int32_t i = 0; i < count; ++i) {
        const int32_t left = MulDiv(i, width, count);
        const int32_t right = MulDiv(i + 1, width, count);
        char colour = 0;
        for (int32_t x = left; x < right; ++x) {
            const char here = picture.GetPixelColor(x, row) == 0 ? '1' : '0';
            colour = colour == 0 || colour == here ? here : '?';
        }
        modules += colour;
    }
    return modules;
}

struct BarsCase {
    const char* code;
    int32_t width;  // not always a multiple of the module count
};

class JANBars : public ::testing::TestWithParam<BarsCase> {};

TEST_P(JANBars, EqualZintsModulesWithoutOverlapAtAnyWidth)
{
    ORVELLA_REQUIRE_TOOL(test::HaveZint(), "zint");
    const BarsCase& c = GetParam();
    const std::string code = c.code;
    const int32_t count = code.size() == 8 ? 81 : 109;
    const std::size_t symbolModules = code.size() == 8 ? 67 : 95;
    TBitmap picture(c.width, 60);
    DrawJANCode(picture.Canvas(), code, {0, 0, c.width, 60}, false, false, 0);
    const std::string quiet(7, '0');
    const std::string want = quiet + zintModules(code, symbolModules) + quiet;
    EXPECT_EQ(modulesAt(picture, 0, c.width, count), want);
    EXPECT_EQ(modulesAt(picture, 59, c.width, count), want) << "all bars run the full height";
}

INSTANTIATE_TEST_SUITE_P(Table, JANBars,
                         ::testing::Values(BarsCase{"4901234567894", 109 * 3}, BarsCase{"4901234567894", 250},
                                           BarsCase{"4901234567894", 400}, BarsCase{"49012347", 81 * 2},
                                           BarsCase{"49012347", 190}, BarsCase{"9784873113685", 333}));

struct DecodeCase {
    const char* code;
    int32_t angle;
};

class JANDecoders : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(JANDecoders, ReadTheDrawnSymbol)
{
    ORVELLA_REQUIRE_TOOL(test::HaveZbar(), "zbarimg (zbar-tools)");
    ORVELLA_REQUIRE_TOOL(test::HaveZxing(), "ZXingReader (zxing-cpp-tools)");
    const DecodeCase& c = GetParam();
    // Six pixels a module or more, on a white page with room to turn.
    TBitmap picture(1000, 1000);
    picture.Canvas().Brush().Color = clWhite;
    picture.Canvas().FillRect({0, 0, 1000, 1000});
    picture.Canvas().Font().Height = -24;
    const TRect rect{150, 375, 850, 625};
    DrawJANCode(picture.Canvas(), c.code, rect, false, true, c.angle);
    test::TempDir dir;
    ASSERT_TRUE(picture.SaveToPng(dir.File("jan.png")));
    if (c.angle % 90 != 0) {
        // Both readers scan along rows and columns only, and staircase edges
        // of diagonal bars defeat them; ImageMagick turns the picture back.
        ORVELLA_REQUIRE_TOOL(test::HaveImageMagick(), "ImageMagick");
        const test::ToolRun turn = test::RunProgram(
            "/usr/bin/convert", {dir.File("jan.png"), "-background", "white", "-rotate", std::to_string(-c.angle),
                                 "+repage", "-threshold", "60%", dir.File("jan.png")});
        ASSERT_EQ(turn.status, 0) << turn.err;
    }
    std::string zbar = test::ZbarDecode(dir.File("jan.png"));
    while (!zbar.empty() && zbar.back() == '\n')
        zbar.pop_back();
    EXPECT_EQ(zbar, c.code) << "angle " << c.angle;
    EXPECT_EQ(test::ZxingDecode(dir.File("jan.png")), c.code) << "angle " << c.angle;
}

INSTANTIATE_TEST_SUITE_P(Table, JANDecoders,
                         ::testing::Values(DecodeCase{"4901234567894", 0}, DecodeCase{"4901234567894", 90},
                                           DecodeCase{"4901234567894", 45}, DecodeCase{"49012347", 0},
                                           DecodeCase{"49012347", 90}, DecodeCase{"49012347", 45},
                                           DecodeCase{"9784873113685", 270}));

TEST(JANDrawing, DigitsShortenDataBarsMoreThanGuardsAndEAN13AloneHasALeadingDigit)
{
    for (const std::string code : {"4901234567894", "49012347"}) {
        const int32_t count = code.size() == 8 ? 81 : 109;
        const int32_t width = count * 4;
        TBitmap picture(width, 200);
        picture.Canvas().Font().Height = -30;
        const int32_t digitHeight = picture.Canvas().TextHeight("0");
        DrawJANCode(picture.Canvas(), code, {0, 0, width, 200}, false, true, 0);
        // Module 7 starts the left guard, module 10 starts the first digit
        // (whose first bar is a few modules on). A bar runs down from the top.
        auto lowestDark = [&](int32_t module) {
            const int32_t x = MulDiv(module, width, count) + 1;
            int32_t lowest = -1;
            while (lowest + 1 < 200 && picture.GetPixelColor(x, lowest + 1) == 0)
                ++lowest;
            return lowest;
        };
        EXPECT_EQ(lowestDark(7), 200 - (digitHeight / 2 + 2) - 1) << code;
        int32_t dataBottom = -1;
        for (int32_t module = 10; module < 17; ++module)
            dataBottom = std::max(dataBottom, lowestDark(module));
        EXPECT_EQ(dataBottom, 200 - (digitHeight + 2) - 1) << code;

        bool leading = false;
        for (int32_t x = 0; x < MulDiv(7, width, count); ++x)
            for (int32_t y = 0; y < 200; ++y)
                leading = leading || picture.GetPixelColor(x, y) != clWhite;
        EXPECT_EQ(leading, code.size() == 13) << code;
    }
}

TEST(JANDrawing, FrameIsThreeUnitsWideAndBarsKeepTenUnitsAway)
{
    TBitmap picture(400, 120);
    picture.Canvas().Brush().Color = 0x00FF00;
    picture.Canvas().FillRect({0, 0, 400, 120});
    DrawJANCode(picture.Canvas(), "4901234567894", {0, 0, 400, 120}, true, false, 0);
    for (int32_t y : {0, 2, 117, 119})
        EXPECT_EQ(picture.GetPixelColor(200, y), clBlack) << y;
    EXPECT_EQ(picture.GetPixelColor(200, 3), clWhite);
    EXPECT_EQ(picture.GetPixelColor(2, 60), clBlack);
    EXPECT_EQ(picture.GetPixelColor(3, 60), clWhite);
    // The guard's first bar is module 7 of 109 over the inner 380 units.
    const int32_t guardLeft = 10 + MulDiv(7, 380, 109);
    EXPECT_EQ(picture.GetPixelColor(guardLeft - 1, 60), clWhite);
    EXPECT_EQ(picture.GetPixelColor(guardLeft, 60), clBlack);
    EXPECT_EQ(picture.GetPixelColor(guardLeft, 9), clWhite);
    EXPECT_EQ(picture.GetPixelColor(guardLeft, 10), clBlack);
    EXPECT_EQ(picture.GetPixelColor(guardLeft, 109), clBlack);
    EXPECT_EQ(picture.GetPixelColor(guardLeft, 110), clWhite);
}

TEST(JANDrawing, CodesWithoutASymbolDrawNothingAtAll)
{
    for (const char* code : {"", "490123456789", "49012347a", "49012A47", "490123456789X"}) {
        TBitmap picture(300, 100);
        picture.Canvas().Brush().Color = 0x00FF00;
        picture.Canvas().FillRect({0, 0, 300, 100});
        DrawJANCode(picture.Canvas(), code, {0, 0, 300, 100}, true, true, 0);
        for (int32_t x = 0; x < 300; x += 7)
            EXPECT_EQ(picture.GetPixelColor(x, 50), TColor(0x00FF00)) << code;
    }
}

class JANObject : public ::testing::Test {
protected:
    void SetUp() override { RegisterObjectClasses(); }
};

TEST_F(JANObject, NewObjectAndItsCapabilities)
{
    TLOJANCode object;
    EXPECT_EQ(object.Rect(), (TRect{0, 0, 300, 100}));
    EXPECT_TRUE(object.ShowNumber());
    EXPECT_FALSE(object.ShowFrame());
    EXPECT_EQ(object.GetAngle(), 0);
    EXPECT_EQ(object.JANCode(), "");

    int changes = 0;
    object.OnModify = [&](TDrawObject&) { ++changes; };
    TColorSpec red;
    red.SetColor(0x0000FF);
    auto* colour = static_cast<IDOColorSpec*>(object.QueryInterface(IDOColorSpec::IID));
    ASSERT_NE(colour, nullptr);
    colour->SetColorSpec(red);
    EXPECT_EQ(object.Font().Color(), TColor(0x0000FF));
    EXPECT_EQ(colour->GetColorSpec().Color(), TColor(0x0000FF));
    colour->Release();
    EXPECT_EQ(changes, 1);

    auto* font = static_cast<IDOFont*>(object.QueryInterface(IDOFont::IID));
    ASSERT_NE(font, nullptr);
    TFont bigger = font->GetFont();
    bigger.SetSize(36);
    font->SetFont(bigger);
    EXPECT_EQ(object.Font().Size(), 36);
    font->Release();

    object.SetJANCode("49012347");
    object.SetJANCode("49012347");
    EXPECT_EQ(changes, 3);
}

TEST_F(JANObject, AQuarterTurnTurnsBoundsHitsAndTheSymbol)
{
    TLOJANCode object;
    object.SetBoundsRect({100, 100, 400, 200});
    object.SetAngle(90);
    EXPECT_EQ(object.GetLogicalBounds(), (TRect{201, 0, 301, 300}));
    EXPECT_TRUE(object.HitTest({250, 20}));
    EXPECT_FALSE(object.HitTest({120, 150}));

    ORVELLA_REQUIRE_TOOL(test::HaveZbar(), "zbarimg (zbar-tools)");
    object.SetJANCode("4901234567894");
    object.Font().SetSize(8);
    TBitmap picture(500, 400);
    picture.Canvas().Brush().Color = clWhite;
    picture.Canvas().FillRect({0, 0, 500, 400});
    object.Paint(picture.Canvas());
    // The first bar of the left guard, turned: a horizontal bar near the top.
    const int32_t guardRow = 0 + MulDiv(7, 300, 109);
    EXPECT_EQ(picture.GetPixelColor(280, guardRow + 1), clBlack);
    EXPECT_EQ(picture.GetPixelColor(280, guardRow - 2), clWhite);
    test::TempDir dir;
    ASSERT_TRUE(picture.SaveToPng(dir.File("jan.png")));
    std::string zbar = test::ZbarDecode(dir.File("jan.png"));
    while (!zbar.empty() && zbar.back() == '\n')
        zbar.pop_back();
    EXPECT_EQ(zbar, "4901234567894");
}

TEST_F(JANObject, StoredFormReadsAndWritesThroughFreePascal)
{
    ORVELLA_REQUIRE_ORACLES();
    TLOJANCode object;
    object.SetBoundsRect({10, 20, 310, 120});
    object.SetAngle(90);
    object.SetJANCode("4901234567894");
    object.Font().SetName("IPAGothic");
    object.Font().SetSize(9);
    object.SetShowFrame(true);
    const std::string bytes = WriteComponent(object);
    const std::string text = test::FpcToText(bytes);
    EXPECT_EQ(text,
              "object TLOJANCode\n"
              "  Left = 10\n"
              "  Top = 20\n"
              "  Width = 300\n"
              "  Height = 100\n"
              "  Border = False\n"
              "  LayerGroup = 0\n"
              "  DontPrint = False\n"
              "  Angle = 90\n"
              "  JANCode = '4901234567894'\n"
              "  Font.Charset = SHIFTJIS_CHARSET\n"
              "  Font.Color = clBlack\n"
              "  Font.Name = 'IPAGothic'\n"
              "  Font.Size = 9\n"
              "  Font.Style = []\n"
              "  ShowFrame = True\n"
              "end\n");
    EXPECT_EQ(test::FpcToBinary(text), bytes) << "Free Pascal writes the same bytes back";

    TLOJANCode back;
    ReadComponent(test::FpcToBinary(text), back);
    EXPECT_EQ(WriteComponent(back), bytes);
    EXPECT_EQ(back.GetAngle(), 90);
    EXPECT_EQ(back.Font().Size(), 9);
    EXPECT_TRUE(back.ShowFrame());
    EXPECT_TRUE(back.ShowNumber());

    TLOJANCode copy;
    copy.Assign(back);
    EXPECT_EQ(WriteComponent(copy), bytes);
}

}  // namespace
}  // namespace orvella
