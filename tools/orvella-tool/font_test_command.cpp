// orvella-tool font-test OUT.png
// Draws a sample sheet of the font engine through the canvas: for a Gothic
// and a Mincho face, the metrics the engine reports, a horizontal line, a
// line turned by 45 degrees and a vertical "@" column, each with its
// reference point marked, for a person to check by eye.

#include "commands.h"

#include "graphics/bitmap.h"
#include "graphics/canvas.h"
#include "platform/fonts/font_engine.h"

#include <iostream>
#include <string>

namespace orvella::tool {

namespace {

constexpr int32_t kColumnWidth = 760;
constexpr int32_t kSheetHeight = 960;
constexpr int32_t kSampleHeight = 32;
const char* const kSample = "ディスクラベル（縦書き）ー。Label 2026";

void markReference(TCanvas& canvas, int32_t x, int32_t y)
{
    canvas.Pen() = {clRed, 0, TPenStyle::psSolid, R2_COPYPEN};
    canvas.MoveTo(x - 6, y);
    canvas.LineTo(x + 7, y);
    canvas.MoveTo(x, y - 6);
    canvas.LineTo(x, y + 7);
}

void setFont(TCanvas& canvas, const std::string& face, int32_t height, int32_t orientation)
{
    canvas.Font().Name = face;
    canvas.Font().Height = -height;
    canvas.Font().Orientation = orientation;
    canvas.Font().Color = clBlack;
}

void drawMetrics(TCanvas& canvas, const std::string& face, int32_t left)
{
    setFont(canvas, face, kSampleHeight, 0);
    const std::shared_ptr<const IFont> font = canvas.RealizedFont();
    const TTextMetric metric = font->TextMetric();
    const TOutlineMetrics outline = font->OutlineMetrics();
    const TABC abc = font->CharABC(U'デ');
    const std::string lines[] = {
        face + " → " + font->FamilyName() + ", height -" + std::to_string(kSampleHeight),
        "Height " + std::to_string(metric.Height) + "  Ascent " + std::to_string(metric.Ascent) + "  Descent " +
            std::to_string(metric.Descent) + "  InternalLeading " + std::to_string(metric.InternalLeading),
        "AveCharWidth " + std::to_string(metric.AveCharWidth) + "  MaxCharWidth " + std::to_string(metric.MaxCharWidth) +
            "  ABC(デ) " + std::to_string(abc.A) + "/" + std::to_string(abc.B) + "/" + std::to_string(abc.C),
        "Underscore " + std::to_string(outline.UnderscorePosition) + "/" + std::to_string(outline.UnderscoreSize) +
            "  Strikeout " + std::to_string(outline.StrikeoutPosition) + "/" + std::to_string(outline.StrikeoutSize) +
            "  EmHeight " + std::to_string(outline.EmHeight),
    };
    setFont(canvas, face, 15, 0);
    int32_t y = 12;
    for (const std::string& line : lines) {
        canvas.TextOut(left + 20, y, line);
        y += 20;
    }
}

void drawColumn(TCanvas& canvas, const std::string& face, int32_t left)
{
    drawMetrics(canvas, face, left);

    // Horizontal, on a baseline guide, with underline and an opaque cell.
    canvas.SetTextAlign(TA_BASELINE);
    setFont(canvas, face, kSampleHeight, 0);
    canvas.Pen() = {RGB(160, 200, 255), 0, TPenStyle::psSolid, R2_COPYPEN};
    canvas.MoveTo(left + 10, 150);
    canvas.LineTo(left + kColumnWidth - 10, 150);
    canvas.TextOut(left + 20, 150, kSample);
    markReference(canvas, left + 20, 150);

    canvas.Brush() = {RGB(255, 245, 200), TBrushStyle::bsSolid};
    canvas.Font().Underline = true;
    canvas.TextOut(left + 20, 200, "縦書きと横書き underline");
    canvas.Font().Underline = false;
    canvas.Brush().Style = TBrushStyle::bsClear;
    markReference(canvas, left + 20, 200);

    // Turned by 45 degrees about its reference point.
    canvas.SetTextAlign(TA_TOP);
    setFont(canvas, face, kSampleHeight, 450);
    canvas.TextOut(left + 30, 760, kSample);
    markReference(canvas, left + 30, 760);

    // The vertical face running down the page: full-width characters stand
    // upright, Latin lies on its side.
    setFont(canvas, "@" + face, kSampleHeight, 2700);
    canvas.TextOut(left + kColumnWidth - 30, 240, kSample);
    markReference(canvas, left + kColumnWidth - 30, 240);
}

}  // namespace

int RunFontTest(const Arguments& args)
{
    if (args.size() != 1)
        return UsageError("font-test");
    TBitmap sheet(2 * kColumnWidth, kSheetHeight, TPixelFormat::pf32bit);
    TCanvas& canvas = sheet.Canvas();
    canvas.Brush().Color = clWhite;
    canvas.FillRect({0, 0, sheet.Width(), sheet.Height()});
    canvas.Pen() = {RGB(200, 200, 200), 0, TPenStyle::psSolid, R2_COPYPEN};
    canvas.MoveTo(kColumnWidth, 0);
    canvas.LineTo(kColumnWidth, kSheetHeight);
    canvas.Brush().Style = TBrushStyle::bsClear;

    drawColumn(canvas, "ＭＳ ゴシック", 0);
    drawColumn(canvas, "ＭＳ 明朝", kColumnWidth);

    if (!sheet.SaveToPng(args[0])) {
        std::cerr << "orvella-tool: cannot write " << args[0] << '\n';
        return 1;
    }
    return 0;
}

}  // namespace orvella::tool
