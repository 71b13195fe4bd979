#pragma once
// The paper that layout and printing use. It is the sheet's own paper,
// except for a disc printed straight in a printer's disc tray: then the
// faces are centred on the tray's printable area and enlarged by the user's
// size adjustment. Whether a paper is printed that way, where the tray
// prints and which driver the printer runs are the printing layer's
// answers; it installs them here. Until it does, no paper is printed
// straight onto a disc.

#include "document/size_adjust.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace orvella {

class TPaperInfo;

// Where a disc tray prints, in 0.1 mm on the sheet the tray stands for.
struct TDiscArea {
    int32_t CenterX = 0;
    int32_t CenterY = 0;
    int32_t Width = 0;
    int32_t Height = 0;
};

struct TDirectPrintSupport {
    // True when the paper is printed straight onto a disc in the current printer.
    std::function<bool(const TPaperInfo& paper)> IsDirectPrintPaper;
    // The tray's printable area for the paper; none when it cannot be told.
    std::function<std::optional<TDiscArea>(const TPaperInfo& paper)> PrintableDiscArea;
    // The driver of the printer currently selected; part of the key the
    // effective paper is kept under, so that changing printers remakes it.
    std::function<std::string()> GetPrinterDriverName;
};

// Installs the printing layer's answers (members left empty keep their
// default); ResetDirectPrintSupport brings the defaults back.
// User-interface thread only.
void SetDirectPrintSupport(TDirectPrintSupport support);
void ResetDirectPrintSupport();
const TDirectPrintSupport& DirectPrintSupport();

// A copy of the paper laid out on the tray's area: the sheet takes the
// area's size, every face is centred on the area's centre and grows by
// adjust.Outer, every hole grows by adjust.Inner. Halves round toward zero.
std::unique_ptr<TPaperInfo> MakeDiscTrayPaper(const TPaperInfo& paper, const TDiscArea& area, TSizeAdjust adjust);

// The effective paper made anew: a copy of the paper, or its disc-tray
// layout when the support says it is printed onto a disc.
std::unique_ptr<TPaperInfo> MakeEffectivePaper(const TPaperInfo& paper);

// The key an effective paper is kept under: the paper's group name followed
// by the current printer's driver name.
std::string EffectivePaperKey(const TPaperInfo& paper);

}  // namespace orvella
