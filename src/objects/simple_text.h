#pragma once
// The layout engine of a text object: lines of text in one font, aligned,
// horizontal or vertical, spaced, turned, slanted or laid on an arc, measured
// once on the measuring surface and drawn on any canvas spread to the
// measured widths. Lines are laid out on demand and kept until a property
// that changes the layout changes.

#include "objects/point_based_font.h"
#include "objects/text_layout.h"

#include <functional>
#include <string>
#include <vector>

namespace orvella {

class TCanvas;
class TStroke;

class TSimpleText {
public:
    // Shown and laid out in place of an empty text.
    static constexpr const char* kPlaceholder = "未入力項目";

    TSimpleText();
    TSimpleText(const TSimpleText&) = delete;
    TSimpleText& operator=(const TSimpleText&) = delete;

    const std::vector<std::string>& Text() const { return text_; }
    void SetText(std::vector<std::string> lines);
    TPointBasedFont& Font() { return font_; }
    const TPointBasedFont& Font() const { return font_; }
    // 0 left, 1 centre, 2 right, 3 justify.
    int32_t Align() const { return align_; }
    void SetAlign(int32_t align);
    bool Vertical() const { return vertical_; }
    void SetVertical(bool vertical);
    int32_t CharSpacing() const { return charSpacing_; }
    void SetCharSpacing(int32_t spacing);
    int32_t LineSpacing() const { return lineSpacing_; }
    void SetLineSpacing(int32_t spacing);
    // Height of the arc over its chord; positive arcs upwards.
    int32_t Bulge() const { return bulge_; }
    void SetBulge(int32_t bulge);
    int32_t Angle() const { return angle_; }
    void SetAngle(int32_t degrees);
    bool HanToZen() const { return hanToZen_; }
    void SetHanToZen(bool value);
    bool NumToKnj() const { return numToKnj_; }
    void SetNumToKnj(bool value);
    bool MinusExc() const { return minusExc_; }
    void SetMinusExc(bool value);
    int32_t FeedAngle() const { return feedAngle_; }
    void SetFeedAngle(int32_t degrees);
    // The colour the owner draws with next.
    TColor DrawingColor() const { return drawingColor_; }
    void SetDrawingColor(TColor color) { drawingColor_ = color; }

    // Changes inside are reported once, at the outermost EndUpdate.
    void BeginUpdate() { ++updateCount_; }
    void EndUpdate();
    // Called after a change (or once after an update that changed anything).
    std::function<void()> OnChange;

    // The font's cell height on the measuring surface.
    int32_t LineHeight() const;
    // The text as shown: the placeholder for an empty text, converted when
    // a conversion is on.
    const std::vector<std::string>& DisplayLines() const;
    // Ink bounds of all shown lines laid out in rect; justified lines count
    // as left-aligned when ignoreJustify is set.
    TRect TextBounds(const TRect& rect, bool ignoreJustify = false) const;
    // Draws the text with underline and strike-out in the drawing colour.
    void DrawText(TCanvas& canvas, const TRect& rect) const;
    // The outlines DrawText would fill, as a polygon stroke (winding fill);
    // withLines adds underline and strike-out bars.
    void TextPath(TStroke& stroke, const TRect& rect, bool withLines = true) const;
    // The chord and circle the arc layout uses for rect (no arc when the
    // chord has no length).
    struct TArc {
        double CentreX = 0;
        double CentreY = 0;
        double Radius = 0;
        double Start = 0;  // angle where the text starts
        double Sweep = 0;
        double OuterRadius = 0;
        bool Valid = false;
    };
    TArc ArcOfChord(const TRect& rect) const;

    void Assign(const TSimpleText& source);

private:
    const TCharLayout& layoutOf(std::size_t line) const;
    // Lays out every shown line in rect and returns the line shift along the
    // writing direction the feed angle asks for.
    std::vector<int32_t> placeLines(int32_t width, int32_t align) const;
    void drawText(TCanvas& canvas, const TRect& rect, bool withLines) const;
    void drawPlain(TCanvas& canvas, const TRect& rect, bool withLines) const;
    void drawRotated(TCanvas& canvas, const TRect& rect, bool withLines) const;
    void drawArc(TCanvas& canvas, const TRect& rect) const;
    // Underline and strike-out of one line: the line's rectangle (before
    // turning) and the turn about rect's centre.
    void drawBars(TCanvas& canvas, const TRect& lineRect, const TRect& rect, int32_t angle) const;
    void changed(bool layout, bool conversion = false);

    std::vector<std::string> text_;
    TPointBasedFont font_;
    int32_t align_ = 0;
    bool vertical_ = false;
    int32_t charSpacing_ = 0;
    int32_t lineSpacing_ = 0;
    int32_t bulge_ = 0;
    int32_t angle_ = 0;
    bool hanToZen_ = false;
    bool numToKnj_ = false;
    bool minusExc_ = false;
    int32_t feedAngle_ = 0;
    TColor drawingColor_ = clBlack;

    int updateCount_ = 0;
    bool pending_ = false;
    mutable std::vector<TCharLayout> layouts_;
    mutable std::vector<int32_t> shifts_;  // feed-angle shift of each line
    mutable std::vector<std::string> displayLines_;
    mutable bool displayValid_ = false;
};

}  // namespace orvella
