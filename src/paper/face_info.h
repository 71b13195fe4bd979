#pragma once
// The resolved geometry of one face of a paper: where the face lies, its
// bleed, its hole and its outline, as printing, the face objects and the
// editors use it. Also the two layout checks of a paper.

#include "graphics/canvas.h"
#include "paper/face_shape.h"

#include <QRegion>

#include <string>

namespace orvella {

class TPaperInfo;

class TFaceInfo {
public:
    TRect FaceRect;
    int32_t CutCenterWidth = 410;
    int32_t CutCenterHeight = 410;
    TFaceShape FaceShape = fsRect;
    std::string FacePurpose;
    int32_t FaceMargin = 0;
    TCenterShape CenterShape = csEllipse;
    int32_t RoundSize = 100;

    // Face index of the paper, turned when the paper lies in landscape.
    void LoadFromPaper(const TPaperInfo& paper, int32_t index);
    // A legacy face type code sets shape and purpose.
    void SetFaceType(int32_t code);

    // The face with its bleed margin.
    TRect GetOuterRect() const;
    void SetOuterRect(const TRect& outer);
    // The nominal hole, centred in the face.
    TRect GetCenterRect() const;
    // The hole as printed: the bleed reaches into it too.
    TRect GetHoleRect() const;
    void SetCutCenterSize(int32_t size) { CutCenterWidth = CutCenterHeight = size; }
    bool HasCenterHole() const { return ShapeHasCenterHole(FaceShape); }
    bool HasRoundCorners() const { return ShapeHasRoundCorners(FaceShape); }

    // The outline region on the outer rectangle, less the hole when cutHole
    // is set. With a canvas the region is in its device pixels.
    QRegion CreateFaceRegion(const TCanvas* canvas, bool cutHole) const;

    // With atOrigin, the outer rectangle is moved to (0, 0) first.
    void DrawPrintArea(TCanvas& canvas, bool atOrigin, bool withCross) const;
    void DrawTrimLine(TCanvas& canvas, bool atOrigin) const;
    void DrawHole(TCanvas& canvas, bool atOrigin) const;

    friend bool operator==(const TFaceInfo&, const TFaceInfo&) = default;

private:
    TPoint originShift(bool atOrigin) const;
};

// The first face whose bounds leave the sheet, or -1.
int32_t FindFaceOutsidePaper(const TPaperInfo& paper);
// The first face whose outline meets an earlier face's outline, or -1.
int32_t FindOverlappingFace(const TPaperInfo& paper);

}  // namespace orvella
