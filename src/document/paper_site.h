#pragma once
// The draw site that shows a whole paper: one face object per face of the
// paper, in the paper's order, which the user selects by clicking. The sheet
// window, the print window and the wizard show their papers on it, each
// with its own face class.

#include "drawing/draw_site.h"

#include <functional>

namespace orvella {

class TLOFace;
class TPaperInfo;

class TPaperSite : public TDrawSite {
    ORVELLA_PERSISTENT(TPaperSite)

public:
    TPaperSite();

    // --- stored properties ---
    // Off: selecting a face deselects the others.
    bool MultiSelect() const { return multiSelect_; }
    void SetMultiSelect(bool multiSelect);
    // The faces draw their number and caption.
    bool DrawInfo() const { return drawInfo_; }
    void SetDrawInfo(bool drawInfo);
    TColor FaceColor() const { return faceColor_; }
    void SetFaceColor(TColor color);

    // Raised on the mouse release after a press that changed the face
    // selection. The site answers OnMouseDown and OnMouseUp itself; their
    // callers hook AfterMouseDown and AfterMouseUp instead.
    std::function<void(TPaperSite&)> OnFaceClick;
    std::function<void(TDrawSite&, const TSiteMouseEvent&)> AfterMouseDown;
    std::function<void(TDrawSite&, const TSiteMouseEvent&)> AfterMouseUp;

    // The paper shown, not owned: whoever frees it calls ShowPaper(nullptr)
    // first. With a client area, the scale is fitted into it and Origin
    // centres the site there.
    const TPaperInfo* Paper() const { return paper_; }
    void ShowPaper(const TPaperInfo* paper, const TRect& clientArea = {});
    TPoint Origin() const { return origin_; }
    // The class the faces are made of: TLOFace or a descendant.
    void SetFaceClass(const TClassInfo& faceClass);
    const TClassInfo& FaceClass() const { return *faceClass_; }

    // --- faces, in the paper's order ---
    int FaceCount() const;
    TLOFace* Face(int index) const;
    // Selects the face as a click would, without the callbacks.
    void SelectFace(int index);
    bool FaceSelected(int index) const;
    // -1 when none is selected.
    int SelectedFaceIndex() const;

private:
    void faceSelected(TLOFace& face);
    void mouseDown(const TSiteMouseEvent& event);
    void mouseUp(const TSiteMouseEvent& event);

    bool multiSelect_ = false;
    bool drawInfo_ = false;
    TColor faceColor_;
    const TPaperInfo* paper_ = nullptr;
    const TClassInfo* faceClass_;
    TPoint origin_;
    bool faceClickPending_ = false;
};

}  // namespace orvella
