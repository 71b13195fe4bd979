// Picture, background and alpha-mask objects: geometry, rendering with frame
// pictures, coverage, background painting on a disc face, the editing form
// of backgrounds, creation commands, and stored forms through Free Pascal.

#include "drawing/designer.h"
#include "drawing/do_list.h"
#include "document/ld_objects.h"
#include "formats/component_stream.h"
#include "formats/property_table.h"
#include "graphics/bitmap.h"
#include "graphics/canvas.h"
#include "graphics/safety_bitmap.h"
#include "objects/image_classes.h"
#include "objects/lo_alpha_mask.h"
#include "objects/lo_back_image.h"
#include "objects/lo_image.h"
#include "objects/object_classes.h"
#include "objects/picture_pixels.h"
#include "support/oracle.h"
#include "support/tool_runner.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <regex>
#include <sstream>

namespace orvella {
namespace {

constexpr TColor kGrey = 0x808080;
constexpr TColor kBlue = 0xFF0000;
constexpr TColor kGreen = 0x00FF00;
constexpr TColor kDark = 0x202020;

void fill(TBitmap& bitmap, TColor color)
{
    bitmap.Canvas().Brush() = TBrush{color, TBrushStyle::bsSolid};
    bitmap.Canvas().FillRect({0, 0, bitmap.Width(), bitmap.Height()});
}

void setPixel(TBitmap& bitmap, int32_t x, int32_t y, TColor color)
{
    uint8_t* p = bitmap.Row(y) + 3 * x;
    p[0] = uint8_t(color >> 16);
    p[1] = uint8_t(color >> 8);
    p[2] = uint8_t(color);
}

void setPicture(TPictureEx& picture, const TBitmap& pixels)
{
    auto graphic = std::make_unique<TSafetyBitmap>();
    graphic->Assign(pixels);
    picture.SetGraphic(std::move(graphic));
}

void solidPicture(TPictureEx& picture, int32_t width, int32_t height, TColor color)
{
    TBitmap pixels(width, height);
    fill(pixels, color);
    setPicture(picture, pixels);
}

TBitmap& coverageBitmap(TBitmap& mask, int32_t width, int32_t height)
{
    mask.SetSize(width, height, TPixelFormat::pf8bit);
    mask.SetPalette(GrayPalette());
    FillCoverage(mask, 77);
    return mask;
}

class PictureObjects : public ::testing::Test {
protected:
    static void SetUpTestSuite() { RegisterObjectClasses(); }
};

// --- picture objects ---

TEST_F(PictureObjects, AnEmptyPicturePaintsNothingAndCoversNothing)
{
    TLOImage image;
    image.SetBoundsRect({2, 2, 18, 12});
    TBitmap canvas(20, 14);
    fill(canvas, kGrey);
    image.Paint(canvas.Canvas());
    for (int32_t y = 0; y < 14; ++y)
        for (int32_t x = 0; x < 20; ++x)
            ASSERT_EQ(canvas.GetPixelColor(x, y), kGrey);
    TBitmap mask;
    image.PaintMask(coverageBitmap(mask, 20, 14));
    for (int32_t y = 0; y < 14; ++y)
        for (int32_t x = 0; x < 20; ++x)
            ASSERT_EQ(mask.Row(y)[x], 0);
    EXPECT_FALSE(image.NeedsBlend());
}

TEST_F(PictureObjects, AnUnturnedOpaquePictureCoversExactlyItsRectangle)
{
    TLOImage image;
    solidPicture(image.ImageData().Picture(), 5, 3, kBlue);
    image.SetBoundsRect({3, 2, 15, 9});
    TBitmap mask;
    image.PaintMask(coverageBitmap(mask, 20, 12));
    for (int32_t y = 0; y < 12; ++y)
        for (int32_t x = 0; x < 20; ++x) {
            const bool inside = x >= 3 && x < 15 && y >= 2 && y < 9;
            ASSERT_EQ(mask.Row(y)[x], inside ? 255 : 0) << x << "," << y;
        }
    EXPECT_FALSE(image.NeedsBlend());
    image.SetBlendRatio(60);
    EXPECT_TRUE(image.NeedsBlend());
}

TEST_F(PictureObjects, TurnedByNinetyDegreesTheBoundsSwapAroundTheSameCentre)
{
    TLOImage image;
    image.SetBoundsRect({0, 0, 200, 100});
    image.SetAngle(90);
    const TRect bounds = image.GetLogicalBounds();
    EXPECT_EQ(bounds.Right - bounds.Left, 100);
    EXPECT_EQ(bounds.Bottom - bounds.Top, 200);
    EXPECT_EQ((bounds.Left + bounds.Right) / 2, 100);
    EXPECT_EQ((bounds.Top + bounds.Bottom) / 2, 50);
    // Hit inside the turned figure only.
    EXPECT_TRUE(image.HitTest({100, 140}));
    EXPECT_FALSE(image.HitTest({20, 50}));
    // Resizing a turned picture scales each of its own sides by the change
    // of the bounds along the same axis, as the turned rectangles do.
    image.SetExtent(50, 400);
    EXPECT_EQ(image.GetWidth(), 100);
    EXPECT_EQ(image.GetHeight(), 200);
}

// A frame picture over an 8 x 4 blue picture: column 0 marks the outside,
// column 7 is the frame itself, the rest is the window.
void framedPicture(TLOImage& image, bool alphaFrame)
{
    solidPicture(image.ImageData().Picture(), 8, 4, kBlue);
    TBitmap frame(8, 4);
    fill(frame, kFrameWindowColor);
    for (int32_t y = 0; y < 4; ++y) {
        setPixel(frame, 0, y, kFrameOutsideColor);
        setPixel(frame, 7, y, kGreen);
    }
    setPicture(image.FramePicture(), frame);
    image.SetAlphaFrame(alphaFrame);
    image.SetBoundsRect({0, 0, 8, 4});
}

TEST_F(PictureObjects, FrameColoursDecideWhatShows)
{
    TLOImage image;
    framedPicture(image, false);
    TBitmap canvas(8, 4);
    fill(canvas, kGrey);
    image.Paint(canvas.Canvas());
    TBitmap mask;
    image.PaintMask(coverageBitmap(mask, 8, 4));
    struct Column {
        int32_t x;
        TColor shown;
        uint8_t coverage;
    };
    for (const Column c : {Column{0, kGrey, 0}, Column{3, kBlue, 255}, Column{7, kGreen, 255}})
        for (int32_t y = 0; y < 4; ++y) {
            EXPECT_EQ(canvas.GetPixelColor(c.x, y), c.shown) << c.x << "," << y;
            EXPECT_EQ(mask.Row(y)[c.x], c.coverage) << c.x << "," << y;
        }
    EXPECT_FALSE(image.NeedsBlend());
}

TEST_F(PictureObjects, AnAlphaFrameIsAVignetteOverTheCoverage)
{
    TLOImage image;
    solidPicture(image.ImageData().Picture(), 8, 4, kBlue);
    TBitmap frame(8, 4);
    fill(frame, 0x808080);
    setPixel(frame, 0, 0, clBlack);
    setPicture(image.FramePicture(), frame);
    image.SetAlphaFrame(true);
    image.SetBoundsRect({0, 0, 8, 4});
    EXPECT_TRUE(image.NeedsBlend());
    TBitmap mask;
    image.PaintMask(coverageBitmap(mask, 8, 4));
    EXPECT_EQ(mask.Row(0)[0], 0);
    EXPECT_EQ(mask.Row(2)[5], 0x80);
    // The frame is no overlay then: the picture shows everywhere.
    TBitmap canvas(8, 4);
    fill(canvas, kGrey);
    image.Paint(canvas.Canvas());
    EXPECT_EQ(canvas.GetPixelColor(0, 0), kBlue);
}

TEST_F(PictureObjects, TheRenderingIsKeptBetweenPaintsAndRebuiltAfterAChange)
{
    TLOImage image;
    framedPicture(image, false);
    image.SetAngle(30);
    const TBitmap* first = &image.RenderedImage();
    TBitmap canvas(20, 20);
    image.Paint(canvas.Canvas());
    image.Paint(canvas.Canvas());
    EXPECT_EQ(&image.RenderedImage(), first);
    EXPECT_TRUE(image.HasRendering());
    // Every change that shapes the picture drops it.
    const std::vector<std::function<void()>> changes{
        [&] { image.SetAngle(45); },
        [&] { image.ImageData().SetTransparentColor(kBlue); },
        [&] { image.SetBoundsRect({0, 0, 16, 4}); },
        [&] { image.SetAlphaFrame(true); },
        [&] { image.FramePicture().Clear(); },
    };
    for (std::size_t i = 0; i < changes.size(); ++i) {
        image.RenderedImage();
        ASSERT_TRUE(image.HasRendering()) << i;
        changes[i]();
        EXPECT_FALSE(image.HasRendering()) << i;
    }
}

TEST_F(PictureObjects, TurnedCornersAreSeeThrough)
{
    TLOImage image;
    solidPicture(image.ImageData().Picture(), 40, 40, kBlue);
    image.SetBoundsRect({0, 0, 40, 40});
    image.SetAngle(45);
    const TBitmap& mask = image.RenderedMask();
    ASSERT_GT(mask.Width(), 50);
    EXPECT_EQ(GreyAt(mask, 0, 0), 255);
    EXPECT_EQ(GreyAt(mask, mask.Width() / 2, mask.Height() / 2), 0);
    EXPECT_EQ(image.RenderedImage().GetPixelColor(mask.Width() / 2, mask.Height() / 2), kBlue);
}

TEST_F(PictureObjects, FitToPictureTakesTheLogicalSizeOffASite)
{
    TLOImage image;
    solidPicture(image.ImageData().Picture(), 180, 90, kBlue);
    image.SetBoundsRect({10, 20, 30, 40});
    image.FitToPicture();
    EXPECT_EQ(image.Rect(), (TRect{10, 20, 264, 147}));
    // On a site the picture is fitted into the square over the rectangle.
    EXPECT_EQ(FitRectToPicture({0, 0, 300, 100}, {180, 90}, true), (TRect{0, -25, 300, 125}));
}

TEST_F(PictureObjects, CopiesCarryPictureFrameAngleAndSource)
{
    TLOWizardImage image;
    framedPicture(image, true);
    image.SetAngle(12);
    image.SetImageSource(TImageSource::isTwain);
    image.SetWizInputEnable(true);
    image.SetWizInputCaption("写真");
    TLOWizardImage copy;
    copy.Assign(image);
    EXPECT_EQ(copy.Angle(), 12);
    EXPECT_TRUE(copy.AlphaFrame());
    EXPECT_EQ(copy.ImageSource(), TImageSource::isTwain);
    EXPECT_EQ(copy.FramePicture().Width(), 8);
    EXPECT_EQ(copy.ImageData().Picture().Width(), 8);
    EXPECT_TRUE(copy.WizInputEnable());
    EXPECT_EQ(copy.WizInputCaption(), "写真");
}

bool magick(const std::vector<std::string>& arguments)
{
    const test::ToolRun run = test::RunProgram("/usr/bin/convert", arguments);
    EXPECT_EQ(run.status, 0) << run.err;
    return run.status == 0;
}

long magickDifference(const std::string& a, const std::string& b)
{
    const test::ToolRun run = test::RunProgram("/usr/bin/compare", {"-metric", "AE", a, b, "null:"});
    if (run.status != 0 && run.status != 1)
        return -1;
    try {
        return long(std::stod(run.err));
    } catch (...) {
        return -1;
    }
}

// A framed picture painted at one pixel per unit, upright and turned by a
// quarter, against ImageMagick's composite of the same files: the frame
// stretched over the picture with its window colour see-through, its
// outside colour showing the grey below, turned by ImageMagick's rotation.
TEST_F(PictureObjects, AFramedPictureMatchesImageMagicksComposite)
{
    ORVELLA_REQUIRE_TOOL(test::HaveImageMagick(), "ImageMagick");
    const test::TempDir dir;
    const std::string photo = dir.File("photo.png"), frame = dir.File("frame.png");
    ASSERT_TRUE(magick({"-size", "60x40", "gradient:#FF8000-#2040C0", "-depth", "8", photo}));
    ASSERT_TRUE(magick({"-size", "30x20", "xc:#F0F0F0", "-fill", "#2050A0", "-draw", "rectangle 0,0 29,3", "-fill",
                        "#907060", "-draw", "rectangle 0,16 29,19", "-fill", "#907060", "-draw", "rectangle 27,0 29,19",
                        "-depth", "8", frame}));
    const std::string stretched = dir.File("stretched.png");
    ASSERT_TRUE(magick({frame, "-filter", "point", "-resize", "60x40!", stretched}));
    ASSERT_TRUE(magick({photo, "(", stretched, "-transparent", "#F0F0F0", ")", "-composite", dir.File("over.png")}));
    ASSERT_TRUE(magick({stretched, "-fill", "black", "+opaque", "#907060", "-fill", "white", "-opaque", "#907060",
                        dir.File("outside.png")}));
    ASSERT_TRUE(magick({dir.File("over.png"), "-size", "60x40", "xc:#808080", dir.File("outside.png"), "-composite",
                        "-type", "TrueColor", dir.File("upright.png")}));
    ASSERT_TRUE(magick({dir.File("upright.png"), "-rotate", "90", "-type", "TrueColor", dir.File("turned.png")}));

    struct Case {
        int32_t angle;
        const char* reference;
    };
    for (const Case c : {Case{0, "upright.png"}, Case{90, "turned.png"}}) {
        SCOPED_TRACE(c.angle);
        TLOImage image;
        image.ImageData().Picture().LoadFromFile(photo);
        image.FramePicture().LoadFromFile(frame);
        image.SetBoundsRect({0, 0, 60, 40});
        image.SetAngle(c.angle);
        const TRect bounds = image.GetLogicalBounds();
        TBitmap canvas(bounds.Right - bounds.Left, bounds.Bottom - bounds.Top);
        fill(canvas, kGrey);
        canvas.Canvas().SetWindowOrg(bounds.TopLeft());
        image.Paint(canvas.Canvas());
        const std::string ours = dir.File("ours" + std::to_string(c.angle) + ".png");
        ASSERT_TRUE(canvas.SaveToPng(ours));
        EXPECT_EQ(magickDifference(dir.File(c.reference), ours), 0);
    }
}

// --- alpha masks ---

TEST_F(PictureObjects, AnAlphaMaskWithShadeTenGrowsTwentyMaskPixelsEachWay)
{
    TLOAlphaMask mask;
    EXPECT_FALSE(mask.NeedsBlend());
    solidPicture(mask.Picture(), 30, 20, clWhite);
    mask.SetShadeSize(10);
    mask.SetBoundsRect({0, 0, 50, 40});
    EXPECT_TRUE(mask.NeedsBlend());
    const TBitmap& prepared = mask.PreparedMask();
    EXPECT_EQ(prepared.Width(), 50);
    EXPECT_EQ(prepared.Height(), 40);
    TBitmap coverage;
    mask.PaintMask(coverageBitmap(coverage, 50, 40));
    // Opaque in the middle, softly fading to nothing at the grown edge.
    EXPECT_GT(coverage.Row(20)[25], 240);
    EXPECT_LT(coverage.Row(20)[0], 16);
    EXPECT_GT(coverage.Row(20)[10], coverage.Row(20)[3]);
    // Without a picture there is nothing to blend through.
    mask.Picture().Clear();
    mask.PaintMask(coverage);
    EXPECT_EQ(coverage.Row(20)[25], 0);
    mask.SetShadeSize(-4);
    EXPECT_EQ(mask.ShadeSize(), 0);
}

TEST_F(PictureObjects, AnAlphaMaskFillsItsBoundsAndTurns)
{
    TLOAlphaMask mask;
    mask.FillColor().SetColor(kGreen);
    mask.SetBoundsRect({0, 0, 300, 200});
    mask.FitToPicture();
    EXPECT_EQ(mask.Rect(), (TRect{0, 0, 300, 200}));
    TBitmap canvas(300, 200);
    mask.Paint(canvas.Canvas());
    EXPECT_EQ(canvas.GetPixelColor(150, 100), kGreen);
    mask.SetAngle(90);
    const TRect bounds = mask.GetLogicalBounds();
    EXPECT_EQ(bounds.Right - bounds.Left, 200);
    EXPECT_EQ(bounds.Bottom - bounds.Top, 300);
}

// --- backgrounds ---

// A disc 400 across with a bleed of 20 and a hole of 100 (its printed hole
// is the bleed smaller, 60 across), the background on its outer rectangle.
TFaceInfo discFace()
{
    TFaceInfo face;
    face.FaceShape = fsDoughnut;
    face.FaceRect = {20, 20, 420, 420};
    face.FaceMargin = 20;
    face.SetCutCenterSize(100);
    return face;
}

TEST_F(PictureObjects, TheFrameBandRunsFromTheBleedEdgeToTenInsideTheOutline)
{
    TLOBackImage background;
    const TFaceInfo face = discFace();
    background.SetFaceInfo(&face);
    background.SetBoundsRect({0, 0, 440, 440});
    background.FillColor().SetColor(kBlue);
    background.FrameColor().SetColor(kGreen);
    background.SetFrameWidth(30);
    TBitmap canvas(440, 440);
    fill(canvas, kGrey);
    background.Paint(canvas.Canvas());
    struct Probe {
        int32_t x;
        TColor want;
    };
    // Along the middle row: radius 220 is the bleed edge, 190 the band's inner edge.
    for (const Probe p : {Probe{1, kGreen}, Probe{28, kGreen}, Probe{32, kBlue}, Probe{150, kBlue},
                          Probe{200, clWhite}, Probe{220, clWhite}, Probe{406, kBlue}, Probe{412, kGreen}, Probe{438, kGreen}})
        EXPECT_EQ(canvas.GetPixelColor(p.x, 220), p.want) << p.x;
    EXPECT_EQ(canvas.GetPixelColor(3, 3), kGrey) << "outside the disc nothing is painted";
    EXPECT_FALSE(background.HitTest({220, 100}));
}

TEST_F(PictureObjects, TheHoleStaysWhiteUnderADarkFillAndABlend)
{
    TLOBackImage background;
    const TFaceInfo face = discFace();
    background.SetFaceInfo(&face);
    background.SetBoundsRect({0, 0, 440, 440});
    background.FillColor().SetColor(kDark);
    background.BlendColor().SetColor(kGreen);
    // Left half of the alpha map black, right half white.
    TBitmap map(2, 1);
    setPixel(map, 0, 0, clBlack);
    setPixel(map, 1, 0, clWhite);
    setPicture(background.BlendPicture(), map);
    EXPECT_FALSE(background.IsPlain());
    TBitmap canvas(440, 440);
    fill(canvas, kGrey);
    background.Paint(canvas.Canvas());
    EXPECT_EQ(canvas.GetPixelColor(220, 220), clWhite);
    EXPECT_EQ(canvas.GetPixelColor(100, 220), kDark);
    EXPECT_EQ(canvas.GetPixelColor(340, 220), kGreen);
    background.SetBlendRatio(50);
    background.Paint(canvas.Canvas());
    const TColor half = canvas.GetPixelColor(340, 220);
    EXPECT_NEAR(int((half >> 8) & 0xFF), (0x20 + 0xFF) / 2, 2);
}

TEST_F(PictureObjects, AnUntiledPictureFillCoversTheFaceKeepingItsProportions)
{
    TLOBackImage background;
    background.SetBoundsRect({0, 0, 400, 200});
    EXPECT_TRUE(background.IsPlain());
    solidPicture(background.FillColor().ImageData().Picture(), 100, 100, kBlue);
    background.FillColor().SetKind(TColorSpecKind::cskBitmap);
    EXPECT_EQ(background.FillArea(), (TRect{0, -100, 400, 300}));
    background.FillColor().SetTile(true);
    EXPECT_EQ(background.FillArea(), (TRect{0, 0, 400, 200}));
}

TEST_F(PictureObjects, CopyingAnEditedBackgroundCarriesTheQuarterTurn)
{
    TLOBackImage2004 source;
    TBitmap pixels(3, 2);
    fill(pixels, kBlue);
    setPixel(pixels, 0, 0, kGreen);
    setPicture(source.FillColor().ImageData().Picture(), pixels);
    source.FillColor().SetKind(TColorSpecKind::cskBitmap);
    source.FillBackImage().SetRotateImage(TRotateStyle::rs90);
    const TPictureEx& turned = source.FillColor().ImageData().Picture();
    ASSERT_EQ(turned.Width(), 2);
    ASSERT_EQ(turned.Height(), 3);

    TLOBackImage2004 target;
    target.Assign(source);
    EXPECT_EQ(target.FillBackImage().RotateImage(), TRotateStyle::rs90);
    const TPictureEx& copied = target.FillColor().ImageData().Picture();
    ASSERT_EQ(copied.Width(), 2);
    ASSERT_EQ(copied.Height(), 3);
    TBitmap a, b;
    turned.Graphic()->RenderTo24(a);
    copied.Graphic()->RenderTo24(b);
    for (int32_t y = 0; y < 3; ++y)
        for (int32_t x = 0; x < 2; ++x)
            EXPECT_EQ(a.GetPixelColor(x, y), b.GetPixelColor(x, y)) << x << "," << y;
    // A quarter turn clockwise takes the top-left pixel to the top-right.
    EXPECT_EQ(a.GetPixelColor(1, 0), kGreen);
    EXPECT_EQ(source.FillBackImage().RotateImage(), TRotateStyle::rs90);
    EXPECT_EQ(source.FillBackImage().Untransformed().Width(), 3);

    // Read back, the stored picture is not turned again, and the picture as
    // chosen is recovered.
    TLOBackImage2004 read;
    ReadComponent(WriteComponent(target), read);
    EXPECT_EQ(read.FillBackImage().RotateImage(), TRotateStyle::rs90);
    EXPECT_EQ(read.FillColor().ImageData().Picture().Width(), 2);
    ASSERT_EQ(read.FillBackImage().Untransformed().Width(), 3);
    TBitmap chosen;
    read.FillBackImage().Untransformed().Graphic()->RenderTo24(chosen);
    EXPECT_EQ(chosen.GetPixelColor(0, 0), kGreen);

    // Entering a document it becomes the plain class, looking the same.
    const std::unique_ptr<TDrawObject> plain = PlainBackgroundFor(target);
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->ClassInfo().ClassName(), "TLOBackImage");
    EXPECT_EQ(static_cast<TLOBackImage&>(*plain).FillColor().ImageData().Picture().Width(), 2);
}

TEST_F(PictureObjects, TheBackgroundPositionMenuClipsThePictureToTheFace)
{
    TLOBackImage background;
    std::vector<TBackgroundPositionItem> items = BackgroundPositionItems(background, {400, 400});
    ASSERT_EQ(items.size(), 4u);
    for (const TBackgroundPositionItem& item : items)
        EXPECT_FALSE(item.Enabled) << item.Caption;
    solidPicture(background.FillColor().ImageData().Picture(), 300, 100, kBlue);
    background.FillColor().SetKind(TColorSpecKind::cskBitmap);
    items = BackgroundPositionItems(background, {400, 400});
    EXPECT_EQ(items[1].Caption, "イメージの左端");
    EXPECT_EQ(items[2].Caption, "イメージの右端");
    EXPECT_TRUE(items[0].Enabled);
    struct Case {
        TBackgroundPosition choice;
        TRect clip;
    };
    for (const Case c : {Case{TBackgroundPosition::bpCenter, {100, 0, 200, 100}},
                         Case{TBackgroundPosition::bpStart, {0, 0, 100, 100}},
                         Case{TBackgroundPosition::bpEnd, {200, 0, 300, 100}}}) {
        background.FillColor().SetTile(true);
        ApplyBackgroundPosition(background, c.choice, {400, 400});
        EXPECT_FALSE(background.FillColor().Tile());
        EXPECT_EQ(background.FillColor().ImageData().ClipFilter().ClipRect(), c.clip);
    }
    ApplyBackgroundPosition(background, TBackgroundPosition::bpTile, {400, 400});
    EXPECT_TRUE(background.FillColor().Tile());
    // A tall picture is cut at top and bottom.
    solidPicture(background.FillColor().ImageData().Picture(), 100, 300, kBlue);
    items = BackgroundPositionItems(background, {400, 400});
    EXPECT_EQ(items[1].Caption, "イメージの上端");
    EXPECT_EQ(items[2].Caption, "イメージの下端");
}

// --- creation ---

TEST_F(PictureObjects, TheCreationCommandsMakeTheirClasses)
{
    struct Command {
        const char* name;
        const char* className;
    };
    for (const Command c : {Command{"TLOImage", "TLOWizardImage"}, Command{"TLOImagePaste", "TLOWizardImage"},
                            Command{"TLOBitmapPaste", "TLOWizardImage"}, Command{"TLOMetafilePaste", "TLOWizardImage"},
                            Command{"TLOBackImage", "TLOBackImage"}, Command{"TLOAlphaMask", "TLOAlphaMask"}}) {
        const std::unique_ptr<TComponent> made = DesignerList().CreateInstance(c.name);
        ASSERT_TRUE(made) << c.name;
        EXPECT_EQ(made->ClassInfo().ClassName(), c.className) << c.name;
    }
    auto background = DesignerList().CreateInstance("TLOBackImage");
    EXPECT_EQ(static_cast<TDrawObject&>(*background).LayerGroup(), -100);
}

TEST_F(PictureObjects, ADroppedFileBecomesAPictureCentredOnTheFace)
{
    const test::TempDir dir;
    TBitmap pixels(360, 180);
    fill(pixels, kBlue);
    const std::string file = dir.File("dropped.png");
    ASSERT_TRUE(pixels.SaveToPng(file));
    const std::unique_ptr<TLOImage> image = CreateImageObjectFromFile(file, {1200, 1200});
    EXPECT_EQ(image->ClassInfo().ClassName(), "TLOWizardImage");
    EXPECT_EQ(image->ImageSource(), TImageSource::isFile);
    EXPECT_EQ(image->Rect(), (TRect{346, 473, 854, 727}));
    // Larger than the face: shrunk into it.
    const std::unique_ptr<TLOImage> large = CreateImageObjectFromFile(file, {300, 300});
    EXPECT_EQ(large->Rect(), (TRect{0, 75, 300, 225}));
    std::ofstream(dir.File("bad.png")) << "not a picture";
    EXPECT_ANY_THROW(CreateImageObjectFromFile(dir.File("bad.png"), {300, 300}));
}

TEST_F(PictureObjects, AnEditedBackgroundInAFaceStreamComesBackPlainAndFitted)
{
    TLOBackImage2004 edited;
    edited.FillColor().SetColor(kBlue);
    TDOList list;
    list.Add(edited);
    std::vector<std::unique_ptr<TDrawObject>> read = ReadFaceObjects(WriteFaceObjects(list));
    ASSERT_EQ(read.size(), 1u);
    EXPECT_EQ(read[0]->ClassInfo().ClassName(), "TLOBackImage2004");
    std::unique_ptr<TDrawObject> object = std::move(read[0]);
    const TFaceInfo face = discFace();
    for (const TFaceObjectHooks& hooks : FaceObjectHooks()) {
        if (hooks.Upgrade)
            if (std::unique_ptr<TDrawObject> replacement = hooks.Upgrade(*object))
                object = std::move(replacement);
        if (hooks.FitToFace)
            hooks.FitToFace(*object, face);
    }
    auto& background = dynamic_cast<TLOBackImage&>(*object);
    EXPECT_EQ(background.ClassInfo().ClassName(), "TLOBackImage");
    EXPECT_EQ(background.Rect(), (TRect{0, 0, 440, 440}));
    EXPECT_EQ(background.FaceInfo(), face);
    EXPECT_EQ(background.FillColor().Color(), kBlue);

    TLOBackImage plain;
    TDOList alone;
    alone.Add(plain);
    bool empty = false;
    for (const TFaceObjectHooks& hooks : FaceObjectHooks())
        if (hooks.IsEmptyBackgroundOnly)
            empty = empty || hooks.IsEmptyBackgroundOnly(alone);
    EXPECT_TRUE(empty);
}

// --- stored forms ---

std::vector<std::string> topLevelNames(const std::string& text)
{
    std::vector<std::string> names;
    static const std::regex line("^  ([A-Za-z]+)(\\.[A-Za-z.]+)? = ");
    std::istringstream in(text);
    std::string last;
    for (std::string row; std::getline(in, row);) {
        std::smatch match;
        if (std::regex_search(row, match, line) && match[1] != last) {
            names.push_back(match[1]);
            last = match[1];
        }
    }
    return names;
}

std::vector<std::string> tail(std::vector<std::string> names, std::size_t count)
{
    if (names.size() > count)
        names.erase(names.begin(), names.end() - std::ptrdiff_t(count));
    return names;
}

TEST_F(PictureObjects, FreePascalReadsEachClassInItsPropertyOrder)
{
    ORVELLA_REQUIRE_ORACLES();
    TLOWizardImage image;
    framedPicture(image, true);
    image.SetAngle(15);
    image.SetWizInputEnable(true);
    TLOBackImage background;
    background.SetBlendRatio(40);
    background.SetFrameWidth(30);
    background.FrameColor().SetColor(kGreen);
    background.BlendColor().SetColor(kBlue);
    solidPicture(background.BlendPicture(), 2, 2, clWhite);
    TLOBackImage2004 edited;
    edited.FillBackImage().SetReverseHorz(true);
    TLOAlphaMask mask;
    mask.SetAngle(20);
    mask.SetShadeSize(10);
    mask.FillColor().SetColor(kGreen);
    solidPicture(mask.Picture(), 3, 3, clWhite);
    struct Case {
        TDrawObject* object;
        std::vector<std::string> tail;
    };
    for (const Case& c : {
             Case{&image, {"ImageData", "FramePicture", "AlphaFrame", "Angle", "ImageSource", "wizInputEnable"}},
             Case{&background, {"FillColor", "FrameColor", "FrameWidth", "BlendColor", "BlendPicture"}},
             Case{&edited, {"FillColor", "FillBackImage"}},
             Case{&mask, {"Angle", "FillColor", "Picture", "ShadeSize"}}}) {
        const std::string bytes = WriteComponent(*c.object);
        const std::string text = test::FpcToText(bytes);
        SCOPED_TRACE(text);
        EXPECT_EQ(text.rfind("object " + c.object->ClassInfo().ClassName(), 0), 0u);
        EXPECT_EQ(tail(topLevelNames(text), c.tail.size()), c.tail);
        EXPECT_EQ(test::FpcToBinary(text), bytes);
        // Nothing of the older properties is written.
        if (c.object != &mask) {
            for (const char* old : {"\n  Picture.", "\n  Image.", "EllipseClip", "CenterClip", "CenterRadius"})
                EXPECT_EQ(text.find(old), std::string::npos) << old;
        }
    }
    // The background's own blend ratio stands where the label object keeps
    // its own, after DontPrint.
    const std::vector<std::string> names = topLevelNames(test::FpcToText(WriteComponent(background)));
    const auto at = std::find(names.begin(), names.end(), "BlendRatio");
    ASSERT_NE(at, names.end());
    ASSERT_NE(at, names.begin());
    EXPECT_EQ(*(at - 1), "DontPrint");
}

std::string hex(const std::string& bytes)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char b : bytes) {
        out += digits[b >> 4];
        out += digits[b & 15];
    }
    return out;
}

TEST_F(PictureObjects, OlderDocumentsPicturesAreReadIntoTheirNewPlaces)
{
    ORVELLA_REQUIRE_ORACLES();
    TPictureEx picture;
    TBitmap pixels(4, 2);
    fill(pixels, kBlue);
    setPixel(pixels, 1, 1, kFrameWindowColor);
    setPicture(picture, pixels);
    std::string data;
    picture.WritePictureData(data);

    TLOWizardImage image;
    ReadComponent(test::FpcToBinary("object TLOImage\n  Left = 0\n  Top = 0\n  Width = 4\n  Height = 2\n"
                                    "  Angle = 0\n  ImageSource = isOnePoint\n  Picture.Data = {" +
                                    hex(data) + "}\nend\n"),
                  image);
    EXPECT_EQ(image.ImageData().Picture().Width(), 4);
    EXPECT_EQ(image.ImageData().TransparentColor(), kFrameWindowColor);
    TBitmap canvas(4, 2);
    fill(canvas, kGrey);
    image.Paint(canvas.Canvas());
    EXPECT_EQ(canvas.GetPixelColor(0, 1), kBlue);
    EXPECT_EQ(canvas.GetPixelColor(1, 1), kGrey);

    // A file picture of the same kind keeps its grey.
    TLOWizardImage filePicture;
    ReadComponent(test::FpcToBinary("object TLOImage\n  ImageSource = isFile\n  Picture.Data = {" + hex(data) +
                                    "}\nend\n"),
                  filePicture);
    EXPECT_EQ(filePicture.ImageData().TransparentColor(), clNone);

    TLOBackImage background;
    ReadComponent(test::FpcToBinary("object TLOBackImage\n  Width = 440\n  Height = 440\n  EllipseClip = True\n"
                                    "  CenterClip = False\n  CenterRadius = 205\n  Image.Data = {" +
                                    hex(data) + "}\n  BlendRatio = 70\nend\n"),
                  background);
    EXPECT_EQ(background.FillColor().Kind(), TColorSpecKind::cskBitmap);
    EXPECT_EQ(background.FillColor().ImageData().Picture().Width(), 4);
    EXPECT_EQ(background.BackBlendRatio(), 70);
    EXPECT_EQ(background.Rect(), (TRect{0, 0, 440, 440}));
}

}  // namespace
}  // namespace orvella
