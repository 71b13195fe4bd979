// orvella-tool colorspec-test OUT.png
// Draws every kind of colour fill, for a person to check
// by eye: each gradient kind at 0, 45 and 90 degrees, the hatches over a
// solid background, and a picture stretched, tiled and tiled with shifted
// rows.

#include "commands.h"

#include "graphics/bitmap.h"
#include "graphics/canvas.h"
#include "graphics/color_fill.h"

#include <iostream>
#include <string>

namespace orvella::tool {

namespace {

constexpr int32_t kSwatch = 110;
constexpr int32_t kGap = 14;
constexpr int32_t kLabelHeight = 18;
constexpr int32_t kColumns = 9;

const char* const kGradKindNames[] = {"Simple",      "BoxToRim",       "BoxToCenter", "CircleToRim",
                                      "CircleToCenter", "Cone clockwise", "Cone counter"};

struct TSheet {
    TCanvas& canvas;
    int32_t cell = 0;

    TRect next(const std::string& label)
    {
        const int32_t column = cell % kColumns, row = cell / kColumns;
        ++cell;
        const int32_t left = kGap + column * (kSwatch + kGap);
        const int32_t top = kGap + row * (kSwatch + kGap + kLabelHeight);
        canvas.Font().Height = -12;
        canvas.Font().Color = clBlack;
        canvas.Brush().Style = TBrushStyle::bsClear;
        canvas.TextOut(left, top, label);
        return {left, top + kLabelHeight, left + kSwatch, top + kLabelHeight + kSwatch};
    }
};

// A small picture with a recognisable corner, so that stretching, tiling and
// the shifted rows can be told apart.
void makeTilePicture(TBitmap& picture)
{
    picture.SetSize(30, 20, TPixelFormat::pf24bit);
    TCanvas& canvas = picture.Canvas();
    canvas.Brush() = {RGB(255, 230, 160), TBrushStyle::bsSolid};
    canvas.FillRect({0, 0, 30, 20});
    canvas.Brush().Color = RGB(40, 120, 200);
    canvas.Pen() = {RGB(20, 60, 120), 0, TPenStyle::psSolid, R2_COPYPEN};
    canvas.Ellipse(4, 3, 20, 17);
    canvas.Brush().Color = clRed;
    canvas.FillRect({24, 0, 30, 6});
}

}  // namespace

int RunColorSpecTest(const Arguments& args)
{
    if (args.size() != 1)
        return UsageError("colorspec-test");
    const int32_t rows = 4;
    TBitmap sheetBitmap(kGap + kColumns * (kSwatch + kGap), kGap + rows * (kSwatch + kGap + kLabelHeight),
                        TPixelFormat::pf24bit);
    TCanvas& canvas = sheetBitmap.Canvas();
    canvas.Brush() = {clWhite, TBrushStyle::bsSolid};
    canvas.FillRect({0, 0, sheetBitmap.Width(), sheetBitmap.Height()});
    canvas.Font().Name = "ＭＳ Ｐゴシック";
    TSheet sheet{canvas};

    for (int kind = 0; kind < 7; ++kind)
        for (const int32_t angle : {0, 45, 90}) {
            TColorSpec fill;
            fill.SetKind(TColorSpecKind::cskGradation);
            fill.SetGradKind(TGradKind(kind));
            fill.SetGradAngle(angle);
            fill.GradColors().SetColors({RGB(255, 40, 40), RGB(250, 220, 40), RGB(30, 90, 220)});
            fill.Fill(canvas, sheet.next(std::string(kGradKindNames[kind]) + " " + std::to_string(angle) + "°"));
        }
    {
        TColorSpec fill;
        fill.SetKind(TColorSpecKind::cskGradation);
        fill.GradColors().SetColors({clWhite, RGB(0, 100, 60)});
        fill.GradColors().SetRepeatCount(3);
        fill.Fill(canvas, sheet.next("Simple ×3 repeats"));
    }

    const char* const styles[] = {"bsSolid", "bsClear", "bsHorizontal", "bsVertical", "bsFDiagonal",
                                  "bsBDiagonal", "bsCross", "bsDiagCross"};
    for (int style = 0; style < 8; ++style) {
        const TRect place = sheet.next(styles[style]);
        canvas.Brush() = {RGB(230, 240, 255), TBrushStyle::bsSolid};
        canvas.FillRect(place);
        TColorSpec fill;
        fill.SetColor(RGB(0, 80, 160));
        fill.SetStyle(TBrushStyle(style));
        fill.Fill(canvas, place);
    }

    TBitmap picture;
    makeTilePicture(picture);
    const struct {
        const char* label;
        bool tile, shift;
    } pictureFills[] = {{"stretched", false, false}, {"tiled", true, false}, {"tiled, shifted rows", true, true}};
    for (const auto& layout : pictureFills) {
        const TRect place = sheet.next(layout.label);
        const auto saved = canvas.SaveDC();
        canvas.IntersectClipRect(place);
        TColorSpec fill;
        fill.SetBitmap(picture);
        fill.SetKind(TColorSpecKind::cskBitmap);
        fill.SetTile(layout.tile);
        fill.SetTileShift(layout.shift);
        fill.Fill(canvas, place);
        canvas.RestoreDC(saved);
    }
    {
        TColorSpec fill;
        fill.SetBitmap(picture);
        fill.SetKind(TColorSpecKind::cskBitmap);
        fill.SetTile(true);
        fill.DrawPreview(canvas, sheet.next("preview, tiled"));
        TColorSpec clear;
        clear.SetStyle(TBrushStyle::bsClear);
        clear.DrawPreview(canvas, sheet.next("preview, clear"));
    }

    if (!sheetBitmap.SaveToPng(args[0])) {
        std::cerr << "orvella-tool: cannot write " << args[0] << '\n';
        return 1;
    }
    return 0;
}

}  // namespace orvella::tool
