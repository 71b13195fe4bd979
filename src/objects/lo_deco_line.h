#pragma once
// A decorative line: a pattern picture repeated along the line, as many
// whole copies as fit at the line's width, laid onto the band around the
// line. The laid-out picture is cached until the pattern, an end point or
// the width changes; moving the line keeps it.

#include "graphics/bitmap.h"
#include "graphics/masked_image.h"
#include "graphics/picture_ex.h"
#include "objects/lo_line.h"

#include <filesystem>
#include <vector>

namespace orvella {

// Pixels the band holds uncovered and the picture is keyed on when drawn.
inline constexpr TColor kDecoLineBackground = 0xF0F0F0;

// The pattern pictures' folder under the content folder and what the user
// is asked for when it is missing.
inline constexpr char kDecoLineFolder[] = "ILLUST\\DecoLine";
inline constexpr char kDecoLineDisplayName[] = "飾り罫線データ";

class TLODecoLine : public TLOLine {
    ORVELLA_PERSISTENT(TLODecoLine)

public:
    TLODecoLine();
    ~TLODecoLine() override;

    TPictureEx& Image() { return image_; }
    const TPictureEx& Image() const { return image_; }
    // Copies the picture.
    void SetImage(const TPictureEx& picture) { image_.Assign(picture); }

    // Takes the pattern from a picture file. A line not yet on a site is
    // sized to show six copies, the pattern's pixels taken at 180 per inch.
    void ChoosePattern(const std::filesystem::path& file);

    // How many copies of the pattern fit along a strip of that size (at least one).
    static int32_t CopyCount(int32_t stripWidth, int32_t stripHeight, int32_t patternWidth, int32_t patternHeight);

    // The cached rendering (empty until painted) and where it lies beyond
    // the rectangle of the end points, side by side.
    const TBitmap& Rendered() const { return rendered_; }
    TRect RenderedOffset() const { return offset_; }
    // The four corners of the band around the line, P0 and P1 at the start,
    // P2 and P3 at the end; P0 lies on the left looking from start to end,
    // where the pattern's top edge goes.
    std::vector<TPoint> BandCorners() const;

    void SetStartPoint(int32_t x, int32_t y) override;
    void SetEndPoint(int32_t x, int32_t y) override;
    // Widths below 1 are set as 1.
    void SetLineWidth(int32_t width) override;
    void DrawOutline(TCanvas& canvas) override;
    void Paint(TCanvas& canvas) override;
    void Assign(const TDrawObject& source) override;

private:
    void forgetRendering();
    // Lays the pattern along the line; false when there is nothing to lay.
    bool render();

    TPictureEx image_;
    TBitmap rendered_;
    TRect offset_;
    TMaskedImage masked_;
};

// The pattern pictures of the content folder, sorted by name; empty when the
// folder is not found.
std::vector<std::filesystem::path> DecoLinePatternFiles();

}  // namespace orvella
