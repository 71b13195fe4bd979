#pragma once
// The layout editor's operations over the selected objects of a face site:
// moving them against the face's outline or centre, and lining several up
// against each other. Each is one undo group with a change step per moved
// object.

namespace orvella {

class TDrawSite;
class TFaceInfo;

// The choices of position adjustment ("位置合わせ").
enum TAdjustChoice : int {
    acLeftEdge = 0,     // "左端に移動する"
    acRightEdge,        // "右端に移動する"
    acTopEdge,          // "上端に移動する"
    acBottomEdge,       // "下端に移動する"
    acMiddle,           // "上下中央に移動する"
    acCentre,           // "左右中央に移動する"
    acRadial,           // "中心に対して垂直にする"
    acTangential,       // "中心に対して水平にする"
};

// The choices of alignment ("位置揃え").
enum TAlignChoice : int {
    alLefts = 0,        // "左端で揃える"
    alRights,           // "右端で揃える"
    alTops,             // "上端で揃える"
    alBottoms,          // "下端で揃える"
    alCentresX,         // "左右中央で揃える"
    alCentresY,         // "上下中央で揃える"
    alSpaceX,           // "左右間隔を均等にする"
    alSpaceY,           // "上下間隔を均等にする"
};

// Moves (or, for the two angle choices, turns) each selected object; the
// face is that of the site, its outer rectangle taken at the origin.
// Objects without the interface a choice needs are left alone. Answers
// whether anything was selected to work on; a choice outside 0 to 7 does
// nothing and answers false.
bool AdjustPosition(TDrawSite& site, int choice, const TFaceInfo& face);

// Lines the selected objects up against the union of their bounds. Equal
// spacing orders them by their centres and keeps every one of them, the
// outermost keeping their outer edges. Answers false without two objects
// to work on or for a choice outside 0 to 7.
bool AlignObjects(TDrawSite& site, int choice);
// Two or more objects are selected.
bool CanAlignObjects(const TDrawSite& site);

}  // namespace orvella
