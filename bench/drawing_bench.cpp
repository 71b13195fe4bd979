// Painting a draw site with a few hundred objects: a full screen paint,
// direct and double-buffered, drawing the whole site onto a bitmap at
// another zoom, as previews and printing do, and one step of a drag.

#include "formats/property_table.h"

#include "drawing/draw_site.h"
#include "drawing/ghost_list.h"
#include "graphics/bitmap.h"
#include "graphics/canvas.h"
#include "graphics/rect_utils.h"

#include <benchmark/benchmark.h>

#include <utility>

namespace {

using namespace orvella;

// The outline of a box moved by the drag offset.
class TBenchMoveGhost : public TGhost {
public:
    explicit TBenchMoveGhost(TRect box) : box_(box) {}
    void Move(TPoint offset, TShiftState) override { offset_ = offset; }
    void Draw(TCanvas& canvas) override
    {
        canvas.Rectangle(box_.Left + offset_.x, box_.Top + offset_.y, box_.Right + offset_.x, box_.Bottom + offset_.y);
    }
    void Apply(TShiftState) override {}

private:
    TRect box_;
    TPoint offset_;
};

class TBenchBox : public TDrawObject {
    ORVELLA_PERSISTENT(TBenchBox)

public:
    TBenchBox(TRect box, TColor color) : box_(box), color_(color) {}
    bool HitTest(TPoint p) override { return PtInRect(box_, p); }
    TRect GetLogicalBounds() const override { return box_; }
    void ShowHandles() override {}
    void BeginDrag(int) override { GhostList().Add(std::make_unique<TBenchMoveGhost>(box_)); }
    void Paint(TCanvas& canvas) override
    {
        canvas.Pen() = TPen{clBlack, 5, TPenStyle::psSolid, R2_COPYPEN};
        canvas.Brush() = TBrush{color_, TBrushStyle::bsSolid};
        canvas.Ellipse(box_.Left, box_.Top, box_.Right, box_.Bottom);
    }

private:
    TRect box_;
    TColor color_;
};

const TClassInfo& TBenchBox::StaticClassInfo()
{
    static const TClassInfo info = DeclareClass<TBenchBox, TDrawObject>("TBenchBox", {});
    return info;
}

// A 120 mm disc face with objects scattered over it in a fixed pattern.
void fillSite(TDrawSite& site, int count)
{
    site.Scaler().SetUnitDPI(254);
    site.SetLogWidth(1200);
    site.SetLogHeight(1200);
    site.SetColor(clWhite);
    for (int i = 0; i < count; ++i) {
        const int32_t x = (i * 137) % 1100;
        const int32_t y = (i * 251) % 1100;
        const int32_t size = 40 + (i * 37) % 120;
        auto& box = site.InsertOwnedObject(
            std::make_unique<TBenchBox>(TRect{x, y, x + size, y + size}, RGB(uint8_t(i * 40), uint8_t(i * 90), 200)));
        site.AddObject(box);
    }
}

void BM_PaintSiteOnScreen(benchmark::State& state)
{
    TDrawSite site;
    fillSite(site, int(state.range(0)));
    site.SetDoubleBuffered(state.range(1) != 0);
    TBitmap screen(site.Width(), site.Height());
    const TRect all{0, 0, site.Width(), site.Height()};
    for (auto _ : state) {
        site.PaintWindow(screen.Canvas(), all);
        benchmark::DoNotOptimize(screen.Bits());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_PaintSiteOnScreen)->ArgNames({"objects", "buffered"})->Args({100, 0})->Args({300, 0})->Args({300, 1});

void BM_DrawSiteTo(benchmark::State& state)
{
    TDrawSite site;
    fillSite(site, int(state.range(0)));
    TBitmap target(900, 900);
    for (auto _ : state) {
        site.DrawTo(target.Canvas(), {0, 0}, 200);
        benchmark::DoNotOptimize(target.Bits());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_DrawSiteTo)->ArgName("objects")->Arg(300);

// One pointer move while an object is dragged on a 120 mm face with 200
// objects, the window painting at once what the site invalidates. Arg
// screen 0: a window without a screen of its own to draw the outline on,
// so the site falls back to repainting itself.
void BM_DragStep(benchmark::State& state)
{
    TDrawSite site;
    fillSite(site, 200);
    TBitmap screen(site.Width(), site.Height());
    TRect pending;
    site.Host.Invalidate = [&](const TRect& r) { pending = pending.IsEmpty() ? r : UnionRect(pending, r); };
    site.Host.Update = [&] {
        if (!pending.IsEmpty())
            site.PaintWindow(screen.Canvas(), std::exchange(pending, TRect{}));
    };
    if (state.range(0) != 0)
        site.Host.ScreenCanvas = [&]() -> TCanvas* { return &screen.Canvas(); };
    site.PaintWindow(screen.Canvas(), {0, 0, site.Width(), site.Height()});
    const TRect& first = site.Objects(0).BoundsRect();
    const TPoint from{(first.Left + first.Right) / 2, (first.Top + first.Bottom) / 2};
    site.MouseDown({TMouseButton::mbLeft, ssLeft, from});
    site.Host.Update();
    int step = 0;
    for (auto _ : state) {
        ++step;
        site.MouseMove({TMouseButton::mbLeft, ssLeft, {from.x + step % 40, from.y + step % 30}});
        site.Host.Update();
        benchmark::DoNotOptimize(screen.Bits());
    }
    site.CancelMode();
}
BENCHMARK(BM_DragStep)->ArgName("screen")->Arg(0)->Arg(1);

}  // namespace
