#include "graphics/encoded_images.h"
#include "graphics/gr_effector.h"
#include "graphics/image_data.h"
#include "graphics/png_codec.h"
#include "graphics/safety_bitmap.h"
#include "picture_fixtures.h"
#include "pixel_picture.h"

#include <gtest/gtest.h>

namespace orvella::test {
namespace {

// A 4 × 3 picture: red left half, lime right half, one blue pixel.
void LoadSample(TImageData& image)
{
    TBitmap pixels(4, 3, TPixelFormat::pf24bit);
    FillBitmap(pixels, [](int32_t x, int32_t y) { return x == 3 && y == 2 ? clBlue : (x < 2 ? clRed : clLime); });
    image.Picture().ForceBitmap().Assign(pixels);
}

const TBitmap& ResultBitmap(TImageData& image)
{
    TPictureEx& result = image.GetFilteredPicture();
    auto* bitmap = dynamic_cast<TSafetyBitmap*>(result.Graphic());
    if (!bitmap)
        throw std::runtime_error("the result is no bitmap");
    return bitmap->Bitmap();
}

TEST(ImageData, NoFiltersGiveTheSourceItself)
{
    TImageData image;
    LoadSample(image);
    const TBitmap& result = ResultBitmap(image);
    EXPECT_EQ(FirstDifference(static_cast<TSafetyBitmap*>(image.Picture().Graphic())->Bitmap(), result), "");
    EXPECT_EQ(image.ClipFilter().ClipRect(), (TRect{0, 0, 4, 3}));
}

TEST(ImageData, ClipOutsideThePictureShowsWhiteOrTheTransparentColour)
{
    TImageData image;
    LoadSample(image);
    image.ClipFilter().SetClipRect({2, 1, 6, 3});
    EXPECT_EQ(PixelPicture(ResultBitmap(image), BasicLegend()), "gg..\ngb..\n");

    image.SetTransparentColor(clRed);
    image.ClipFilter().SetClipRect({-1, 0, 2, 1});
    const TBitmap& keyed = ResultBitmap(image);
    EXPECT_EQ(PixelPicture(keyed, BasicLegend()), "rrr\n");
    auto* bitmap = static_cast<TSafetyBitmap*>(image.GetFilteredPicture().Graphic());
    EXPECT_TRUE(bitmap->Transparent());
    EXPECT_EQ(bitmap->TransparentColor(), clRed);
}

TEST(ImageData, ClipShowsSeeThroughPartsOfAPngOverTheTransparentColour)
{
    // Lime, then a fully see-through pixel; the clip reaches one pixel beyond.
    TBitmap pixels(2, 1, TPixelFormat::pf32bit);
    pixels.Row(0)[0] = 0, pixels.Row(0)[1] = 255, pixels.Row(0)[2] = 0, pixels.Row(0)[3] = 255;
    pixels.Row(0)[4] = 255, pixels.Row(0)[5] = 255, pixels.Row(0)[6] = 255, pixels.Row(0)[7] = 0;
    auto png = std::make_unique<TPNGImage>();
    png->LoadFromBytes(EncodePng(pixels, true));
    TImageData image;
    image.Picture().SetGraphic(std::move(png));
    image.ClipFilter().SetClipRect({0, 0, 3, 1});
    EXPECT_EQ(PixelPicture(ResultBitmap(image), BasicLegend()), "g..\n") << "no transparency: over white";
    image.SetTransparentColor(clRed);
    EXPECT_EQ(PixelPicture(ResultBitmap(image), BasicLegend()), "grr\n");
}

TEST(ImageData, FiltersRunInOrderClipBlurMonotoneLight)
{
    TImageData image;
    LoadSample(image);
    image.ClipFilter().SetClipRect({1, 0, 4, 3});
    image.BlurFilter().SetBlurCount(3);
    image.MonotoneFilter().SetRefColor(RGB(0, 0, 200));
    image.LightFilter().SetContrast(40);

    // The same steps by hand.
    TBitmap clipped(3, 3, TPixelFormat::pf24bit), blurred, toned, want;
    FillBitmap(clipped, [](int32_t x, int32_t y) { return x == 2 && y == 2 ? clBlue : (x < 1 ? clRed : clLime); });
    TGREffectBlur(clipped, blurred, 3).Execute();
    TGREffectMonoTone(blurred, toned, RGB(0, 0, 200)).Execute();
    TGREffectBrightnessContrast(toned, want, 0, 40).Execute();
    EXPECT_EQ(FirstDifference(want, ResultBitmap(image)), "");
}

TEST(ImageData, FullContrastGivesTwoLevels)
{
    TImageData image;
    TBitmap pixels(4, 1, TPixelFormat::pf24bit);
    FillBitmap(pixels, [](int32_t x, int32_t) {
        const uint8_t v[] = {0, 127, 128, 255};
        return RGB(v[x], v[3 - x], v[x]);
    });
    image.Picture().ForceBitmap().Assign(pixels);
    image.LightFilter().SetContrast(100);
    const TBitmap& result = ResultBitmap(image);
    EXPECT_EQ(result.GetPixelColor(0, 0), RGB(0, 255, 0));
    EXPECT_EQ(result.GetPixelColor(1, 0), RGB(0, 255, 0));
    EXPECT_EQ(result.GetPixelColor(2, 0), RGB(255, 0, 255));
}

TEST(ImageData, TransparencyIsKeyedOnTheColoursBeforeTheEffects)
{
    TImageData image;
    LoadSample(image);
    image.SetTransparentColor(clLime);
    image.LightFilter().SetBrightness(-50);  // lime is no longer lime afterwards
    auto* result = static_cast<TSafetyBitmap*>(image.GetFilteredPicture().Graphic());
    ASSERT_TRUE(result->Transparent());
    TBitmap mask;
    result->RenderMask(mask);
    EXPECT_EQ(PixelPicture(mask, BasicLegend()), "##..\n##..\n##.#\n");
}

TEST(ImageData, ResultIsCachedUntilSomethingChanges)
{
    TImageData image;
    LoadSample(image);
    int changes = 0;
    TListener listener([&](TPersistent*, const TGuid& kind) { changes += kind == ObjectChanged; });
    image.Notifier().Subscribe(listener);
    TGraphic* first = image.GetFilteredPicture().Graphic();
    EXPECT_EQ(image.GetFilteredPicture().Graphic(), first);

    image.BlurFilter().SetBlurCount(0);  // no real change
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(image.GetFilteredPicture().Graphic(), first);

    image.BlurFilter().SetBlurCount(1);
    EXPECT_EQ(changes, 1);
    EXPECT_NE(ResultBitmap(image).GetPixelColor(1, 0), clRed);
    image.SetTransparentColor(clRed);
    EXPECT_EQ(changes, 2);
}

TEST(ImageData, NewPictureSizeResetsTheClipAndIsAnnounced)
{
    TImageData image;
    LoadSample(image);
    image.ClipFilter().SetClipRect({1, 1, 2, 2});
    std::vector<TGuid> kinds;
    TListener listener([&](TPersistent*, const TGuid& kind) { kinds.push_back(kind); });
    image.Notifier().Subscribe(listener);
    TBitmap larger(10, 8, TPixelFormat::pf24bit);
    image.Picture().ForceBitmap().Assign(larger);
    EXPECT_EQ(image.ClipFilter().ClipRect(), (TRect{0, 0, 10, 8}));
    EXPECT_TRUE(kinds == (std::vector<TGuid>{PictureSizeChanged, PictureChanged, ObjectChanged}));

    // Only one dimension differing keeps the clip.
    image.ClipFilter().SetClipRect({1, 1, 2, 2});
    TBitmap taller(10, 9, TPixelFormat::pf24bit);
    image.Picture().ForceBitmap().Assign(taller);
    EXPECT_EQ(image.ClipFilter().ClipRect(), (TRect{1, 1, 2, 2}));
}

TEST(ImageData, ResetClipFitsTheAspectCentred)
{
    TImageData image;
    image.Picture().ForceBitmap().Assign(TBitmap(200, 100, TPixelFormat::pf24bit));
    struct Case {
        int32_t width, height;
        TRect want;
    };
    for (const Case& c : {Case{0, 0, {0, 0, 200, 100}}, Case{1, 1, {50, 0, 150, 100}}, Case{4, 1, {0, 25, 200, 75}},
                          Case{2, 1, {0, 0, 200, 100}}}) {
        image.ResetClip(c.width, c.height);
        EXPECT_EQ(image.ClipFilter().ClipRect(), c.want) << c.width << ':' << c.height;
    }
}

TEST(ImageData, ResetClipCentresOddSizesLikeFitRect)
{
    // 10 x 3 fitted to 1 : 1 is 3 wide: 10 div 2 - 3 div 2 = 4, not (10 - 3) / 2 = 3.
    TImageData image;
    image.Picture().ForceBitmap().Assign(TBitmap(10, 3, TPixelFormat::pf24bit));
    image.ResetClip(1, 1);
    EXPECT_EQ(image.ClipFilter().ClipRect(), (TRect{4, 0, 7, 3}));
    image.Picture().ForceBitmap().Assign(TBitmap(3, 10, TPixelFormat::pf24bit));
    image.ResetClip(1, 1);
    EXPECT_EQ(image.ClipFilter().ClipRect(), (TRect{0, 4, 3, 7}));
}

TEST(ImageData, AssignReportsOneChange)
{
    TImageData source, target;
    LoadSample(source);
    source.BlurFilter().SetBlurCount(-2);
    source.LightFilter().SetBrightness(10);
    source.MonotoneFilter().SetRefColor(clRed);
    source.SetTransparentColor(clBlue);
    int changes = 0;
    TListener listener([&](TPersistent*, const TGuid& kind) { changes += kind == ObjectChanged; });
    target.Notifier().Subscribe(listener);
    target.Assign(source);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(target.BlurFilter().BlurCount(), -2);
    EXPECT_EQ(target.MonotoneFilter().RefColor(), clRed);
    EXPECT_EQ(target.TransparentColor(), clBlue);
    EXPECT_EQ(FirstDifference(ResultBitmap(source), ResultBitmap(target)), "");
}

TEST(ImageData, HasTransparencyOnlyForBitmapPngAndJpeg)
{
    TImageData image;
    image.SetTransparentColor(clWhite);
    EXPECT_FALSE(image.HasTransparency());  // empty
    LoadSample(image);
    EXPECT_TRUE(image.HasTransparency());
    image.SetTransparentColor(clNone);
    EXPECT_FALSE(image.HasTransparency());
}

}  // namespace
}  // namespace orvella::test
