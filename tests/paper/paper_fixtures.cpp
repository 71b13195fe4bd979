#include "paper_fixtures.h"

#include "graphics/graphics_types.h"

namespace orvella::test {

std::unique_ptr<TMatrixPaperInfo> GridPaper(const std::string& name, int32_t columns, int32_t rows, TFaceShape shape)
{
    auto paper = std::make_unique<TMatrixPaperInfo>();
    paper->PaperName = name;
    paper->GroupName = "Grid";
    paper->PortraitWidth = 2100;
    paper->PortraitHeight = 2970;
    paper->LeftOffset = 100;
    paper->TopOffset = 200;
    paper->RightMargin = 30;
    paper->BottomMargin = 40;
    paper->FaceWidth = 500;
    paper->FaceHeight = 300;
    paper->FaceCountX = columns;
    paper->FaceCountY = rows;
    paper->Face.FaceShape = shape;
    paper->Face.FacePurpose = "CD";
    return paper;
}

std::unique_ptr<TFreePaperInfo> DiscAndTrayPaper(const std::string& name)
{
    auto paper = std::make_unique<TFreePaperInfo>();
    paper->PaperName = name;
    paper->GroupName = "Free";
    paper->PortraitWidth = 2100;
    paper->PortraitHeight = 2970;
    TFaceItem& disc = paper->Faces.Add();
    disc.SetRect({465, 120, 1635, 1290});
    disc.Face.FaceShape = fsDoughnut;
    disc.Face.FacePurpose = "CD";
    disc.Face.CutCenterWidth = disc.Face.CutCenterHeight = 170;
    TFaceItem& tray = paper->Faces.Add();
    tray.SetRect({300, 1450, 1800, 2630});
    tray.Face.FacePurpose = "CDCaseTray";
    tray.Face.FaceMargin = 20;
    return paper;
}

}  // namespace orvella::test
