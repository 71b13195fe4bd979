#pragma once
// The label objects bounded by one rectangle in logical units, kept
// normalised (Left <= Right, Top <= Bottom). Stored as Left, Top, Width and
// Height; the position, bounds, rectangle and drawing capabilities work on
// the same rectangle. It draws nothing itself.

#include "document/label_object.h"

namespace orvella {

class TLORectBase : public TLabelObject,
                    public IDORect,
                    public IDOEncloseBounds,
                    public IDOPosition,
                    public IDODraw {
    ORVELLA_PERSISTENT(TLORectBase)

public:
    const TRect& Rect() const { return rect_; }

    // Left and Top move the rectangle keeping its size; Width and Height
    // keep Left and Top, a negative value flipping the rectangle there.
    int32_t GetLeft() const override { return rect_.Left; }
    void SetLeft(int32_t value) override;
    int32_t GetTop() const override { return rect_.Top; }
    void SetTop(int32_t value) override;
    int32_t GetWidth() const override { return rect_.Right - rect_.Left; }
    void SetWidth(int32_t value) override;
    int32_t GetHeight() const override { return rect_.Bottom - rect_.Top; }
    void SetHeight(int32_t value) override;

    // --- in their slot order ---
    // Resizes to a bounding extent (the resize handles use it).
    void SetExtent(int32_t width, int32_t height) override = 0;
    // The figure's outline with the canvas's current pen (drag outlines).
    void DrawOutline(TCanvas& canvas) override = 0;
    bool KeepsAspect() const override { return false; }
    // Normalises; a different rectangle is stored, the device bounds follow
    // and the change is reported.
    virtual void SetBoundsRect(const TRect& rect);

    void MoveBy(int32_t dx, int32_t dy) override;
    TRect GetRect() const override { return rect_; }
    TRect GetLogicalBounds() const override { return rect_; }
    // Right and bottom edges are outside.
    bool HitTest(TPoint logical) override;
    void PaintTo(TCanvas& canvas) override { TLabelObject::PaintTo(canvas); }
    void Assign(const TDrawObject& source) override;
    void* QueryInterface(const TGuid& iid) override;

private:
    TRect rect_;
};

// left + extent within the 32-bit range.
int32_t OffsetCoordinate(int32_t left, int64_t extent);

}  // namespace orvella
