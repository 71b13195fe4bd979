#pragma once
// Rectangles (optionally with rounded corners) and ellipses, turned about
// their centre. The outline is a path of points built in unrotated
// coordinates, turned point by point and cached until the rectangle, the
// angle or the corner style changes. The inside and the frame each paint
// by clipping the canvas to their area and letting a colour fill cover the
// figure's bounds.

#include "document/lo_rect_base.h"
#include "graphics/color_fill.h"
#include "graphics/stroke.h"

#include <QPainterPath>

namespace orvella {

class TLORect : public TLORectBase, public IDORotate, public IDOColorSpec {
    ORVELLA_PERSISTENT(TLORect)

public:
    TLORect();
    ~TLORect() override;

    // --- stored properties ---
    // 0 means no frame.
    int32_t FrameWidth() const { return frameWidth_; }
    void SetFrameWidth(int32_t width);
    TColorSpec& FrameColor() { return frameColor_; }
    const TColorSpec& FrameColor() const { return frameColor_; }
    void SetFrameColor(const TColorSpec& color) { frameColor_.Assign(color); }
    TColorSpec& FillColor() { return fillColor_; }
    const TColorSpec& FillColor() const { return fillColor_; }
    void SetFillColor(const TColorSpec& color) { fillColor_.Assign(color); }
    bool FillInside() const { return fillInside_; }
    void SetFillInside(bool fill);
    int32_t Angle() const { return angle_; }
    bool RoundRect() const { return roundRect_; }
    void SetRoundRect(bool round);

    // The centre the figure turns about.
    TPoint RotationCentre() const;
    // The turned outline, rebuilt when stale.
    const TStroke& Outline() const;

    // --- operations in their slot order ---
    void SetExtent(int32_t width, int32_t height) override;
    void DrawOutline(TCanvas& canvas) override;
    void SetBoundsRect(const TRect& rect) override;
    void SetAngle(int32_t degrees) override;
    // Builds the outline afresh (cached; called when it is stale).
    virtual void RebuildOutline() const;

    // --- capabilities ---
    int32_t GetAngle() const override { return angle_; }
    // The frame's colour.
    const TColorSpec& GetColorSpec() const override { return frameColor_; }
    void SetColorSpec(const TColorSpec& colorFill) override { SetFrameColor(colorFill); }

    // --- drawing object ---
    TRect GetLogicalBounds() const override;
    bool HitTest(TPoint logical) override;
    void Paint(TCanvas& canvas) override;
    void PaintMask(TBitmap& mask) override;
    void Assign(const TDrawObject& source) override;
    void DefineProperties(TFiler& filer) override;
    void* QueryInterface(const TGuid& iid) override;

protected:
    // The outline as a painter path in logical units.
    QPainterPath OutlinePath() const;
    // The outline widened by a square-capped, mitred pen.
    QPainterPath FrameBand(int32_t width) const;
    bool PaintsInside() const;
    void PaintInside(TCanvas& canvas);
    // The frame band shown on the canvas: on a site at least two pixels wide.
    int32_t ShownFrameWidth() const;
    void InvalidateOutline();
    // Turns a rectangle's corners about the figure's centre into a closed path.
    QPainterPath TurnedRectPath(const TRect& r) const;
    // Stores a freshly built unrotated outline turned by the angle.
    void SetTurnedOutline(TStroke outline) const;
    void ChangedAndRepaint();

private:
    // The fill's capability, apart from the frame's IDOColorSpec whose
    // operations carry the same names: disabled while the inside is not
    // painted; counted on the rectangle.
    class TFillCapability final : public IDOOptionalColorSpec {
    public:
        explicit TFillCapability(TLORect& owner) : owner_(owner) {}
        void* QueryInterface(const TGuid& iid) override { return owner_.QueryInterface(iid); }
        int AddRef() override { return owner_.AddRef(); }
        int Release() override { return owner_.Release(); }
        const TColorSpec& GetColorSpec() const override { return owner_.fillColor_; }
        void SetColorSpec(const TColorSpec& colorFill) override { owner_.SetFillColor(colorFill); }
        bool GetDisabled() const override { return !owner_.fillInside_; }
        void SetDisabled(bool disabled) override { owner_.SetFillInside(!disabled); }

    private:
        TLORect& owner_;
    };

    int32_t frameWidth_ = 10;
    TColorSpec frameColor_;
    TColorSpec fillColor_;
    bool fillInside_ = false;
    int32_t angle_ = 0;
    bool roundRect_ = false;
    mutable TStroke outline_;
    mutable bool outlineValid_ = false;
    TFillCapability fillCapability_{*this};
};

// An ellipse in the rectangle, drawn as four Bézier quarters.
class TLOCircle : public TLORect {
    ORVELLA_PERSISTENT(TLOCircle)

public:
    void RebuildOutline() const override;
    void Paint(TCanvas& canvas) override;
};

}  // namespace orvella
