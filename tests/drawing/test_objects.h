#pragma once
// Drawing objects for the tests: a filled box with an optional see-through
// hole, which can be told to fail while painting, and a component that is
// no drawing object.

#include "formats/component.h"
#include "drawing/draw_object.h"
#include "drawing/ghost_list.h"

#include <string>

namespace orvella::test {

class TTestBox : public TDrawObject, public IDOEncloseBounds, public IDOBlend {
    ORVELLA_PERSISTENT(TTestBox)

public:
    TTestBox() = default;
    TTestBox(TRect box, int32_t layerGroup = 0, TColor color = clRed);

    TRect Box;
    TColor Fill = clRed;
    // Logical area inside the box that is not part of the object.
    TRect Hole;
    bool FailPaint = false;
    int32_t Ratio = 100;
    int PaintCount = 0;

    // TDrawObject
    bool HitTest(TPoint logical) override;
    TRect GetLogicalBounds() const override { return Box; }
    void ShowHandles() override;
    void BeginDrag(int handleIndex) override;
    void Paint(TCanvas& canvas) override;
    void* QueryInterface(const TGuid& iid) override;
    int AddRef() override { return TDrawObject::AddRef(); }
    int Release() override { return TDrawObject::Release(); }

    // IDOEncloseBounds
    void MoveBy(int32_t dx, int32_t dy) override;
    void SetExtent(int32_t width, int32_t height) override;

    // IDOBlend
    void SetBlendShade(bool) override {}
    bool GetBlendShade() const override { return false; }
    void SetBlendRatio(int32_t ratio) override { Ratio = ratio; }
    int32_t GetBlendRatio() const override { return Ratio; }

    int LastDragIndex = -100;

private:
    int32_t left() const { return Box.Left; }
    void setLeft(int32_t v) { Box.Left = v; }
    int32_t top() const { return Box.Top; }
    void setTop(int32_t v) { Box.Top = v; }
    int32_t right() const { return Box.Right; }
    void setRight(int32_t v) { Box.Right = v; }
    int32_t bottom() const { return Box.Bottom; }
    void setBottom(int32_t v) { Box.Bottom = v; }
    int32_t fill() const { return int32_t(Fill); }
    void setFill(int32_t v) { Fill = TColor(v); }
};

// A stored component that is not a drawing object.
class TNotDrawn : public TComponent {
    ORVELLA_PERSISTENT(TNotDrawn)

public:
    std::string Caption;
};

// Moves its box by the drag offset when applied.
class TMoveGhost : public TGhost {
public:
    explicit TMoveGhost(TTestBox& box) : box_(box) {}
    void Move(TPoint offset, TShiftState) override { offset_ = offset; }
    void Draw(TCanvas& canvas) override;
    void Apply(TShiftState) override;

private:
    TTestBox& box_;
    TPoint offset_;
};

// Registers the test classes once.
void RegisterTestClasses();

}  // namespace orvella::test
