// Painting a 120 mm disc face with a full-face photo background (blended
// with a grey picture and framed by a band) and three turned, framed
// photos, on the screen at 100 % and on a 600-dpi printer page, whole and
// as one print band. The turned pictures and the fill at the device's size
// are built on the first paint and kept, as they are on a site and from one
// print band to the next.

#include "graphics/bitmap.h"
#include "graphics/canvas.h"
#include "graphics/safety_bitmap.h"
#include "objects/lo_back_image.h"
#include "objects/lo_image.h"
#include "objects/picture_pixels.h"
#include "offscreen_app.h"
#include "platform/win_math.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

namespace {

using namespace orvella;

constexpr int32_t kFace = 1200;  // 0.1 mm
constexpr int32_t kBleed = 20;

class TPrinterPage : public TCanvas {
public:
    using TCanvas::TCanvas;
    int32_t DeviceResolution() const override { return 600; }
    TDeviceTechnology Technology() const override { return TDeviceTechnology::RasterPrinter; }
};

// A photo-like picture: smooth colour ramps with some texture.
void makePhoto(TPictureEx& picture, int32_t width, int32_t height)
{
    TBitmap pixels(width, height);
    for (int32_t y = 0; y < height; ++y) {
        uint8_t* row = pixels.Row(y);
        for (int32_t x = 0; x < width; ++x) {
            row[3 * x] = uint8_t(x * 255 / width);
            row[3 * x + 1] = uint8_t(y * 255 / height);
            row[3 * x + 2] = uint8_t((x * y + x * 7) & 0xFF);
        }
    }
    auto graphic = std::make_unique<TSafetyBitmap>();
    graphic->Assign(pixels);
    picture.SetGraphic(std::move(graphic));
}

void makeFrame(TPictureEx& picture)
{
    TBitmap pixels(200, 150);
    for (int32_t y = 0; y < 150; ++y)
        for (int32_t x = 0; x < 200; ++x) {
            const bool outside = x < 4 || y < 4 || x >= 196 || y >= 146;
            const bool band = x < 16 || y < 16 || x >= 184 || y >= 134;
            const TColor color = outside ? kFrameOutsideColor : band ? TColor(0x2050A0) : kFrameWindowColor;
            uint8_t* p = pixels.Row(y) + 3 * x;
            p[0] = uint8_t(color >> 16);
            p[1] = uint8_t(color >> 8);
            p[2] = uint8_t(color);
        }
    auto graphic = std::make_unique<TSafetyBitmap>();
    graphic->Assign(pixels);
    picture.SetGraphic(std::move(graphic));
}

struct TPhotoFace {
    TLOBackImage background;
    std::vector<std::unique_ptr<TLOImage>> images;
};

std::unique_ptr<TPhotoFace> makeFace()
{
    auto face = std::make_unique<TPhotoFace>();
    TFaceInfo info;
    info.FaceShape = fsDoughnut;
    info.FaceRect = {kBleed, kBleed, kBleed + kFace, kBleed + kFace};
    info.FaceMargin = kBleed;
    info.SetCutCenterSize(410);
    face->background.SetFaceInfo(&info);
    face->background.SetBoundsRect({0, 0, kFace + 2 * kBleed, kFace + 2 * kBleed});
    makePhoto(face->background.FillColor().ImageData().Picture(), 2400, 2400);
    face->background.FillColor().SetKind(TColorSpecKind::cskBitmap);
    face->background.BlendColor().SetColor(RGB(250, 250, 240));
    makePhoto(face->background.BlendPicture(), 256, 256);
    face->background.SetBlendRatio(60);
    face->background.FrameColor().SetColor(RGB(20, 40, 90));
    face->background.SetFrameWidth(30);
    for (int i = 0; i < 3; ++i) {
        auto image = std::make_unique<TLOWizardImage>();
        makePhoto(image->ImageData().Picture(), 1600, 1200);
        makeFrame(image->FramePicture());
        const int32_t x = 150 + i * 300;
        image->SetBoundsRect({x, 250 + i * 200, x + 400, 550 + i * 200});
        image->SetAngle(15 + i * 20);
        face->images.push_back(std::move(image));
    }
    return face;
}

enum TParts { kBackground = 1, kImages = 2, kAll = 3 };

void paintFace(benchmark::State& state, int parts)
{
    bench::OffscreenApplication();
    const std::unique_ptr<TPhotoFace> face = makeFace();
    const int32_t dpi = int32_t(state.range(0));
    const int32_t bandHeight = int32_t(state.range(1));
    const int32_t pixels = MulDiv(kFace + 2 * kBleed, dpi, 254);
    TBitmap bitmap(pixels, bandHeight > 0 ? bandHeight : pixels, TPixelFormat::pf24bit);
    TPrinterPage printer(&bitmap);
    TCanvas& canvas = dpi > 96 ? static_cast<TCanvas&>(printer) : bitmap.Canvas();
    canvas.SetMapMode(MM_ANISOTROPIC);
    canvas.SetWindowExt({254, 254});
    canvas.SetViewportExt({dpi, dpi});
    // A band from the face's middle, where the hole and every picture lie.
    if (bandHeight > 0)
        canvas.SetViewportOrg({0, -pixels / 2});
    // The turned pictures and the face's fill are built on the first paint
    // (the first band), before timing.
    face->background.Paint(canvas);
    for (const auto& image : face->images)
        image->Paint(canvas);
    for (auto _ : state) {
        if (parts & kBackground)
            face->background.Paint(canvas);
        if (parts & kImages)
            for (const auto& image : face->images)
                image->Paint(canvas);
    }
    state.SetLabel(std::to_string(dpi) + " dpi" + (bandHeight > 0 ? ", one band" : ", whole face"));
}

void BM_PaintPhotoFace(benchmark::State& state) { paintFace(state, kAll); }
void BM_PaintPhotoBackground(benchmark::State& state) { paintFace(state, kBackground); }
void BM_PaintFramedImages(benchmark::State& state) { paintFace(state, kImages); }

BENCHMARK(BM_PaintPhotoFace)->Args({96, 0})->Args({600, 0})->Args({600, 512})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintPhotoBackground)->Args({96, 0})->Args({600, 512})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintFramedImages)->Args({96, 0})->Args({600, 512})->Unit(benchmark::kMillisecond);

}  // namespace
