#include "graphics/bmp_codec.h"
#include "graphics/gr_effector.h"
#include "graphics/png_codec.h"
#include "graphics/safety_bitmap.h"
#include "picture_fixtures.h"
#include "support/oracle.h"
#include "platform/zlib_container.h"
#include "support/tool_runner.h"

#include <gtest/gtest.h>

namespace orvella::test {
namespace {

class ImageCommand : public ::testing::Test {
protected:
    void SetUp() override
    {
        source_.SetSize(21, 13, TPixelFormat::pf24bit);
        FillPattern(source_);
        WriteFile(dir_.File("in.bmp"), WriteBmp(source_));
    }
    std::unique_ptr<TBitmap> Read(const std::string& name)
    {
        const auto graphic = ReadGraphicFile(dir_.File(name));
        auto pixels = std::make_unique<TBitmap>();
        graphic->RenderTo24(*pixels);
        return pixels;
    }
    TempDir dir_;
    TBitmap source_;
};

TEST_F(ImageCommand, ConvertsThroughEveryWrittenKind)
{
    ORVELLA_REQUIRE_TOOL(::orvella::test::HaveImageMagick(), "ImageMagick");
    // BMP → CBM → PNG → BMP keeps every pixel; the CBM is a container of a BMP.
    ASSERT_EQ(RunTool({"image", "convert", dir_.File("in.bmp"), dir_.File("a.cbm")}).status, 0);
    const std::string cbm = ReadFile(dir_.File("a.cbm"));
    ASSERT_TRUE(IsZlibContainer(cbm));
    EXPECT_EQ(DecompressContainer(cbm), ReadFile(dir_.File("in.bmp")));
    ASSERT_EQ(RunTool({"image", "convert", dir_.File("a.cbm"), dir_.File("b.png")}).status, 0);
    ASSERT_EQ(RunTool({"image", "convert", dir_.File("b.png"), dir_.File("c.bmp")}).status, 0);
    EXPECT_EQ(FirstDifference(source_, *Read("c.bmp")), "");
    // ImageMagick agrees about the PNG we wrote.
    EXPECT_EQ(MagickDifference(dir_.File("in.bmp"), dir_.File("b.png")), 0);

    // A JPEG we wrote and read back looks to ImageMagick like the JPEG.
    ASSERT_EQ(RunTool({"image", "convert", dir_.File("b.png"), dir_.File("d.jpg")}).status, 0);
    ASSERT_EQ(RunTool({"image", "convert", dir_.File("d.jpg"), dir_.File("e.png")}).status, 0);
    EXPECT_EQ(MagickDifference(dir_.File("d.jpg"), dir_.File("e.png"), 2), 0);
}

TEST_F(ImageCommand, FilterAppliesTheChain)
{
    const ToolRun run = RunTool({"image", "filter", dir_.File("in.bmp"), dir_.File("out.png"), "--blur", "2",
                                 "--monotone", "#FF0000", "--brightness", "10", "--contrast", "-20"});
    ASSERT_EQ(run.status, 0) << run.err;
    TBitmap blurred, toned, want;
    TGREffectBlur(source_, blurred, 2).Execute();
    TGREffectMonoTone(blurred, toned, clRed).Execute();
    TGREffectBrightnessContrast(toned, want, 10, -20).Execute();
    EXPECT_EQ(FirstDifference(want, *Read("out.png")), "");
}

TEST_F(ImageCommand, ResizeAndRotateChangeTheSize)
{
    ASSERT_EQ(RunTool({"image", "filter", dir_.File("in.bmp"), dir_.File("r.bmp"), "--resize", "40x26"}).status, 0);
    const auto resized = Read("r.bmp");
    EXPECT_EQ(resized->Width(), 40);
    EXPECT_EQ(resized->Height(), 26);
    ASSERT_EQ(RunTool({"image", "filter", dir_.File("in.bmp"), dir_.File("t.bmp"), "--rotate", "90"}).status, 0);
    const auto turned = Read("t.bmp");
    EXPECT_EQ(turned->Width(), 13);
    EXPECT_EQ(turned->Height(), 21);
}

TEST_F(ImageCommand, BadInputAndUsageFailClearly)
{
    WriteFile(dir_.File("bad.bmp"), "BM this is no bitmap");
    const ToolRun bad = RunTool({"image", "convert", dir_.File("bad.bmp"), dir_.File("x.png")});
    EXPECT_EQ(bad.status, 1);
    EXPECT_NE(bad.err.find("ビットマップ"), std::string::npos) << bad.err;

    EXPECT_EQ(RunTool({"image", "convert", dir_.File("in.bmp"), dir_.File("x.tiff")}).status, 1);
    EXPECT_EQ(RunTool({"image", "filter", dir_.File("in.bmp"), dir_.File("x.png"), "--blur"}).status, 2);
    EXPECT_EQ(RunTool({"image", "filter", dir_.File("in.bmp"), dir_.File("x.png"), "--resize", "0x5"}).status, 2);
    EXPECT_EQ(RunTool({"image", "filter", dir_.File("in.bmp"), dir_.File("x.png"), "--monotone", "red"}).status, 2);
    EXPECT_EQ(RunTool({"image", "explode"}).status, 2);
}

}  // namespace
}  // namespace orvella::test
