#include "formats/property_table.h"

#include "document/lo_face.h"

#include "document/paper_site.h"
#include "drawing/ghost_list.h"
#include "graphics/canvas_guards.h"
#include "paper/paper_info.h"

#include <cstdio>

namespace orvella {

std::function<std::unique_ptr<TGhost>(TLOFace&)> TLOFace::MakeMoveGhost;

const TClassInfo& TLOFace::StaticClassInfo()
{
    static const TClassInfo info = DeclareClass<TLOFace, TLORectBase>("TLOFace", {});
    return info;
}

void TLOFace::SetFaceInfo(const TFaceInfo& face)
{
    if (face == faceInfo_)
        return;
    faceInfo_ = face;
    Invalidate();
    Changed();
}

void TLOFace::SetEditable(bool editable)
{
    editable_ = editable;
    SetMovable(editable);
}

void TLOFace::SetFaceSelected(bool selected)
{
    if (selected == faceSelected_)
        return;
    faceSelected_ = selected;
    Invalidate();
}

void TLOFace::SetShowInfo(bool show)
{
    if (show == showInfo_)
        return;
    showInfo_ = show;
    Invalidate();
}

void TLOFace::SetFaceColor(TColor color)
{
    if (color == faceColor_)
        return;
    faceColor_ = color;
    if (faceSelected_)
        Invalidate();
}

TPaperSite* TLOFace::paperSite() const
{
    return dynamic_cast<TPaperSite*>(Parent());
}

void TLOFace::Press()
{
    const bool wasSelected = faceSelected_;
    SetFaceSelected(exclusive_ ? true : !faceSelected_);
    bool changed = faceSelected_ != wasSelected;
    if (exclusive_ && faceSelected_ && Parent()) {
        for (std::size_t i = 0; i < Parent()->ObjectCount(); ++i) {
            auto* other = dynamic_cast<TLOFace*>(&Parent()->Objects(i));
            if (other && other != this && other->faceSelected_) {
                other->SetFaceSelected(false);
                changed = true;
            }
        }
    }
    if (changed && OnSelect)
        OnSelect(*this);
}

bool TLOFace::HitTest(TPoint logical)
{
    return faceInfo_.CreateFaceRegion(nullptr, false).contains(QPoint(logical.x, logical.y));
}

void TLOFace::ShowHandles()
{
    if (editable_)
        TLORectBase::ShowHandles();
}

void TLOFace::BeginDrag(int handleIndex)
{
    if (handleIndex == -1 && MakeMoveGhost) {
        if (std::unique_ptr<TGhost> ghost = MakeMoveGhost(*this))
            GhostList().Add(std::move(ghost));
        return;
    }
    TLORectBase::BeginDrag(handleIndex);
}

void TLOFace::SetExtent(int32_t width, int32_t height)
{
    const TRect& r = Rect();
    SetBoundsRect({r.Left, r.Top, OffsetCoordinate(r.Left, width), OffsetCoordinate(r.Top, height)});
}

void TLOFace::DrawOutline(TCanvas& canvas)
{
    faceInfo_.DrawPrintArea(canvas, false, false);
}

void TLOFace::SetBoundsRect(const TRect& rect)
{
    if (!editable_ && Parent())
        return;
    // One change report, after the face geometry has followed.
    BeginUpdate();
    const TRect before = Rect();
    TLORectBase::SetBoundsRect(rect);
    if (Rect() != before)
        faceInfo_.SetOuterRect(Rect());
    EndUpdate();
}

void TLOFace::Paint(TCanvas& canvas)
{
    const auto saved = SaveCanvasState(canvas, true);
    {
        // The fill and the trim line stay inside the face's shape; the hole
        // is white whether the face is selected or not.
        const auto clip = SaveClip(canvas);
        QRegion shape = faceInfo_.CreateFaceRegion(&canvas, false);
        if (canvas.ClipRegion())
            shape = shape.intersected(*canvas.ClipRegion());
        canvas.SelectClipRgn(shape);
        canvas.Pen().Style = TPenStyle::psClear;
        canvas.Brush() = TBrush{faceSelected_ ? faceColor_ : clWhite, TBrushStyle::bsSolid};
        faceInfo_.DrawPrintArea(canvas, false, false);
        canvas.Brush() = TBrush{clWhite, TBrushStyle::bsSolid};
        faceInfo_.DrawHole(canvas, false);
        canvas.Pen() = TPen{clBlack, 0, TPenStyle::psDot, R2_COPYPEN};
        canvas.Brush().Style = TBrushStyle::bsClear;
        faceInfo_.DrawTrimLine(canvas, false);
    }
    // The outline lies on the shape's edge, which a region of whole pixels
    // would partly cut away.
    canvas.Pen() = TPen{clBlack, 1, TPenStyle::psSolid, R2_COPYPEN};
    canvas.Brush().Style = TBrushStyle::bsClear;
    faceInfo_.DrawPrintArea(canvas, false, false);
    // The number goes over the face's corner even where a disc leaves the
    // corner empty; the object's bounds still clip it.
    if (showInfo_)
        paintInfo(canvas);
}

void TLOFace::paintInfo(TCanvas& canvas)
{
    int index = 0;
    int32_t scale = 100;
    int32_t unitsPerInch = 254;
    std::string caption = faceInfo_.FacePurpose;
    if (TPaperSite* site = paperSite()) {
        for (std::size_t i = 0; i < site->ObjectCount() && &site->Objects(i) != this; ++i)
            if (dynamic_cast<const TLOFace*>(&site->Objects(i)))
                ++index;
        if (site->Scaler().Scale() > 0)
            scale = site->Scaler().Scale();
        unitsPerInch = site->Scaler().UnitDPI();
        if (const TPaperInfo* paper = site->Paper()) {
            const int purpose = paper->PurposeList.IndexOf(faceInfo_.FacePurpose);
            if (purpose >= 0 && !paper->PurposeList.Items(std::size_t(purpose)).DisplayName.empty())
                caption = paper->PurposeList.Items(std::size_t(purpose)).DisplayName;
        }
    }
    char number[16];
    std::snprintf(number, sizeof number, "%d", index);
    const std::string text = std::string(number) + " [" + caption + "]";

    canvas.Font().PixelsPerInch = unitsPerInch;
    canvas.Font().Orientation = 0;
    canvas.Font().SetSize(1200 / scale);
    canvas.Font().Color = clBlue;
    canvas.SetTextColor(clBlue);
    canvas.SetBkMode(TRANSPARENT);
    canvas.SetTextAlign(TA_LEFT | TA_TOP);
    canvas.TextOut(Rect().Left, Rect().Top, text);
}

void TLOFace::Assign(const TDrawObject& source)
{
    if (&source == this)
        return;
    BeginUpdate();
    try {
        TLORectBase::Assign(source);
        if (const auto* other = dynamic_cast<const TLOFace*>(&source)) {
            SetFaceInfo(other->faceInfo_);
            exclusive_ = other->exclusive_;
            SetEditable(other->editable_);
        }
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

}  // namespace orvella
