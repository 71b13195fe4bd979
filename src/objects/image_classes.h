#pragma once
// The picture objects' part of the object classes: their stream classes,
// their creation commands, how backgrounds are brought into a face, and the
// entry points the layout editor uses for pictures dropped onto a face and
// for the background position menu.

#include "graphics/graphics_types.h"

#include <memory>
#include <string>
#include <vector>

namespace orvella {

class TLOBackImage;
class TLOCreator;
class TLOImage;

// Called by RegisterObjectClasses; the commands and hooks only once.
void RegisterImageClasses();
void RegisterImageCommands(TLOCreator& creator);

// A picture object for an image file dropped onto a face of the given size
// (logical units): its logical size at 180 pixels per inch, shrunk into the
// face when larger, centred on the face. Raises EInvalidGraphic (or a file
// error) for a file that is no readable picture.
std::unique_ptr<TLOImage> CreateImageObjectFromFile(const std::string& path, TSize faceSize);

// --- the background position menu ---

enum class TBackgroundPosition { bpCenter, bpStart, bpEnd, bpTile };

struct TBackgroundPositionItem {
    std::string Caption;
    TBackgroundPosition Choice;
    bool Enabled;
};

// The menu's choices for a background on a face of faceSize: "イメージの中央",
// "イメージの左端" and "イメージの右端" ("上端" and "下端" when the face's
// proportions cut the picture at top and bottom), "イメージを並べる". All are
// disabled unless the background is filled with a picture. ("詳細設定..."
// belongs to the editor, which opens the background editor.)
std::vector<TBackgroundPositionItem> BackgroundPositionItems(const TLOBackImage& background, TSize faceSize);
// True when the background is filled with a picture (the menu is enabled).
bool HasBackgroundPicture(const TLOBackImage& background);
// Applies a choice. Tiling is switched on only by bpTile; any other choice
// clips the largest rectangle of the face's proportions out of the picture,
// centred, or moved to the picture's left-top (bpStart) or right-bottom
// (bpEnd) corner. The caller makes it one change step "背景変更".
void ApplyBackgroundPosition(TLOBackImage& background, TBackgroundPosition choice, TSize faceSize);
// The same as the change step "背景変更" in the program's history (recorded
// only when the background changed and lies on a site).
void ApplyBackgroundPositionStep(TLOBackImage& background, TBackgroundPosition choice, TSize faceSize);

}  // namespace orvella
