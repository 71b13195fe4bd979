#pragma once
// A face of a paper as a clickable object on a paper site: it draws the
// face's print area, its trim line and optionally its number and caption,
// answers hits inside the face's shape only, and keeps its face geometry in
// step when it is moved or resized. A view object: never stored.

#include "document/lo_rect_base.h"
#include "paper/face_info.h"

#include <functional>
#include <memory>

namespace orvella {

class TGhost;
class TPaperSite;

// The fill of a selected face: red 255, green 232, blue 175.
inline constexpr TColor kDefaultFaceColor = 11528191;

class TLOFace : public TLORectBase {
    ORVELLA_PERSISTENT(TLOFace)

public:
    const TFaceInfo& FaceInfo() const { return faceInfo_; }
    // Copies the face; the object's bounds are not moved by it.
    void SetFaceInfo(const TFaceInfo& face);

    // Whether the face can be moved or resized (it is Movable then).
    bool Editable() const { return editable_; }
    void SetEditable(bool editable);
    // Face selection, apart from the site's object selection: a selected
    // face is filled with FaceColor.
    bool FaceSelected() const { return faceSelected_; }
    void SetFaceSelected(bool selected);
    // Selecting an exclusive face deselects the other faces of its site.
    bool Exclusive() const { return exclusive_; }
    void SetExclusive(bool exclusive) { exclusive_ = exclusive; }
    // Draw the face's number and caption.
    bool ShowInfo() const { return showInfo_; }
    void SetShowInfo(bool show);
    TColor FaceColor() const { return faceColor_; }
    void SetFaceColor(TColor color);
    // Called when a mouse press changed the face selection.
    std::function<void(TLOFace&)> OnSelect;

    // A left-button press on the face: selects an exclusive face, toggles
    // any other; the other faces of the site follow an exclusive one.
    void Press();

    // The outline a whole-face move drags; when none is installed the
    // designers are asked as for any other object.
    static std::function<std::unique_ptr<TGhost>(TLOFace&)> MakeMoveGhost;

    bool HitTest(TPoint logical) override;
    void ShowHandles() override;
    void BeginDrag(int handleIndex) override;
    void SetExtent(int32_t width, int32_t height) override;
    void DrawOutline(TCanvas& canvas) override;
    // Only while editable or not yet on a site; the face geometry follows.
    void SetBoundsRect(const TRect& rect) override;
    void Paint(TCanvas& canvas) override;
    void Assign(const TDrawObject& source) override;

private:
    // "number [caption]" in blue at the face's top-left corner.
    void paintInfo(TCanvas& canvas);
    TPaperSite* paperSite() const;

    TFaceInfo faceInfo_;
    bool editable_ = false;
    bool faceSelected_ = false;
    bool exclusive_ = false;
    bool showInfo_ = false;
    TColor faceColor_ = kDefaultFaceColor;
};

}  // namespace orvella
