// Colour fills: defaults and what is stored (read back by Free
// Pascal's own stream reader), the older direction model, change reports,
// and the fills on pixels and recorded calls.

#include "graphics/color_fill.h"

#include "formats/class_registry.h"
#include "formats/component_stream.h"
#include "graphics/bitmap.h"
#include "graphics/bmp_codec.h"
#include "graphics/canvas.h"
#include "graphics/recording_canvas.h"
#include "graphics/safety_bitmap.h"
#include "support/oracle.h"
#include "support/thrown.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace orvella {
namespace {

std::string withoutSpaces(std::string text)
{
    text.erase(std::remove_if(text.begin(), text.end(), [](char c) { return c == ' ' || c == '\n' || c == '\r'; }),
               text.end());
    return text;
}

class ColorSpecStream : public ::testing::Test {
protected:
    void SetUp() override { RegisterClass(TColorSpecWrapper::StaticClassInfo()); }
};

TEST_F(ColorSpecStream, NewSpecIsSolidBlackAndStoresNothing)
{
    ORVELLA_REQUIRE_ORACLES();
    TColorSpecWrapper wrapper;
    TColorSpec& colorFill = wrapper.ColorSpec();
    EXPECT_EQ(colorFill.Kind(), TColorSpecKind::cskSolid);
    EXPECT_EQ(colorFill.Color(), clBlack);
    EXPECT_EQ(colorFill.GradAngle(), 270);
    EXPECT_EQ(colorFill.GradColors().Colors(), (std::vector<TColor>{0xFFFFFF, 0}));

    const std::string text = test::FpcToText(WriteComponent(wrapper));
    EXPECT_EQ(text, "object TColorSpecWrapper\nend\n");
    EXPECT_EQ(text.find("Colors"), std::string::npos) << text;
    EXPECT_EQ(text.find("GradAngle"), std::string::npos) << text;
    EXPECT_EQ(text.find("Kind"), std::string::npos) << text;
}

TEST_F(ColorSpecStream, GradientRoundTripsThroughFreePascal)
{
    ORVELLA_REQUIRE_ORACLES();
    TColorSpecWrapper wrapper;
    TColorSpec& colorFill = wrapper.ColorSpec();
    colorFill.SetKind(TColorSpecKind::cskGradation);
    colorFill.SetGradKind(TGradKind::rgkConeClockwise);
    colorFill.SetGradAngle(45);
    colorFill.GradColors().SetColors({clRed, clBlue});
    colorFill.GradColors().SetRepeatCount(2);

    const std::string text = test::FpcToText(WriteComponent(wrapper));
    const std::string compact = withoutSpaces(text);
    EXPECT_NE(compact.find("ColorSpec.Kind=cskGradation"), std::string::npos) << text;
    EXPECT_NE(compact.find("ColorSpec.GradAngle=45"), std::string::npos) << text;
    EXPECT_NE(compact.find("ColorSpec.GradKind=rgkConeClockwise"), std::string::npos) << text;
    EXPECT_NE(compact.find("ColorSpec.GradColors.RepeatCount=2"), std::string::npos) << text;
    EXPECT_NE(compact.find("ColorSpec.GradColors.Colors={02000000FF0000000000FF00}"), std::string::npos) << text;

    TColorSpecWrapper back;
    ReadComponent(test::FpcToBinary(text), back);
    EXPECT_EQ(back.ColorSpec().Kind(), TColorSpecKind::cskGradation);
    EXPECT_EQ(back.ColorSpec().GradKind(), TGradKind::rgkConeClockwise);
    EXPECT_EQ(back.ColorSpec().GradAngle(), 45);
    EXPECT_EQ(back.ColorSpec().GradColors().ExpandColors(), (std::vector<TColor>{clRed, clBlue, clRed, clBlue}));
}

TEST_F(ColorSpecStream, OlderDirectionModelIsReadIntoKindAndAngle)
{
    ORVELLA_REQUIRE_ORACLES();
    const std::string text = "object TColorSpecWrapper\n"
                             "  ColorSpec.Kind = cskGradation\n"
                             "  ColorSpec.GradDir = rgdRimToCenter\n"
                             "  ColorSpec.GradColNum = 3\n"
                             "  ColorSpec.GradColor0 = clRed\n"
                             "  ColorSpec.GradColor5 = clLime\n"
                             "end\n";
    TColorSpecWrapper wrapper;
    ReadComponent(test::FpcToBinary(text), wrapper);
    const TColorSpec& colorFill = wrapper.ColorSpec();
    EXPECT_EQ(colorFill.GradKind(), TGradKind::rgkBoxToCenter);
    EXPECT_EQ(colorFill.GradAngle(), 0);
    EXPECT_EQ(colorFill.GradColors().Colors(), (std::vector<TColor>{clRed, clBlack, clBlack}))
        << "the new stops are black and GradColor5 lies beyond the count";
}

TEST_F(ColorSpecStream, AStoredBitmapIsReadAsThePicture)
{
    // Writers of older documents stored the picture as the "Bitmap" property:
    // its data entry is the 32-bit size and a bitmap file.
    ORVELLA_REQUIRE_ORACLES();
    TBitmap pixels(3, 2, TPixelFormat::pf24bit);
    pixels.Row(1)[0] = 0xFF;
    const std::string file = WriteBmp(pixels);
    std::string hex;
    for (char byte : std::string({char(file.size()), 0, 0, 0}) + file) {
        static const char digits[] = "0123456789ABCDEF";
        hex += digits[uint8_t(byte) >> 4];
        hex += digits[uint8_t(byte) & 15];
    }
    const std::string text = "object TColorSpecWrapper\n"
                             "  ColorSpec.Style = bsCross\n"
                             "  ColorSpec.Bitmap.Data = {" + hex + "}\n"
                             "  ColorSpec.Kind = cskBitmap\n"
                             "end\n";
    TColorSpecWrapper wrapper;
    ReadComponent(test::FpcToBinary(text), wrapper);
    const TColorSpec& colorFill = wrapper.ColorSpec();
    EXPECT_EQ(colorFill.Style(), TBrushStyle::bsCross);
    EXPECT_EQ(colorFill.Kind(), TColorSpecKind::cskBitmap);
    ASSERT_FALSE(colorFill.ImageData().Picture().Empty());
    EXPECT_EQ(colorFill.ImageData().Picture().Width(), 3);
    EXPECT_EQ(colorFill.ImageData().Picture().Height(), 2);
    // The picture is stored as the image data; the bitmap never is.
    const std::string back = withoutSpaces(test::FpcToText(WriteComponent(wrapper)));
    EXPECT_EQ(back.find("ColorSpec.Bitmap"), std::string::npos) << back;
    EXPECT_NE(back.find("ColorSpec.ImageData.Picture.Data"), std::string::npos) << back;
}

TEST_F(ColorSpecStream, HostileColourCountIsRefused)
{
    TColorSpecWrapper wrapper;
    wrapper.ColorSpec().GradColors().SetColors({clRed, clBlue, clLime});
    std::string bytes = WriteComponent(wrapper);
    // The count in front of the three stops claims a million.
    const std::string stored("\x03\x00\x00\x00", 4);
    const std::size_t at = bytes.find(stored);
    ASSERT_NE(at, std::string::npos);
    bytes.replace(at, 4, std::string("\x40\x42\x0F\x00", 4));
    TColorSpecWrapper back;
    EXPECT_EQ(test::Thrown([&] { ReadComponent(bytes, back); }),
              "orvella::EPropertyReadError: TColorSpecWrapper.ColorSpec.GradColors.Colors の読み込み中のエラー : "
              "ストリームからの読み込みエラー");
}

struct DirCase {
    TGradKind kind;
    int32_t angle;
    TGradDir want;
};

class ColorSpecGradDir : public ::testing::TestWithParam<DirCase> {};

TEST_P(ColorSpecGradDir, ReadsAsTheOlderDirection)
{
    TColorSpec colorFill;
    colorFill.SetGradKind(GetParam().kind);
    colorFill.SetGradAngle(GetParam().angle);
    EXPECT_EQ(colorFill.GradDir(), GetParam().want);
}

INSTANTIATE_TEST_SUITE_P(Table, ColorSpecGradDir, ::testing::Values(
    DirCase{TGradKind::rgkSimple, 270, TGradDir::rgdLeftToRight},
    DirCase{TGradKind::rgkSimple, 90, TGradDir::rgdRightToLeft},
    DirCase{TGradKind::rgkSimple, 0, TGradDir::rgdTopToBottom},
    DirCase{TGradKind::rgkSimple, 180, TGradDir::rgdBottomToTop},
    DirCase{TGradKind::rgkSimple, 315, TGradDir::rgdLeftTopToRightBottom},
    DirCase{TGradKind::rgkSimple, 45, TGradDir::rgdRightTopToLeftBottom},
    DirCase{TGradKind::rgkSimple, 135, TGradDir::rgdRightBottomToLeftTop},
    DirCase{TGradKind::rgkSimple, 225, TGradDir::rgdLeftBottomToRightTop},
    DirCase{TGradKind::rgkSimple, 30, TGradDir::rgdLeftToRight},
    DirCase{TGradKind::rgkBoxToRim, 30, TGradDir::rgdCenterToRim},
    DirCase{TGradKind::rgkBoxToCenter, 0, TGradDir::rgdRimToCenter},
    DirCase{TGradKind::rgkCircleToRim, 0, TGradDir::rgdLeftToRight}));

TEST(ColorSpec, SettingTheOlderDirectionIsOneChange)
{
    TColorSpec colorFill;
    int changes = 0;
    colorFill.OnChange = [&] { ++changes; };
    colorFill.SetGradDir(TGradDir::rgdRimToCenter);
    EXPECT_EQ(colorFill.GradKind(), TGradKind::rgkBoxToCenter);
    EXPECT_EQ(colorFill.GradAngle(), 0);
    EXPECT_EQ(changes, 1);
    colorFill.SetGradDir(TGradDir::rgdBottomToTop);
    EXPECT_EQ(colorFill.GradKind(), TGradKind::rgkSimple);
    EXPECT_EQ(colorFill.GradAngle(), 180);
    EXPECT_EQ(changes, 2);
}

TEST(ColorSpec, ChangesAreReportedOnceAndOnlyForRealChanges)
{
    TColorSpec colorFill;
    int changes = 0;
    colorFill.OnChange = [&] { ++changes; };
    colorFill.SetColor(clBlack);
    colorFill.SetGradAngle(270);
    EXPECT_EQ(changes, 0) << "setting the value it has is no change";

    colorFill.GradColors().SetColor(1, clRed);
    EXPECT_EQ(changes, 1) << "the stops report through their fill";
    colorFill.SetGradColor(5, clLime);
    EXPECT_EQ(changes, 1) << "a stop beyond the count is not written";

    TColorSpec source;
    source.SetKind(TColorSpecKind::cskGradation);
    source.SetColor(clBlue);
    source.SetGradKind(TGradKind::rgkCircleToRim);
    source.GradColors().SetColors({clRed, clLime, clBlue});
    colorFill.Assign(source);
    EXPECT_EQ(changes, 2) << "Assign reports one change";
    EXPECT_EQ(colorFill.GradKind(), TGradKind::rgkCircleToRim);
    EXPECT_EQ(colorFill.GradColors().Count(), 3);
}

TEST(GradationColors, ExpandsRepeatsAndRefusesOutOfRange)
{
    TGradationColors colors;
    colors.SetColors({clRed, clBlue});
    colors.SetRepeatCount(2);
    EXPECT_EQ(colors.ExpandColors(), (std::vector<TColor>{clRed, clBlue, clRed, clBlue}));
    colors.ReverseColors();
    EXPECT_EQ(colors.Colors(), (std::vector<TColor>{clBlue, clRed}));
    EXPECT_THROW(colors.Color(2), std::out_of_range);
    colors.SetCount(3);
    EXPECT_EQ(colors.Color(2), clBlack);
}

// --- fills ---

TBitmap& whiteBitmap(TBitmap& bitmap, int32_t width, int32_t height)
{
    bitmap.SetSize(width, height, TPixelFormat::pf24bit);
    bitmap.Canvas().Brush() = {clWhite, TBrushStyle::bsSolid};
    bitmap.Canvas().FillRect({0, 0, width, height});
    return bitmap;
}

TEST(ColorSpecFill, PictureKindWithoutPictureFillsSolid)
{
    TColorSpec colorFill;
    colorFill.SetColor(clRed);
    colorFill.SetKind(TColorSpecKind::cskBitmap);
    EXPECT_EQ(colorFill.Kind(), TColorSpecKind::cskSolid);
    TBitmap bitmap;
    whiteBitmap(bitmap, 8, 8);
    colorFill.Fill(bitmap.Canvas(), {2, 2, 6, 6});
    EXPECT_EQ(bitmap.GetPixelColor(3, 3), clRed);
    EXPECT_EQ(bitmap.GetPixelColor(6, 6), clWhite);
    EXPECT_EQ(bitmap.Canvas().Brush().Color, clWhite) << "the canvas's brush is restored";
}

TEST(ColorSpecFill, GradientWithoutStopsDrawsNothing)
{
    TColorSpec colorFill;
    colorFill.SetKind(TColorSpecKind::cskGradation);
    colorFill.SetGradColNum(0);
    TBitmap bitmap;
    whiteBitmap(bitmap, 16, 16);
    colorFill.Fill(bitmap.Canvas(), {0, 0, 16, 16});
    for (int32_t y = 0; y < 16; ++y)
        for (int32_t x = 0; x < 16; ++x)
            ASSERT_EQ(bitmap.GetPixelColor(x, y), clWhite);
}

TEST(ColorSpecFill, TileShiftStartsEverySecondRowHalfATileLeft)
{
    TColorSpec colorFill;
    TBitmap tile(10, 10);
    colorFill.SetBitmap(tile);
    colorFill.SetKind(TColorSpecKind::cskBitmap);
    colorFill.SetTile(true);
    colorFill.SetTileShift(true);
    TRecordingCanvas canvas;
    colorFill.Fill(canvas, {0, 0, 25, 25});
    std::vector<std::pair<int, int>> origins;
    for (const std::string& call : canvas.CallTexts())
        if (call.starts_with("StretchBlt(")) {
            int x = 0, y = 0;
            std::sscanf(call.c_str(), "StretchBlt(%d,%d", &x, &y);
            origins.emplace_back(x, y);
        }
    EXPECT_EQ(origins, (std::vector<std::pair<int, int>>{
                           {0, 0}, {10, 0}, {20, 0}, {-5, 10}, {5, 10}, {15, 10}, {0, 20}, {10, 20}, {20, 20}}));
}

TEST(ColorSpecFill, PrintingResamplesTheGradientSmoothly)
{
    TColorSpec colorFill;
    colorFill.SetKind(TColorSpecKind::cskGradation);
    const auto distinctColours = [&](TCanvas& canvas, TBitmap& bitmap) {
        colorFill.Fill(canvas, {0, 0, 512, 4});
        std::set<TColor> colours;
        for (int32_t x = 0; x < 512; ++x)
            colours.insert(bitmap.GetPixelColor(x, 1));
        return colours.size();
    };
    TBitmap screen;
    whiteBitmap(screen, 512, 4);
    EXPECT_LE(distinctColours(screen.Canvas(), screen), 128u) << "the screen stretches the 128-pixel map";

    TBitmap page;
    whiteBitmap(page, 512, 4);
    TRecordingCanvas printer(&page, 600, TDeviceTechnology::RasterPrinter);
    EXPECT_GT(distinctColours(printer, page), 200u);
}

TEST(ColorSpecFill, PreviewShowsACheckerBoardUnderAClearFill)
{
    TColorSpec colorFill;
    colorFill.SetStyle(TBrushStyle::bsClear);
    TBitmap bitmap;
    whiteBitmap(bitmap, 32, 32);
    colorFill.DrawPreview(bitmap.Canvas(), {0, 0, 32, 32});
    EXPECT_EQ(bitmap.GetPixelColor(0, 0), TColor(8421504));
    EXPECT_EQ(bitmap.GetPixelColor(8, 0), clWhite);
    EXPECT_EQ(bitmap.GetPixelColor(0, 8), clWhite);
    EXPECT_EQ(bitmap.GetPixelColor(8, 8), TColor(8421504));
}

}  // namespace
}  // namespace orvella
