#pragma once
// JAN symbols (EAN-13 and the short EAN-8 of ISO/IEC 15420): the check
// digit rules and TJANCode, the renderer that draws one symbol into a
// rectangle, optionally with its digits and a frame, turned by whole degrees.

#include "graphics/graphics_types.h"
#include "objects/transformer.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orvella {

class TCanvas;

// The check digit of the data digits: EAN-8 data for lengths 7 and 8 (its
// first 7 characters), EAN-13 data for 12 and more (its first 12); -1 for
// other lengths. Characters after the data are ignored.
int JANCheckDigit(std::string_view code);
// 8 or 13 decimal digits whose last is the check digit.
bool IsValidJANCode(std::string_view code);
// For lengths 7, 8, 12 and 13 the data digits followed by their check
// digit; the empty string otherwise.
std::string CompleteJANCode(std::string_view code);

class TJANCode {
public:
    // Draws code (8 or 13 digits; anything else draws nothing at all) into
    // rect turned by angle about its centre. The digits use the canvas's
    // font; pen, brush and font come back afterwards.
    void Draw(TCanvas& canvas, std::string_view code, const TRect& rect, bool showFrame, bool showNumber,
              int32_t angle);

private:
    enum class TPatternKind { Guard, Data };
    void drawPattern(std::string_view pattern, TPatternKind kind);
    // Notes a digit under the current module; drawDigits draws them all.
    void drawDigit(char digit);
    void drawDigits();
    TRect moduleRect(int32_t module) const;
    void fillTurned(const TRect& rect);

    TRect rect_;
    int32_t moduleCount_ = 0;
    TRotator rotator_;
    TCanvas* canvas_ = nullptr;
    bool showNumber_ = false;
    int32_t position_ = 0;
    int32_t digitHeight_ = 0;
    std::array<int32_t, 10> digitWidths_{};
    std::u32string digits_;
    std::vector<int32_t> digitOffsets_;  // from the first digit, along the baseline
    TPoint digitsOrigin_;                // the first digit's top left, unturned
};

void DrawJANCode(TCanvas& canvas, std::string_view code, const TRect& rect, bool showFrame, bool showNumber,
                 int32_t angle);

}  // namespace orvella
