// The layout editor's repaint of a 120 mm disc face holding 200 mixed
// objects (texts, rectangles, ellipses, lines, JAN and QR codes) with its
// overlay (print area, dotted grid, guides, frame, trim line): the whole
// face at 100 %, and at 400 % the part a 1000 x 700 window shows; and the
// empty face with its overlay alone.

#include "document/face_overlay.h"
#include "document/grid.h"
#include "document/guide.h"
#include "drawing/draw_site.h"
#include "graphics/bitmap.h"
#include "graphics/canvas.h"
#include "objects/lo_jan_code.h"
#include "objects/lo_line.h"
#include "objects/lo_qr_code.h"
#include "objects/lo_rect.h"
#include "objects/lo_shade_text.h"
#include "objects/object_classes.h"
#include "offscreen_app.h"
#include "paper/face_info.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <string>

namespace {

using namespace orvella;

constexpr int32_t kFace = 1200;  // 0.1 mm

std::unique_ptr<TDrawObject> makeObject(int i)
{
    const int32_t x = (i * 137) % 1000 + 20;
    const int32_t y = (i * 251) % 1000 + 20;
    switch (i % 6) {
    case 0: {
        auto text = std::make_unique<TLOCurrentText>();
        text->SetText({"Track " + std::to_string(i), "ラベル"});
        text->Font().SetSize(10 + i % 4 * 2);
        text->SetBoundsRect({x, y, x + 180, y + 90});
        return text;
    }
    case 1: {
        auto rect = std::make_unique<TLORect>();
        rect->SetBoundsRect({x, y, x + 120, y + 70});
        rect->SetFillInside(true);
        rect->FillColor().SetColor(RGB(240, 200, 40));
        return rect;
    }
    case 2: {
        auto ellipse = std::make_unique<TLOCircle>();
        ellipse->SetBoundsRect({x, y, x + 100, y + 80});
        ellipse->SetFillInside(true);
        ellipse->FillColor().SetColor(RGB(60, 140, 220));
        return ellipse;
    }
    case 3: {
        auto line = std::make_unique<TLOLine>();
        line->SetStartPoint(x, y);
        line->SetEndPoint(x + 150, y + 60);
        line->SetLineWidth(6);
        return line;
    }
    case 4: {
        auto jan = std::make_unique<TLOJANCode>();
        jan->SetJANCode("4901234567894");
        jan->SetBoundsRect({x, y, x + 200, y + 120});
        return jan;
    }
    default: {
        auto qr = std::make_unique<TLOQRStd>();
        qr->SetQRKind(TStdQRKind::sqkURL);
        qr->SetQRUrl("example.jp/" + std::to_string(i));
        qr->SetBoundsRect({x, y, x + 120, y + 120});
        return qr;
    }
    }
}

// range(0): zoom in percent; range(1): objects (0 leaves the overlay alone).
void BM_FaceSiteRepaint(benchmark::State& state)
{
    bench::OffscreenApplication();
    RegisterObjectClasses();
    const int32_t zoom = int32_t(state.range(0));

    TFaceInfo face;
    face.FaceRect = {0, 0, kFace, kFace};
    face.FaceShape = fsDoughnut;
    face.FaceMargin = 20;
    const TRect outer = face.GetOuterRect();
    const TSize siteSize{outer.Right - outer.Left, outer.Bottom - outer.Top};
    TGrid grid;
    grid.SetSize(50);
    grid.SetVisible(true);
    TGuide guide;
    guide.SetVisible(true);
    guide.SetGuide(0, 0, siteSize.cy / 2);
    guide.SetGuide(1, siteSize.cx / 2, 0);

    TDrawSite site;
    site.Scaler().SetUnitDPI(254);
    site.Scaler().SetScale(zoom);
    site.SetLogWidth(siteSize.cx);
    site.SetLogHeight(siteSize.cy);
    site.SetDoubleBuffered(true);
    site.OnPaintAfter = [&](TDrawSite&, TCanvas& canvas) { PaintFaceOverlay(canvas, face, &grid, &guide, siteSize); };
    for (int i = 0; i < state.range(1); ++i)
        site.AddObject(site.InsertOwnedObject(makeObject(i)));

    const TRect update{0, 0, std::min(site.Width(), zoom > 100 ? 1000 : site.Width()),
                       std::min(site.Height(), zoom > 100 ? 700 : site.Height())};
    TBitmap screen(site.Width(), site.Height(), TPixelFormat::pf24bit);
    site.PaintWindow(screen.Canvas(), update);  // first paint lays out texts and codes
    for (auto _ : state) {
        site.PaintWindow(screen.Canvas(), update);
        benchmark::DoNotOptimize(screen.Bits());
    }
    state.SetLabel(std::to_string(update.Right) + "x" + std::to_string(update.Bottom) + " px");
}
BENCHMARK(BM_FaceSiteRepaint)
    ->ArgNames({"zoom", "objects"})
    ->Args({100, 200})
    ->Args({400, 200})
    ->Args({100, 0})
    ->Unit(benchmark::kMillisecond);

}  // namespace
