// One pointer move of a drag outline on a 120 mm face with 200 objects: the
// outline erased and drawn again in XOR on the screen bitmap, for a plain
// move, a circular move about the face's centre, a resize, and a plain move
// that snaps to the layout editor's grid and guides.

#include "formats/property_table.h"

#include "document/face_snap.h"
#include "document/grid.h"
#include "document/guide.h"

#include "drawing/designer.h"
#include "drawing/draw_site.h"
#include "drawing/ghost_designers.h"
#include "drawing/ghost_list.h"
#include "drawing/universal_ghost.h"
#include "graphics/bitmap.h"
#include "graphics/canvas.h"
#include "graphics/rect_utils.h"

#include <benchmark/benchmark.h>

namespace {

using namespace orvella;

class TBenchShape : public TDrawObject, public IDOEncloseBounds, public IDOPosition, public IDODraw, public IDORotate {
    ORVELLA_PERSISTENT(TBenchShape)

public:
    TBenchShape() = default;
    explicit TBenchShape(TRect rect) : rect_(rect) {}

    bool HitTest(TPoint p) override { return PtInRect(rect_, p); }
    TRect GetLogicalBounds() const override { return rect_; }
    void ShowHandles() override { DesignerList().ShowHandles(*this); }
    void BeginDrag(int index) override { DesignerList().BeginDrag(*this, index); }
    void Paint(TCanvas& canvas) override
    {
        canvas.Brush() = TBrush{0x80C0FF, TBrushStyle::bsSolid};
        canvas.Ellipse(rect_.Left, rect_.Top, rect_.Right, rect_.Bottom);
    }
    void* QueryInterface(const TGuid& iid) override
    {
        if (iid == IDOEncloseBounds::IID)
            return Offer<IDOEncloseBounds>(this);
        if (iid == IDOPosition::IID)
            return Offer<IDOPosition>(this);
        if (iid == IDODraw::IID)
            return Offer<IDODraw>(this);
        if (iid == IDORotate::IID)
            return Offer<IDORotate>(this);
        return TDrawObject::QueryInterface(iid);
    }
    int AddRef() override { return TDrawObject::AddRef(); }
    int Release() override { return TDrawObject::Release(); }
    void Assign(const TDrawObject& source) override
    {
        TDrawObject::Assign(source);
        const auto& shape = static_cast<const TBenchShape&>(source);
        rect_ = shape.rect_;
        angle_ = shape.angle_;
    }

    void MoveBy(int32_t dx, int32_t dy) override { rect_ = OffsetRect(rect_, dx, dy); }
    void SetExtent(int32_t w, int32_t h) override { rect_ = {rect_.Left, rect_.Top, rect_.Left + w, rect_.Top + h}; }
    int32_t GetLeft() const override { return rect_.Left; }
    void SetLeft(int32_t v) override { rect_ = OffsetRect(rect_, v - rect_.Left, 0); }
    int32_t GetTop() const override { return rect_.Top; }
    void SetTop(int32_t v) override { rect_ = OffsetRect(rect_, 0, v - rect_.Top); }
    int32_t GetWidth() const override { return rect_.Right - rect_.Left; }
    void SetWidth(int32_t v) override { rect_.Right = rect_.Left + v; }
    int32_t GetHeight() const override { return rect_.Bottom - rect_.Top; }
    void SetHeight(int32_t v) override { rect_.Bottom = rect_.Top + v; }
    bool KeepsAspect() const override { return false; }
    void PaintTo(TCanvas& canvas) override { TDrawObject::PaintTo(canvas); }
    void DrawOutline(TCanvas& canvas) override { canvas.Rectangle(rect_.Left, rect_.Top, rect_.Right, rect_.Bottom); }
    int32_t GetAngle() const override { return angle_; }
    void SetAngle(int32_t degrees) override { angle_ = degrees; }

private:
    TRect rect_;
    int32_t angle_ = 0;
};

const TClassInfo& TBenchShape::StaticClassInfo()
{
    static const TClassInfo info = DeclareClass<TBenchShape, TDrawObject>("TBenchShape", {});
    return info;
}

// range(0): 0 moves, 1 moves about the centre, 2 resizes by the bottom-right
// handle, 3 moves snapping to a 1 mm grid and two guides as the layout
// editor's hook does.
void BM_GhostStep(benchmark::State& state)
{
    RegisterGhostDesigners();
    const TMoveSettings saved = MoveSettings();
    MoveSettings().CircumMove = state.range(0) == 1;
    TGrid grid;
    grid.SetSize(10);
    grid.SetEnabled(true);
    TGuide guide;
    guide.SetEnabled(true);
    guide.SetGuide(0, 600, 0);
    guide.SetGuide(1, 0, 600);
    if (state.range(0) == 3)
        SetSnapHook([&](TPoint logical) {
            return AsSnapOffset(FaceSnapOffset(logical, 26, &grid, &guide, false));
        });
    TDrawSite site;
    site.Scaler().SetUnitDPI(254);
    site.SetLogWidth(1200);
    site.SetLogHeight(1200);
    for (int i = 0; i < 200; ++i) {
        const int32_t x = (i * 137) % 1100;
        const int32_t y = (i * 251) % 1100;
        const int32_t size = 40 + (i * 37) % 120;
        site.AddObject(site.InsertOwnedObject(std::make_unique<TBenchShape>(TRect{x, y, x + size, y + size})));
    }
    TBitmap screen(site.Width(), site.Height());
    site.Host.ScreenCanvas = [&]() -> TCanvas* { return &screen.Canvas(); };
    site.PaintWindow(screen.Canvas(), {0, 0, site.Width(), site.Height()});

    TDrawObject& dragged = site.Objects(0);
    dragged.SetSelected(true);
    site.RefreshHandles();
    const TRect& bounds = dragged.BoundsRect();
    const TPoint from = state.range(0) == 2 ? TPoint{bounds.Right, bounds.Bottom}
                                            : TPoint{(bounds.Left + bounds.Right) / 2, (bounds.Top + bounds.Bottom) / 2};
    site.MouseDown({TMouseButton::mbLeft, ssLeft, from});
    int step = 0;
    for (auto _ : state) {
        ++step;
        site.MouseMove({TMouseButton::mbLeft, ssLeft, {from.x + 5 + step % 40, from.y + 5 + step % 30}});
        benchmark::DoNotOptimize(screen.Bits());
    }
    site.CancelMode();
    MoveSettings() = saved;
    SetSnapHook({});
}
BENCHMARK(BM_GhostStep)->ArgName("kind")->Arg(0)->Arg(1)->Arg(2)->Arg(3);

}  // namespace
