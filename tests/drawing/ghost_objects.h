#pragma once
// Objects the drag outlines work on, each offering only the interfaces of
// its kind, as the label objects do: a rectangle (optionally turning), a
// line and a curve through three points. Their handles and outlines come
// from the designer registry.

#include "drawing/draw_object.h"

namespace orvella::test {

class TGhostShape : public TDrawObject, public IDOEncloseBounds, public IDOPosition, public IDODraw {
    ORVELLA_PERSISTENT(TGhostShape)

public:
    TGhostShape() = default;
    explicit TGhostShape(TRect rect) : Rect(rect) {}

    TRect Rect;
    bool Proportional = false;

    bool HitTest(TPoint logical) override;
    TRect GetLogicalBounds() const override { return Rect; }
    void ShowHandles() override;
    void BeginDrag(int handleIndex) override;
    void Paint(TCanvas& canvas) override;
    void* QueryInterface(const TGuid& iid) override;
    int AddRef() override { return TDrawObject::AddRef(); }
    int Release() override { return TDrawObject::Release(); }

    void MoveBy(int32_t dx, int32_t dy) override;
    void SetExtent(int32_t width, int32_t height) override;
    int32_t GetLeft() const override { return Rect.Left; }
    void SetLeft(int32_t value) override;
    int32_t GetTop() const override { return Rect.Top; }
    void SetTop(int32_t value) override;
    int32_t GetWidth() const override { return Rect.Right - Rect.Left; }
    void SetWidth(int32_t value) override;
    int32_t GetHeight() const override { return Rect.Bottom - Rect.Top; }
    void SetHeight(int32_t value) override;
    bool KeepsAspect() const override { return Proportional; }
    void PaintTo(TCanvas& canvas) override { TDrawObject::PaintTo(canvas); }
    void DrawOutline(TCanvas& canvas) override;

protected:
    void changed();

private:
    int32_t left() const { return Rect.Left; }
    void setLeft(int32_t v) { Rect.Left = v; }
    int32_t top() const { return Rect.Top; }
    void setTop(int32_t v) { Rect.Top = v; }
    int32_t right() const { return Rect.Right; }
    void setRight(int32_t v) { Rect.Right = v; }
    int32_t bottom() const { return Rect.Bottom; }
    void setBottom(int32_t v) { Rect.Bottom = v; }
    bool proportional() const { return Proportional; }
    void setProportional(bool v) { Proportional = v; }
};

// A shape that turns about its centre; its bounds stay the unturned
// rectangle, which is all the outlines need.
class TTurningShape : public TGhostShape, public IDORotate {
    ORVELLA_PERSISTENT(TTurningShape)

public:
    using TGhostShape::TGhostShape;
    int32_t Angle = 0;

    int32_t GetAngle() const override { return Angle; }
    void SetAngle(int32_t degrees) override;
    void* QueryInterface(const TGuid& iid) override;
    int AddRef() override { return TDrawObject::AddRef(); }
    int Release() override { return TDrawObject::Release(); }

private:
    int32_t angle() const { return Angle; }
    void setAngle(int32_t v) { Angle = v; }
};

class TGhostLine : public TDrawObject, public IDOEncloseBounds, public IDOLine, public IDODraw {
    ORVELLA_PERSISTENT(TGhostLine)

public:
    TGhostLine() = default;
    TGhostLine(TPoint start, TPoint end) : Start(start), End(end) {}

    TPoint Start;
    TPoint End;

    bool HitTest(TPoint logical) override;
    TRect GetLogicalBounds() const override;
    void ShowHandles() override;
    void BeginDrag(int handleIndex) override;
    void Paint(TCanvas& canvas) override { DrawOutline(canvas); }
    void* QueryInterface(const TGuid& iid) override;
    int AddRef() override { return TDrawObject::AddRef(); }
    int Release() override { return TDrawObject::Release(); }

    void MoveBy(int32_t dx, int32_t dy) override;
    void SetExtent(int32_t, int32_t) override {}
    TPoint GetStartPoint() const override { return Start; }
    void SetStartPoint(int32_t x, int32_t y) override;
    TPoint GetEndPoint() const override { return End; }
    void SetEndPoint(int32_t x, int32_t y) override;
    void PaintTo(TCanvas& canvas) override { TDrawObject::PaintTo(canvas); }
    void DrawOutline(TCanvas& canvas) override;

private:
    int32_t sx() const { return Start.x; }
    void setSx(int32_t v) { Start.x = v; }
    int32_t sy() const { return Start.y; }
    void setSy(int32_t v) { Start.y = v; }
    int32_t ex() const { return End.x; }
    void setEx(int32_t v) { End.x = v; }
    int32_t ey() const { return End.y; }
    void setEy(int32_t v) { End.y = v; }
};

class TGhostCurve : public TDrawObject, public IDOEncloseBounds, public IDOCurve, public IDODraw {
    ORVELLA_PERSISTENT(TGhostCurve)

public:
    TGhostCurve() = default;
    TGhostCurve(TPoint start, TPoint middle, TPoint end) : Start(start), Middle(middle), End(end) {}

    TPoint Start;
    TPoint Middle;
    TPoint End;
    // Edits begun and not yet ended; not copied.
    int OpenEdits = 0;

    bool HitTest(TPoint logical) override;
    TRect GetLogicalBounds() const override;
    void ShowHandles() override;
    void BeginDrag(int handleIndex) override;
    void Paint(TCanvas& canvas) override { DrawOutline(canvas); }
    void* QueryInterface(const TGuid& iid) override;
    int AddRef() override { return TDrawObject::AddRef(); }
    int Release() override { return TDrawObject::Release(); }

    void MoveBy(int32_t dx, int32_t dy) override;
    void SetExtent(int32_t, int32_t) override {}
    TPoint GetStartPoint() const override { return Start; }
    void SetStartPoint(int32_t x, int32_t y) override;
    TPoint GetEndPoint() const override { return End; }
    void SetEndPoint(int32_t x, int32_t y) override;
    void BeginEdit() override { ++OpenEdits; }
    void EndEdit() override { --OpenEdits; }
    TPoint GetMiddlePoint() const override { return Middle; }
    void SetMiddlePoint(TPoint point) override;
    void PaintTo(TCanvas& canvas) override { TDrawObject::PaintTo(canvas); }
    void DrawOutline(TCanvas& canvas) override;

private:
    int32_t sx() const { return Start.x; }
    void setSx(int32_t v) { Start.x = v; }
    int32_t sy() const { return Start.y; }
    void setSy(int32_t v) { Start.y = v; }
    int32_t mx() const { return Middle.x; }
    void setMx(int32_t v) { Middle.x = v; }
    int32_t my() const { return Middle.y; }
    void setMy(int32_t v) { Middle.y = v; }
    int32_t ex() const { return End.x; }
    void setEx(int32_t v) { End.x = v; }
    int32_t ey() const { return End.y; }
    void setEy(int32_t v) { End.y = v; }
};

void RegisterGhostTestClasses();

}  // namespace orvella::test
