#include "formats/property_table.h"

#include "graphics/image_data.h"
#include "graphics/safety_bitmap.h"
#include "picture_fixtures.h"
#include "support/oracle.h"
#include "support/tool_runner.h"

#include "formats/class_registry.h"
#include "formats/component.h"
#include "formats/component_stream.h"
#include "formats/object_text.h"

#include <gtest/gtest.h>

#include <thread>

namespace orvella::test {
namespace {

// A component holding a filtered image, the way image objects publish theirs.
class TImageHolder : public TComponent {
    ORVELLA_PERSISTENT(TImageHolder)

public:
    TImageData Image;
};

const TClassInfo& TImageHolder::StaticClassInfo()
{
    static const TClassInfo info = DeclareClass<TImageHolder, TComponent>("TImageHolder", {
        ObjectProperty("Image", &TImageHolder::Image),
    });
    return info;
}

// Every filter set off its default; pixels is the picture.
void FillHolder(TImageHolder& holder, TBitmap& pixels)
{
    RegisterClass(TImageHolder::StaticClassInfo());
    holder.SetName("Holder");
    FillPattern(pixels);
    holder.Image.Picture().ForceBitmap().Assign(pixels);
    holder.Image.Picture().ImageID = "IMG7";
    holder.Image.ClipFilter().SetClipRect({1, 0, 5, 4});
    holder.Image.BlurFilter().SetBlurCount(-2);
    holder.Image.LightFilter().SetContrast(30);
    holder.Image.MonotoneFilter().SetRefColor(clRed);
    holder.Image.SetTransparentColor(clWhite);
}

TEST(ImageDataStream, StoresFiltersInOrderWithoutDefaults)
{
    TImageHolder holder;
    TBitmap pixels(6, 4, TPixelFormat::pf24bit);
    FillHolder(holder, pixels);

    const std::string bytes = WriteComponent(holder);
    const std::string text = ObjectBinaryToText(bytes);
    const char* inOrder[] = {"Image.Picture.ImageID = 'IMG7'", "Image.Picture.Data = {",
                             "Image.ClipFilter.ClipRect = (", "Image.BlurFilter.BlurCount = -2",
                             "Image.LightFilter.Contrast = 30", "Image.MonotoneFilter.RefColor = clRed",
                             "Image.TransparentColor = clWhite"};
    std::size_t at = 0;
    for (const char* line : inOrder) {
        const std::size_t found = text.find(line, at);
        ASSERT_NE(found, std::string::npos) << line << "\n" << text;
        at = found;
    }
    EXPECT_EQ(text.find("Brightness"), std::string::npos) << "a default value was stored";

}

// "Image.Picture.ImageID" is longer than 20 bytes: its length byte once
// looked like an invalid value type to the end-of-list check.
TEST(ImageDataStream, ReadsTheFiltersBackThroughLongPropertyPaths)
{
    TImageHolder holder;
    TBitmap pixels(6, 4, TPixelFormat::pf24bit);
    FillHolder(holder, pixels);
    const std::string bytes = WriteComponent(holder);

    TImageHolder back;
    ReadComponent(bytes, back);
    EXPECT_EQ(back.Image.Picture().ImageID, "IMG7");
    EXPECT_EQ(back.Image.ClipFilter().ClipRect(), (TRect{1, 0, 5, 4}));
    EXPECT_EQ(back.Image.BlurFilter().BlurCount(), -2);
    EXPECT_EQ(back.Image.LightFilter().Contrast(), 30);
    EXPECT_EQ(back.Image.MonotoneFilter().RefColor(), clRed);
    EXPECT_EQ(back.Image.TransparentColor(), clWhite);
    EXPECT_EQ(FirstDifference(pixels, static_cast<TSafetyBitmap*>(back.Image.Picture().Graphic())->Bitmap()), "");
    // The stored bitmap comes back byte for byte.
    EXPECT_EQ(WriteComponent(back), bytes);
}

TEST(PictureReaders, DecodeTheSameOnSeveralThreadsAtOnce)
{
    ORVELLA_REQUIRE_TOOL(::orvella::test::HaveImageMagick(), "ImageMagick");
    // What the background loader does: separate graphics, read concurrently.
    TempDir dir;
    const std::vector<std::string> names{"a.png", "a.jpg", "a.gif", "a.bmp"};
    for (const std::string& name : names)
        ASSERT_TRUE(Magick({"-size", "120x90", "plasma:fractal", "-seed", "7", dir.File(name)}));
    std::vector<std::string> reference;
    for (const std::string& name : names) {
        TBitmap pixels;
        ReadGraphicFile(dir.File(name))->RenderTo24(pixels);
        reference.push_back(std::string(reinterpret_cast<const char*>(pixels.Bits()), pixels.ByteCount()));
    }
    std::vector<int> mismatches(4, 0);
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&, t] {
            for (int round = 0; round < 6; ++round) {
                const std::size_t which = std::size_t(t + round) % names.size();
                TBitmap pixels;
                ReadGraphicFile(dir.File(names[which]))->RenderTo24(pixels);
                if (std::string(reinterpret_cast<const char*>(pixels.Bits()), pixels.ByteCount()) != reference[which])
                    ++mismatches[std::size_t(t)];
            }
        });
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(mismatches, std::vector<int>(4, 0));
}

}  // namespace
}  // namespace orvella::test
