#include "graphics/gr_effector.h"
#include "graphics/safety_bitmap.h"
#include "picture_fixtures.h"

#include <gtest/gtest.h>

namespace orvella::test {
namespace {

// A 24-bit bitmap of one colour.
struct Uniform : TBitmap {
    Uniform(int32_t width, int32_t height, TColor colour) : TBitmap(width, height, TPixelFormat::pf24bit)
    {
        FillBitmap(*this, [&](int32_t, int32_t) { return colour; });
    }
};

int Red(const TBitmap& bitmap, int32_t x, int32_t y) { return GetRValue(bitmap.GetPixelColor(x, y)); }

// The red channel of a bitmap, row by row, as numbers.
std::vector<std::vector<int>> Reds(const TBitmap& bitmap)
{
    std::vector<std::vector<int>> rows(std::size_t(bitmap.Height()));
    for (int32_t y = 0; y < bitmap.Height(); ++y)
        for (int32_t x = 0; x < bitmap.Width(); ++x)
            rows[std::size_t(y)].push_back(Red(bitmap, x, y));
    return rows;
}

TEST(BrightnessContrast, TableFollowsTheFormula)
{
    struct Case {
        int brightness, contrast;
        int j, want;
    };
    const Case cases[] = {
        {0, 0, 0, 0},      {0, 0, 200, 200},   // identity
        {0, 100, 127, 0},  {0, 100, 128, 255}, // two levels at full contrast
        {50, 0, 10, 138},  {50, 0, 200, 255},  // j + 127.5, rounded half up, limited
        {-100, 0, 255, 0}, {0, -100, 0, 128},  {0, -100, 255, 128},
        {0, 50, 64, 0},    {0, 50, 160, 193},  // (v − 0.5) / 0.5 + 0.5
        {300, 0, 0, 255},  // limited to 100 %
    };
    for (const Case& c : cases) {
        uint8_t table[256];
        BrightnessContrastTable(c.brightness, c.contrast, table);
        EXPECT_EQ(table[c.j], c.want) << c.brightness << '/' << c.contrast << " at " << c.j;
    }
}

TEST(BrightnessContrast, FullContrastGivesTwoLevelsAndKeepsTheFourthByte)
{
    TBitmap source(4, 1, TPixelFormat::pf32bit), destination;
    const uint8_t values[] = {0, 127, 128, 255};
    for (int x = 0; x < 4; ++x) {
        uint8_t* p = source.Row(0) + 4 * x;
        p[0] = p[1] = p[2] = values[x];
        p[3] = uint8_t(0x40 + x);
    }
    TGREffectBrightnessContrast(source, destination, 0, 100).Execute();
    ASSERT_EQ(destination.PixelFormat(), TPixelFormat::pf32bit);
    const uint8_t want[] = {0, 0, 255, 255};
    for (int x = 0; x < 4; ++x) {
        EXPECT_EQ(destination.Row(0)[4 * x], want[x]);
        EXPECT_EQ(destination.Row(0)[4 * x + 3], 0x40 + x);
    }
}

TEST(Monotone, RedTintKeepsBlackAndWhiteAndTintsGrey)
{
    TColor table[256];
    MonotoneTable(clRed, table);
    EXPECT_EQ(table[0], clBlack);
    EXPECT_EQ(table[255], clWhite);
    // Lightness 0.5 in red's hue is red itself (within the integer cut).
    const TColor mid = table[127];
    EXPECT_NEAR(GetRValue(mid), 254, 1);
    EXPECT_EQ(GetGValue(mid), 0);
    EXPECT_EQ(GetBValue(mid), 0);
    // Above the middle the other channels rise together.
    EXPECT_EQ(GetGValue(table[200]), GetBValue(table[200]));
    EXPECT_GT(GetGValue(table[200]), 0);
}

TEST(Monotone, GreyTintGivesAGreyRampAndPixelsGoThroughLuminance)
{
    TColor table[256];
    MonotoneTable(RGB(90, 90, 90), table);
    for (int j : {0, 77, 128, 255})
        EXPECT_EQ(table[j], RGB(uint8_t(j), uint8_t(j), uint8_t(j))) << j;

    // Pure green has luminance (150 × 255) >> 8 = 149.
    Uniform source(2, 2, clLime);
    TBitmap destination;
    TGREffectMonoTone(source, destination, RGB(90, 90, 90)).Execute();
    EXPECT_EQ(destination.GetPixelColor(1, 1), RGB(149, 149, 149));
}

TEST(BoxBlur, OnePassAveragesTheNeighbourhoodWithEdgesReplicated)
{
    // One white pixel in a corner of a black 4 × 3 picture: the corner counts
    // it four times (edge and row replicated), the edge neighbours twice.
    Uniform source(4, 3, clBlack);
    TBitmap destination;
    WritePixel(source.Row(0), 0, TPixelFormat::pf24bit, 0xFFFFFF);
    TGREffectBlur(source, destination, 1).Execute();
    const std::vector<std::vector<int>> want{{113, 57, 0, 0}, {57, 28, 0, 0}, {0, 0, 0, 0}};
    EXPECT_EQ(Reds(destination), want);
}

TEST(BoxBlur, SinglePixelAndUniformPicturesStayAsTheyAre)
{
    for (auto [width, height] : {std::pair{1, 1}, std::pair{1, 5}, std::pair{6, 1}, std::pair{5, 4}}) {
        Uniform source(width, height, RGB(1, 128, 255));
    TBitmap destination;
        TGREffectBlur(source, destination, 2).Execute();
        EXPECT_EQ(FirstDifference(source, destination), "") << width << 'x' << height;
    }
}

TEST(BoxBlur, SeveralPassesEqualRepeatedSinglePasses)
{
    TBitmap source(9, 7, TPixelFormat::pf24bit);
    FillPattern(source);
    for (int passes : {2, 3}) {
        TBitmap want, scratch, destination;
        BoxBlurPass(source, want);
        for (int i = 1; i < passes; ++i) {
            BoxBlurPass(want, scratch);
            CopyBitmap(scratch, want);
        }
        TGREffectBlur(source, destination, passes).Execute();
        EXPECT_EQ(FirstDifference(want, destination), "") << passes << " passes";
    }
}

TEST(UnsharpMask, SharpensAgainstTheBlurAndLimitsTheResult)
{
    Uniform source(5, 5, RGB(100, 100, 100));
    TBitmap destination;
    WritePixel(source.Row(2), 2, TPixelFormat::pf24bit, 0xC8C8C8);  // 200 in the middle
    TGREffectUnsharpMask(source, destination, 1.0).Execute();
    // Blurred middle: (8 × 100 + 200 + ...) → t(1000) = 111; 2 × 200 − 111 = 289 → 255.
    EXPECT_EQ(Red(destination, 2, 2), 255);
    // Neighbour: blurred t(1000) = 111, 2 × 100 − 111 = 89.
    EXPECT_EQ(Red(destination, 1, 2), 89);
    EXPECT_EQ(Red(destination, 0, 0), 100);
}

TEST(ColorChange, ReplacesOnlyExactMatches)
{
    TBitmap source(3, 1, TPixelFormat::pf24bit), destination;
    FillBitmap(source, [](int32_t x, int32_t) { return x == 1 ? RGB(10, 20, 31) : RGB(10, 20, 30); });
    TGREffectColorChange(source, destination, RGB(10, 20, 30), clBlue).Execute();
    EXPECT_EQ(destination.GetPixelColor(0, 0), clBlue);
    EXPECT_EQ(destination.GetPixelColor(1, 0), RGB(10, 20, 31));
    EXPECT_EQ(destination.GetPixelColor(2, 0), clBlue);

    // 32 bits compare the whole value: a fourth byte other than 0 does not match.
    TBitmap wide(2, 1, TPixelFormat::pf32bit), wideOut;
    FillBitmap(wide, [](int32_t, int32_t) { return RGB(10, 20, 30); });
    wide.Row(0)[7] = 1;
    TGREffectColorChange(wide, wideOut, RGB(10, 20, 30), clRed).Execute();
    EXPECT_EQ(wideOut.GetPixelColor(0, 0), clRed);
    EXPECT_EQ(wideOut.Row(0)[3], 0);
    EXPECT_EQ(wideOut.GetPixelColor(1, 0), RGB(10, 20, 30));
}

TEST(Effects, PalettePicturesAreLeftAlone)
{
    TBitmap source(3, 3, TPixelFormat::pf8bit), destination(1, 1, TPixelFormat::pf24bit);
    TGREffectBlur(source, destination, 1).Execute();
    TGREffectMonoTone(source, destination, clRed).Execute();
    EXPECT_EQ(destination.Width(), 1);
}

class CountingProgress : public TProgressReporter {
public:
    void Begin(int s) override { steps = s; }
    void Step() override { ++done; }
    void End() override { ended = true; }
    int steps = -1, done = 0;
    bool ended = false;
};

TEST(Effects, ReportProgressEverySixtyFourRows)
{
    Uniform source(2, 130, clWhite);
    TBitmap destination;
    struct Case {
        const char* name;
        std::function<std::unique_ptr<TGREffector>()> make;
        int steps, done;
    };
    const Case cases[] = {
        {"monotone", [&] { return std::make_unique<TGREffectMonoTone>(source, destination, clRed); }, 4, 2},
        {"light", [&] { return std::make_unique<TGREffectBrightnessContrast>(source, destination, 10, 0); }, 4, 2},
        {"colour", [&] { return std::make_unique<TGREffectColorChange>(source, destination, clRed, clBlue); }, 3, 2},
        {"blur1", [&] { return std::make_unique<TGREffectBlur>(source, destination, 1); }, 3, 2},
        {"blur3", [&] { return std::make_unique<TGREffectBlur>(source, destination, 3); }, 9, 6},
    };
    for (const Case& c : cases) {
        CountingProgress progress;
        auto effect = c.make();
        effect->Progress = &progress;
        effect->Execute();
        EXPECT_EQ(progress.steps, c.steps) << c.name;
        EXPECT_EQ(progress.done, c.done) << c.name;
        EXPECT_TRUE(progress.ended) << c.name;
    }
}

}  // namespace
}  // namespace orvella::test
