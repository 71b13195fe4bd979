// Painting a 120 mm face holding 100 shapes (turned rounded rectangles,
// ellipses with gradient fills, arcs and decorative lines) on the screen at
// 100 % and on a 600-dpi printer page. Decorative lines keep their laid-out
// strip between paints, as they do on a site.

#include "graphics/bitmap.h"
#include "graphics/canvas.h"
#include "objects/lo_deco_line.h"
#include "objects/lo_line.h"
#include "objects/lo_rect.h"
#include "offscreen_app.h"

#include <QImage>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

namespace {

using namespace orvella;

constexpr int32_t kFace = 1200;  // 0.1 mm

class TPrinterPage : public TCanvas {
public:
    using TCanvas::TCanvas;
    int32_t DeviceResolution() const override { return 600; }
    TDeviceTechnology Technology() const override { return TDeviceTechnology::RasterPrinter; }
};

std::vector<std::unique_ptr<TDrawObject>> makeShapes(const std::string& patternFile)
{
    std::vector<std::unique_ptr<TDrawObject>> shapes;
    for (int i = 0; i < 100; ++i) {
        const int32_t x = (i % 10) * 115 + 20;
        const int32_t y = (i / 10) * 115 + 20;
        switch (i % 4) {
        case 0: {
            auto rect = std::make_unique<TLORect>();
            rect->SetBoundsRect({x, y, x + 100, y + 60});
            rect->SetRoundRect(true);
            rect->SetAngle(i * 7);
            rect->SetFillInside(true);
            rect->FillColor().SetColor(RGB(240, 200, 40));
            rect->FrameColor().SetColor(RGB(30, 30, 120));
            shapes.push_back(std::move(rect));
            break;
        }
        case 1: {
            auto ellipse = std::make_unique<TLOCircle>();
            ellipse->SetBoundsRect({x, y, x + 100, y + 80});
            ellipse->SetAngle(i * 5);
            ellipse->SetFillInside(true);
            ellipse->FillColor().SetKind(TColorSpecKind::cskGradation);
            ellipse->FillColor().SetGradAngle(45);
            ellipse->FillColor().GradColors().SetColors({RGB(255, 40, 40), RGB(30, 90, 220)});
            shapes.push_back(std::move(ellipse));
            break;
        }
        case 2: {
            auto curve = std::make_unique<TLOCurve>();
            curve->SetStartPoint(x, y + 80);
            curve->SetEndPoint(x + 100, y + 60);
            curve->SetBulge(40);
            curve->SetLineWidth(8);
            shapes.push_back(std::move(curve));
            break;
        }
        default: {
            auto deco = std::make_unique<TLODecoLine>();
            deco->ChoosePattern(patternFile);
            deco->SetStartPoint(x, y + 20);
            deco->SetEndPoint(x + 100, y + 80);
            deco->SetLineWidth(20);
            shapes.push_back(std::move(deco));
            break;
        }
        }
    }
    return shapes;
}

void BM_PaintFaceOfShapes(benchmark::State& state)
{
    bench::OffscreenApplication();
    QTemporaryDir dir;
    const std::string patternFile = dir.filePath(QStringLiteral("pattern.png")).toStdString();
    QImage pattern(40, 20, QImage::Format_ARGB32);
    pattern.fill(Qt::transparent);
    for (int x = 0; x < 40; ++x)
        for (int y = 4; y < 16; ++y)
            if ((x / 5) % 2 == 0)
                pattern.setPixel(x, y, qRgb(200, 40, 90));
    pattern.save(QString::fromStdString(patternFile));
    const std::vector<std::unique_ptr<TDrawObject>> shapes = makeShapes(patternFile);

    const int32_t dpi = int32_t(state.range(0));
    const int32_t pixels = MulDiv(kFace, dpi, 254);
    TBitmap bitmap(pixels, pixels, TPixelFormat::pf24bit);
    TPrinterPage printer(&bitmap);
    TCanvas& canvas = dpi > 96 ? static_cast<TCanvas&>(printer) : bitmap.Canvas();
    canvas.SetMapMode(MM_ANISOTROPIC);
    canvas.SetWindowExt({254, 254});
    canvas.SetViewportExt({dpi, dpi});
    for (auto _ : state)
        for (const auto& shape : shapes)
            shape->Paint(canvas);
    state.SetLabel(std::to_string(dpi) + " dpi");
}

BENCHMARK(BM_PaintFaceOfShapes)->Arg(96)->Arg(600)->Unit(benchmark::kMillisecond);

}  // namespace
