#pragma once
// The bitmap "TransformPattern" of the pattern selection: a sample word
// drawn through every pattern, one 94 x 37 cell per pattern, four cells to
// a row, sixteen rows.

#include <QImage>

#include <vector>

namespace orvella {
class TCoonsDistortion;
}

namespace orvella::cddc {

inline constexpr int kCellWidth = 94;
inline constexpr int kCellHeight = 37;
inline constexpr int kColumns = 4;
inline constexpr int kRows = 16;
inline constexpr int kMaxPatterns = kColumns * kRows;

QImage RenderThumbnails(const std::vector<const TCoonsDistortion*>& patterns);

}  // namespace orvella::cddc
