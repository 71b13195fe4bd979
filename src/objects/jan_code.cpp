#include "objects/jan_code.h"

#include "graphics/canvas.h"
#include "graphics/canvas_guards.h"
#include "platform/fonts/font_engine.h"
#include "platform/win_math.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace orvella {

namespace {

// ISO/IEC 15420: the seven modules of each digit in the three sets
// (1 = dark). Set C is set A with every module inverted.
constexpr std::array<const char*, 10> kSetA = {"0001101", "0011001", "0010011", "0111101", "0100011",
                                               "0110001", "0101111", "0111011", "0110111", "0001011"};
constexpr std::array<const char*, 10> kSetB = {"0100111", "0110011", "0011011", "0100001", "0011101",
                                               "0111001", "0000101", "0010001", "0001001", "0010111"};
constexpr std::array<const char*, 10> kSetC = {"1110010", "1100110", "1101100", "1000010", "1011100",
                                               "1001110", "1010000", "1000100", "1001000", "1110100"};
// The sets of the six left digits of EAN-13, chosen by the leading digit.
constexpr std::array<const char*, 10> kParity = {"OOOOOO", "OOEOEE", "OOEEOE", "OOEEEO", "OEOOEE",
                                                 "OEEOOE", "OEEEOO", "OEOEOE", "OEOEEO", "OEEOEO"};
constexpr const char* kEdgeGuard = "101";
constexpr const char* kCentreGuard = "01010";
constexpr int32_t kQuietModules = 7;

// Sums and differences of stored coordinates, kept inside 32 bits.
int32_t Saturated(int64_t value)
{
    return int32_t(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
}

TRect Inset(const TRect& rect, int32_t by)
{
    return {Saturated(int64_t(rect.Left) + by), Saturated(int64_t(rect.Top) + by), Saturated(int64_t(rect.Right) - by),
            Saturated(int64_t(rect.Bottom) - by)};
}

bool AllDigits(std::string_view code)
{
    return std::all_of(code.begin(), code.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace

int JANCheckDigit(std::string_view code)
{
    std::size_t dataDigits = 0;
    if (code.size() >= 7 && code.size() <= 8)
        dataDigits = 7;
    else if (code.size() >= 12)
        dataDigits = 12;
    else
        return -1;
    // Right-aligned in thirteen places ending at place 12; the check digit
    // would take place 13.
    std::array<int, 13> places{};
    for (std::size_t i = 0; i < dataDigits; ++i)
        places[13 - dataDigits + i] = code[i] - '0';
    int even = 0;
    int odd = 0;
    for (std::size_t place = 0; place < places.size(); ++place)
        (place % 2 == 0 ? even : odd) += places[place];
    // Non-digit characters (only from damaged documents) must not push the
    // remainder below zero.
    const int remainder = ((odd + 3 * even + 9) % 10 + 10) % 10;
    return 9 - remainder;
}

bool IsValidJANCode(std::string_view code)
{
    return (code.size() == 8 || code.size() == 13) && AllDigits(code) &&
           code.back() == char('0' + JANCheckDigit(code));
}

std::string CompleteJANCode(std::string_view code)
{
    std::size_t dataDigits = 0;
    if (code.size() == 7 || code.size() == 8)
        dataDigits = 7;
    else if (code.size() == 12 || code.size() == 13)
        dataDigits = 12;
    else
        return {};
    return std::string(code.substr(0, dataDigits)) + char('0' + JANCheckDigit(code));
}

TRect TJANCode::moduleRect(int32_t module) const
{
    const int32_t width = Saturated(int64_t(rect_.Right) - rect_.Left);
    return {Saturated(int64_t(rect_.Left) + MulDiv(module, width, moduleCount_)), rect_.Top,
            Saturated(int64_t(rect_.Left) + MulDiv(module + 1, width, moduleCount_)), rect_.Bottom};
}

void TJANCode::fillTurned(const TRect& rect)
{
    const TPoint corners[4] = {rotator_.Transformed({rect.Left, rect.Top}),
                               rotator_.Transformed({rect.Right - 1, rect.Top}),
                               rotator_.Transformed({rect.Right - 1, rect.Bottom - 1}),
                               rotator_.Transformed({rect.Left, rect.Bottom - 1})};
    canvas_->Polygon({corners[0], corners[1], corners[2], corners[3]});
}

void TJANCode::drawPattern(std::string_view pattern, TPatternKind kind)
{
    canvas_->Brush().Color = clBlack;
    canvas_->Brush().Style = TBrushStyle::bsSolid;
    int32_t raise = 0;
    if (showNumber_)
        raise = kind == TPatternKind::Data ? digitHeight_ + 2 : digitHeight_ / 2 + 2;
    int32_t barStart = -1;
    auto drawBar = [&](int32_t lastModule) {
        TRect bar = moduleRect(barStart);
        bar.Right = moduleRect(lastModule).Right;
        bar.Bottom = Saturated(int64_t(bar.Bottom) - raise);
        fillTurned(bar);
        barStart = -1;
    };
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const int32_t module = position_ + int32_t(i);
        if (pattern[i] == '1') {
            if (barStart < 0)
                barStart = module;
        } else if (barStart >= 0) {
            drawBar(module - 1);
        }
    }
    if (barStart >= 0)
        drawBar(position_ + int32_t(pattern.size()) - 1);
    position_ += int32_t(pattern.size());
}

void TJANCode::drawDigit(char digit)
{
    const TSize extent{digitWidths_[std::size_t(digit - '0')], digitHeight_};
    const int32_t cellLeft = moduleRect(position_).Left;
    const int32_t cellWidth = Saturated(int64_t(moduleRect(position_ + 7).Left) - cellLeft);
    int32_t offset = extent.cx < cellWidth ? (cellWidth - extent.cx) / 2 : 0;
    if (offset == 0)
        offset = 1;
    // The digits share one baseline: they are drawn together as one run
    // once the bars are done (a run costs about as much as a digit).
    const TPoint at{Saturated(int64_t(cellLeft) + offset), Saturated(int64_t(rect_.Bottom) - extent.cy - 1)};
    if (digits_.empty())
        digitsOrigin_ = at;
    digits_.push_back(char32_t(digit));
    digitOffsets_.push_back(Saturated(int64_t(at.x) - digitsOrigin_.x));
}

void TJANCode::drawDigits()
{
    if (digits_.empty())
        return;
    const TPoint at = rotator_.Transformed(digitsOrigin_);
    canvas_->Brush().Style = TBrushStyle::bsClear;
    canvas_->TextOutAt(at.x, at.y, digits_, digitOffsets_);
    digits_.clear();
    digitOffsets_.clear();
}

void TJANCode::Draw(TCanvas& canvas, std::string_view code, const TRect& rect, bool showFrame, bool showNumber,
                    int32_t angle)
{
    // A stored code of another length, or one that is not all digits, has
    // no symbol.
    if ((code.size() != 8 && code.size() != 13) || !AllDigits(code))
        return;
    const TCanvasSaver saver(canvas, false);
    rect_ = rect;
    rotator_.SetCentre({(rect.Left + rect.Right) / 2, (rect.Top + rect.Bottom) / 2});
    rotator_.SetAngle(angle);
    canvas_ = &canvas;
    showNumber_ = showNumber;
    const bool ean8 = code.size() == 8;
    moduleCount_ = ean8 ? 81 : 109;

    if (showNumber) {
        canvas.Font().Orientation = 3600 - ((angle * 10) % 3600);
        // Measured once: realising a font is the dearest step of drawing.
        const std::shared_ptr<const IFont> font = canvas.RealizedFont();
        digitHeight_ = font->TextMetric().Height;
        for (std::size_t d = 0; d < digitWidths_.size(); ++d)
            digitWidths_[d] = font->TextWidth(std::string(1, char('0' + d)));
    }

    TPen& pen = canvas.Pen();
    pen.Mode = R2_COPYPEN;
    pen.Style = TPenStyle::psInsideFrame;
    pen.Color = showFrame ? clBlack : clWhite;
    pen.Width = showFrame ? 3 : 0;
    canvas.Brush().Color = clWhite;
    canvas.Brush().Style = TBrushStyle::bsSolid;
    // An inside-frame pen keeps a polygon's outline inside it only when
    // the outline runs half the pen's width in from the edge.
    if (showFrame)
        fillTurned(Inset(rect_, 1));
    else
        fillTurned(rect_);

    pen.Color = clBlack;
    pen.Width = 0;
    if (showFrame)
        rect_ = Inset(rect_, 10);

    position_ = 0;
    if (!ean8 && showNumber)
        drawDigit(code[0]);
    position_ = kQuietModules;
    drawPattern(kEdgeGuard, TPatternKind::Guard);

    const std::string_view left = ean8 ? code.substr(0, 4) : code.substr(1, 6);
    const std::string_view right = ean8 ? code.substr(4, 4) : code.substr(7, 6);
    const std::string_view parity = ean8 ? std::string_view("OOOO") : kParity[std::size_t(code[0] - '0')];
    for (std::size_t i = 0; i < left.size(); ++i) {
        if (showNumber)
            drawDigit(left[i]);
        const std::size_t digit = std::size_t(left[i] - '0');
        drawPattern(parity[i] == 'O' ? kSetA[digit] : kSetB[digit], TPatternKind::Data);
    }
    drawPattern(kCentreGuard, TPatternKind::Guard);
    for (char c : right) {
        if (showNumber)
            drawDigit(c);
        drawPattern(kSetC[std::size_t(c - '0')], TPatternKind::Data);
    }
    drawPattern(kEdgeGuard, TPatternKind::Guard);
    drawDigits();
}

void DrawJANCode(TCanvas& canvas, std::string_view code, const TRect& rect, bool showFrame, bool showNumber,
                 int32_t angle)
{
    TJANCode renderer;
    renderer.Draw(canvas, code, rect, showFrame, showNumber, angle);
}

}  // namespace orvella
