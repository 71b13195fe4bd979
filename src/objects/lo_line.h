#pragma once
// Straight lines and arcs between two end points. A line turns about the
// middle of its end points; an arc rises Bulge units off the middle of its
// chord and turns about the centre of its bounds. Both paint by clipping the
// canvas to the figure widened by a round-capped pen and letting LineColor
// fill what is left, so gradients and pictures follow the figure.

#include "document/label_object.h"
#include "graphics/color_fill.h"

#include <QPainterPath>

namespace orvella {

class TLOLine : public TLabelObject,
                public IDOEncloseBounds,
                public IDORect,
                public IDODraw,
                public IDORotate,
                public IDOLine,
                public IDOColorSpec {
    ORVELLA_PERSISTENT(TLOLine)

public:
    TLOLine();
    ~TLOLine() override;

    // --- stored properties ---
    int32_t StartX() const { return start_.x; }
    void SetStartX(int32_t x) { SetStartPoint(x, start_.y); }
    int32_t StartY() const { return start_.y; }
    void SetStartY(int32_t y) { SetStartPoint(start_.x, y); }
    int32_t EndX() const { return end_.x; }
    void SetEndX(int32_t x) { SetEndPoint(x, end_.y); }
    int32_t EndY() const { return end_.y; }
    void SetEndY(int32_t y) { SetEndPoint(end_.x, y); }
    TColorSpec& LineColor() { return lineColor_; }
    const TColorSpec& LineColor() const { return lineColor_; }
    // Copies; the copy reports the change.
    void SetLineColor(const TColorSpec& color) { lineColor_.Assign(color); }
    int32_t LineWidth() const { return lineWidth_; }
    // The direction from start to end in whole degrees, -180 to 180, 90
    // pointing down the page.
    int32_t Angle() const;

    TPoint StartPoint() const { return start_; }
    TPoint EndPoint() const { return end_; }
    TPoint RotationCentre() const { return centre_; }

    // --- operations in their slot order ---
    void MoveBy(int32_t dx, int32_t dy) override;
    void SetExtent(int32_t width, int32_t height) override;
    void DrawOutline(TCanvas& canvas) override;
    // Turns both end points about the rotation centre by the difference.
    void SetAngle(int32_t degrees) override;
    void SetStartPoint(int32_t x, int32_t y) override;
    void SetEndPoint(int32_t x, int32_t y) override;
    virtual void SetLineWidth(int32_t width);

    // --- capabilities ---
    int32_t GetAngle() const override { return Angle(); }
    TPoint GetStartPoint() const override { return start_; }
    TPoint GetEndPoint() const override { return end_; }
    const TColorSpec& GetColorSpec() const override { return lineColor_; }
    void SetColorSpec(const TColorSpec& colorFill) override { SetLineColor(colorFill); }
    // The normalised rectangle of the end points.
    TRect GetRect() const override;

    // --- drawing object ---
    TRect GetLogicalBounds() const override;
    bool HitTest(TPoint logical) override;
    void Paint(TCanvas& canvas) override;
    void PaintMask(TBitmap& mask) override;
    void PaintTo(TCanvas& canvas) override { TLabelObject::PaintTo(canvas); }
    void Assign(const TDrawObject& source) override;
    void* QueryInterface(const TGuid& iid) override;

    // The figure as a path in logical units: the segment, or the arc.
    virtual QPainterPath CentreLine() const;

protected:
    // Where the object turns; recomputed after every end point change.
    virtual TPoint ComputeRotationCentre() const;
    void UpdateRotationCentre() { centre_ = ComputeRotationCentre(); }
    // Stores an end point without reports (SetAngle reports once for both).
    void StorePoints(TPoint start, TPoint end);
    // The widened figure, the area painted and hit.
    QPainterPath Band(int32_t extraWidth) const;
    void ChangedAndRepaint();

private:
    TPoint start_{0, 0};
    TPoint end_{0, 0};
    TPoint centre_{0, 0};
    int32_t lineWidth_ = 10;
    TColorSpec lineColor_;
};

// An arc over the chord from start to end, or a flat parabola where the arc
// would be nearly straight or huge.
class TLOCurve : public TLOLine, public IDOCurve {
    ORVELLA_PERSISTENT(TLOCurve)

public:
    TLOCurve();

    // The signed distance of the arc's middle from the chord's middle.
    int32_t Bulge() const { return bulge_; }
    void SetBulge(int32_t bulge);

    // --- the curve's editing interface (start, end and bulge handles) ---
    TPoint GetStartPoint() const override { return TLOLine::GetStartPoint(); }
    void SetStartPoint(int32_t x, int32_t y) override { TLOLine::SetStartPoint(x, y); }
    TPoint GetEndPoint() const override { return TLOLine::GetEndPoint(); }
    void SetEndPoint(int32_t x, int32_t y) override { TLOLine::SetEndPoint(x, y); }
    void BeginEdit() override { BeginUpdate(); }
    void EndEdit() override { EndUpdate(); }
    // The arc's middle point.
    TPoint GetMiddlePoint() const override;
    // Bends the arc through point: Bulge becomes the signed sagitta of the
    // circle through start, point and end.
    void SetMiddlePoint(TPoint point) override;

    void SetExtent(int32_t width, int32_t height) override;
    // The arc (or parabola) with the canvas's pen.
    void DrawOutline(TCanvas& canvas) override;
    void Assign(const TDrawObject& source) override;
    void* QueryInterface(const TGuid& iid) override;
    QPainterPath CentreLine() const override;

protected:
    TPoint ComputeRotationCentre() const override;

private:
    void traceArc(TCanvas& canvas) const;

    int32_t bulge_ = 30;
};

}  // namespace orvella
