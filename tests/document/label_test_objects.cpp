#include "formats/property_table.h"

#include "label_test_objects.h"

#include "formats/class_registry.h"

namespace orvella::test {

const TClassInfo& TLOTestRect::StaticClassInfo()
{
    static const TClassInfo info = DeclareClass<TLOTestRect, TLORectBase>("TLOTestRect", {});
    return info;
}

void TLOTestRect::SetExtent(int32_t width, int32_t height)
{
    SetBoundsRect({GetLeft(), GetTop(), GetLeft() + width, GetTop() + height});
}

void TLOTestRect::DrawOutline(TCanvas& canvas)
{
    canvas.Rectangle(GetLeft(), GetTop(), Rect().Right, Rect().Bottom);
}

void TLOTestRect::Paint(TCanvas& canvas)
{
    canvas.Brush() = TBrush{Fill, TBrushStyle::bsSolid};
    canvas.FillRect(Rect());
}

const TClassInfo& TLOTestFace::StaticClassInfo()
{
    static const TClassInfo info = DeclareClass<TLOTestFace, TLOFace>("TLOTestFace", {});
    return info;
}

const TClassInfo& TSheetAids::StaticClassInfo()
{
    static const TClassInfo info = DeclareClass<TSheetAids, TComponent>("TSheetAids", {
        ObjectProperty("Grid", &TSheetAids::Grid),
        ObjectProperty("Guide", &TSheetAids::Guide),
    });
    return info;
}

void RegisterLabelTestClasses()
{
    RegisterClass(TLOTestRect::StaticClassInfo());
    RegisterClass(TSheetAids::StaticClassInfo());
}

std::unique_ptr<TMatrixPaperInfo> DiscPaper()
{
    auto paper = std::make_unique<TMatrixPaperInfo>();
    paper->PaperName = "Discs";
    paper->GroupName = "Test";
    paper->PortraitWidth = 1000;
    paper->PortraitHeight = 600;
    paper->LeftOffset = 20;
    paper->TopOffset = 20;
    paper->RightMargin = 10;
    paper->BottomMargin = 10;
    paper->FaceWidth = 300;
    paper->FaceHeight = 300;
    paper->FaceCountX = 3;
    paper->FaceCountY = 2;
    paper->Face.FaceShape = fsDoughnut;
    paper->Face.FacePurpose = "CD";
    paper->Face.CutCenterWidth = paper->Face.CutCenterHeight = 100;
    return paper;
}

}  // namespace orvella::test
