#include "formats/property_table.h"

#include "document/paper_site.h"

#include "document/lo_face.h"
#include "paper/paper_info.h"

#include <memory>
#include <stdexcept>

namespace orvella {

const TClassInfo& TPaperSite::StaticClassInfo()
{
    static const TClassInfo info = DeclareClass<TPaperSite, TDrawSite>("TPaperSite", {
        BooleanProperty("MultiSelect", &TPaperSite::MultiSelect, &TPaperSite::SetMultiSelect),
        BooleanProperty("DrawInfo", &TPaperSite::DrawInfo, &TPaperSite::SetDrawInfo),
        IntegerProperty("FaceColor", &TPaperSite::FaceColor, &TPaperSite::SetFaceColor)
            .Idents(ColorIdents()).Default(kDefaultFaceColor),
    });
    return info;
}

TPaperSite::TPaperSite() : faceColor_(kDefaultFaceColor), faceClass_(&TLOFace::StaticClassInfo())
{
    OnMouseDown = [this](TDrawSite&, const TSiteMouseEvent& event) { mouseDown(event); };
    OnMouseUp = [this](TDrawSite&, const TSiteMouseEvent& event) { mouseUp(event); };
}

void TPaperSite::SetMultiSelect(bool multiSelect)
{
    multiSelect_ = multiSelect;
    for (int i = 0; i < FaceCount(); ++i)
        Face(i)->SetExclusive(!multiSelect);
}

void TPaperSite::SetDrawInfo(bool drawInfo)
{
    drawInfo_ = drawInfo;
    for (int i = 0; i < FaceCount(); ++i)
        Face(i)->SetShowInfo(drawInfo);
}

void TPaperSite::SetFaceColor(TColor color)
{
    faceColor_ = color;
    for (int i = 0; i < FaceCount(); ++i)
        Face(i)->SetFaceColor(color);
}

void TPaperSite::SetFaceClass(const TClassInfo& faceClass)
{
    if (!faceClass.InheritsFrom(TLOFace::StaticClassInfo()) || !faceClass.IsCreatable())
        throw std::invalid_argument(faceClass.ClassName() + " cannot make the faces of a paper");
    faceClass_ = &faceClass;
}

void TPaperSite::ShowPaper(const TPaperInfo* paper, const TRect& clientArea)
{
    paper_ = paper;
    origin_ = {};
    while (ObjectCount() > 0)
        RemoveObject(Objects(ObjectCount() - 1));
    while (ComponentCount() > 0)
        RemoveComponent(Components(ComponentCount() - 1));
    if (!paper)
        return;

    Scaler().SetUnitDPI(254);
    SetLogWidth(paper->Width());
    SetLogHeight(paper->Height());
    if (!clientArea.IsEmpty()) {
        TCanvas screen;
        Scaler().SetScale(ZoomToFit(screen, clientArea, true, true));
        origin_ = {clientArea.Left + (clientArea.Right - clientArea.Left - Width()) / 2,
                   clientArea.Top + (clientArea.Bottom - clientArea.Top - Height()) / 2};
    }

    for (int32_t index = 0; index < paper->GetFaceCount(); ++index) {
        std::unique_ptr<TPersistent> made = faceClass_->Create();
        std::unique_ptr<TLOFace> face(static_cast<TLOFace*>(made.release()));
        face->SetExclusive(!multiSelect_);
        face->SetEditable(true);
        TFaceInfo info;
        info.LoadFromPaper(*paper, index);
        face->SetFaceInfo(info);
        face->SetBoundsRect(info.GetOuterRect());
        face->OnSelect = [this](TLOFace& selected) { faceSelected(selected); };
        face->SetFaceColor(faceColor_);
        face->SetShowInfo(drawInfo_);
        AddObject(InsertOwnedObject(std::move(face)));
    }
    // A freshly shown paper has nothing to save.
    SetModified(false);
}

int TPaperSite::FaceCount() const
{
    int count = 0;
    for (std::size_t i = 0; i < ObjectCount(); ++i)
        if (dynamic_cast<const TLOFace*>(&Objects(i)))
            ++count;
    return count;
}

TLOFace* TPaperSite::Face(int index) const
{
    if (index < 0)
        return nullptr;
    for (std::size_t i = 0; i < ObjectCount(); ++i)
        if (auto* face = dynamic_cast<TLOFace*>(&Objects(i)); face && index-- == 0)
            return face;
    return nullptr;
}

void TPaperSite::SelectFace(int index)
{
    TLOFace* chosen = Face(index);
    if (!chosen)
        return;
    chosen->SetFaceSelected(true);
    if (chosen->Exclusive())
        for (int i = 0; i < FaceCount(); ++i)
            if (Face(i) != chosen)
                Face(i)->SetFaceSelected(false);
}

bool TPaperSite::FaceSelected(int index) const
{
    const TLOFace* face = Face(index);
    return face && face->FaceSelected();
}

int TPaperSite::SelectedFaceIndex() const
{
    for (int i = 0; i < FaceCount(); ++i)
        if (Face(i)->FaceSelected())
            return i;
    return -1;
}

void TPaperSite::faceSelected(TLOFace&)
{
    faceClickPending_ = true;
}

void TPaperSite::mouseDown(const TSiteMouseEvent& event)
{
    if (event.Button == TMouseButton::mbLeft)
        if (auto* face = dynamic_cast<TLOFace*>(PressedObject()))
            face->Press();
    if (AfterMouseDown)
        AfterMouseDown(*this, event);
}

void TPaperSite::mouseUp(const TSiteMouseEvent& event)
{
    const bool clicked = faceClickPending_ && event.Button == TMouseButton::mbLeft;
    if (clicked)
        faceClickPending_ = false;
    if (clicked && OnFaceClick)
        OnFaceClick(*this);
    if (AfterMouseUp)
        AfterMouseUp(*this, event);
}

}  // namespace orvella
