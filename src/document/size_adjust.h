#pragma once
// How much a disc label printed straight onto a disc is enlarged: the outer
// adjustment widens the face, the inner one widens the centre hole (0.1 mm
// each). The user keeps one pair per paper in the settings store.

#include <cstdint>

namespace orvella {

class TPaperInfo;

struct TSizeAdjust {
    int32_t Inner = 0;
    int32_t Outer = 0;
    friend bool operator==(const TSizeAdjust&, const TSizeAdjust&) = default;
};

// Keeps an adjustment within what the printer can use for a face whose
// nominal hole is holeWidth wide and whose nominal rectangle is faceWidth
// wide: the face no wider than 120 mm, the hole never below nothing, and a
// printed ring at least 5 mm wide.
TSizeAdjust ClampSizeAdjust(TSizeAdjust adjust, int32_t holeWidth, int32_t faceWidth);

// The paper's stored pair (0, 0 when none is stored or there are no
// settings), clamped against its first face. The pair lives under the key
// "$(SizeAdjustKey)\.<PaperName>", in the values "<GroupName>.Inner" and
// "<GroupName>.Outer".
TSizeAdjust ReadSizeAdjust(const TPaperInfo& paper);
// Stores the pair as given; does nothing when the program has no settings.
void WriteSizeAdjust(const TPaperInfo& paper, TSizeAdjust adjust);

}  // namespace orvella
