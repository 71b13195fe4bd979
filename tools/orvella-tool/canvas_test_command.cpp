// orvella-tool canvas-test OUT.png
// Draws a test card of the canvas layer, once at 100 % and once at 400 %:
// every pen, brush and hatch, the raster operations, paths, shapes, strokes,
// arcs and anti-aliased lines, for a person to check by eye.

#include "commands.h"

#include "graphics/arc_geometry.h"
#include "graphics/bitmap.h"
#include "graphics/bitmap_for_rect.h"
#include "graphics/canvas.h"
#include "graphics/canvas_guards.h"
#include "graphics/rect_utils.h"
#include "graphics/stroke.h"

#include <cmath>
#include <iostream>
#include <numbers>

namespace orvella::tool {

namespace {

// The card in logical units (one unit is one pixel at 100 %).
constexpr int32_t kCardWidth = 400;
constexpr int32_t kCardHeight = 300;
constexpr int32_t kZoom = 4;

void drawPens(TCanvas& canvas)
{
    const int32_t widths[] = {0, 1, 2, 3, 5};
    int32_t x = 10;
    for (int32_t width : widths) {
        canvas.Pen() = {clBlack, width, TPenStyle::psSolid, R2_COPYPEN};
        canvas.MoveTo(x, 10);
        canvas.LineTo(x + 30, 40);
        x += 40;
    }
    const TPenStyle styles[] = {TPenStyle::psDash, TPenStyle::psDot, TPenStyle::psDashDot, TPenStyle::psDashDotDot};
    int32_t y = 10;
    for (TPenStyle style : styles) {
        canvas.Pen() = {clBlue, 0, style, R2_COPYPEN};
        canvas.MoveTo(210, y);
        canvas.LineTo(390, y);
        y += 8;
    }
    // A dotted line over red with an opaque background, and an XOR pen crossing a fill.
    canvas.SetBkMode(OPAQUE);
    canvas.SetBkColor(RGB(255, 200, 200));
    canvas.Pen() = {clRed, 0, TPenStyle::psDot, R2_COPYPEN};
    canvas.MoveTo(210, y);
    canvas.LineTo(300, y);
    canvas.Brush() = {RGB(0, 128, 0), TBrushStyle::bsSolid};
    canvas.Pen().Style = TPenStyle::psClear;
    canvas.Rectangle(310, 38, 390, 48);
    canvas.Pen() = {clWhite, 3, TPenStyle::psSolid, R2_XORPEN};
    canvas.MoveTo(305, 43);
    canvas.LineTo(395, 43);
    canvas.Pen() = TPen{};
}

void drawBrushes(TCanvas& canvas)
{
    const TBrushStyle styles[] = {TBrushStyle::bsSolid,     TBrushStyle::bsHorizontal, TBrushStyle::bsVertical,
                                  TBrushStyle::bsFDiagonal, TBrushStyle::bsBDiagonal,  TBrushStyle::bsCross,
                                  TBrushStyle::bsDiagCross, TBrushStyle::bsClear};
    int32_t x = 10;
    for (TBrushStyle style : styles) {
        canvas.Brush() = {RGB(0, 0, 160), style};
        canvas.SetBkMode(OPAQUE);
        canvas.SetBkColor(RGB(255, 255, 160));
        canvas.Rectangle(x, 55, x + 40, 75);
        canvas.SetBkMode(TRANSPARENT);
        canvas.Rectangle(x, 78, x + 40, 98);
        x += 48;
    }
    canvas.SetBkMode(OPAQUE);
}

void drawRasterOperations(TCanvas& canvas)
{
    // Source: four quadrants; destination: stripes; pattern: a hatch.
    TBitmap source(20, 20, TPixelFormat::pf24bit);
    TCanvas& s = source.Canvas();
    s.Brush().Color = clBlack;
    s.FillRect({0, 0, 10, 10});
    s.Brush().Color = clWhite;
    s.FillRect({10, 0, 20, 10});
    s.Brush().Color = clRed;
    s.FillRect({0, 10, 10, 20});
    s.Brush().Color = RGB(0, 200, 255);
    s.FillRect({10, 10, 20, 20});
    const uint32_t rops[] = {SRCCOPY,  SRCPAINT,   SRCAND,   SRCINVERT, SRCERASE, NOTSRCCOPY, NOTSRCERASE, MERGECOPY,
                             MERGEPAINT, PATCOPY, PATPAINT, PATINVERT, DSTINVERT, BLACKNESS, WHITENESS};
    int32_t x = 10;
    for (uint32_t rop : rops) {
        canvas.Pen().Style = TPenStyle::psClear;
        canvas.Brush() = {RGB(255, 220, 0), TBrushStyle::bsSolid};
        canvas.Rectangle(x, 105, x + 11, 126);
        canvas.Brush().Color = RGB(120, 0, 160);
        canvas.Rectangle(x + 10, 105, x + 21, 126);
        canvas.Pen().Style = TPenStyle::psSolid;
        canvas.Brush() = {clLime, TBrushStyle::bsDiagCross};
        canvas.SetBkColor(clWhite);
        canvas.BitBlt(x, 105, 20, 20, source.Canvas(), 0, 0, rop);
        x += 25;
    }
    // Halftone and plain stretching of the same source, shrunk and enlarged.
    canvas.SetStretchBltMode(COLORONCOLOR);
    canvas.StretchBlt(10, 130, 7, 7, source.Canvas(), 0, 0, 20, 20, SRCCOPY);
    canvas.StretchBlt(20, 130, 40, 20, source.Canvas(), 0, 0, 20, 20, SRCCOPY);
    canvas.SetStretchBltMode(HALFTONE);
    canvas.StretchBlt(65, 130, 7, 7, source.Canvas(), 0, 0, 20, 20, SRCCOPY);
    canvas.StretchBlt(115, 130, -40, 20, source.Canvas(), 0, 0, 20, 20, SRCCOPY);
    canvas.SetStretchBltMode(BLACKONWHITE);
    canvas.Brush() = TBrush{};
}

void drawShapesAndPaths(TCanvas& canvas)
{
    canvas.Brush() = {RGB(255, 160, 160), TBrushStyle::bsSolid};
    canvas.Rectangle(130, 130, 160, 150);
    canvas.Ellipse(165, 130, 200, 150);
    canvas.RoundRect(205, 130, 245, 150, 12, 12);
    canvas.Pen().Width = 3;
    canvas.Brush().Color = RGB(160, 220, 255);
    canvas.Ellipse(250, 130, 290, 150);
    canvas.Pen().Width = 1;

    // A five-pointed star, alternate and winding.
    auto star = [](int32_t cx, int32_t cy) {
        std::vector<TPoint> points;
        for (int i = 0; i < 5; ++i) {
            const double angle = -std::numbers::pi / 2 + i * 4 * std::numbers::pi / 5;
            points.push_back({cx + int32_t(std::lround(22 * std::cos(angle))), cy + int32_t(std::lround(22 * std::sin(angle)))});
        }
        return points;
    };
    canvas.Brush().Color = RGB(255, 200, 0);
    canvas.SetPolyFillMode(ALTERNATE);
    canvas.Polygon(star(320, 180));
    canvas.SetPolyFillMode(WINDING);
    canvas.Polygon(star(370, 180));
    canvas.SetPolyFillMode(ALTERNATE);

    // A path with a Bézier, filled and stroked.
    canvas.BeginPath();
    canvas.MoveTo(130, 160);
    canvas.PolyBezierTo({{150, 200}, {180, 140}, {200, 190}});
    canvas.LineTo(130, 190);
    canvas.CloseFigure();
    canvas.EndPath();
    canvas.Brush().Color = RGB(200, 255, 200);
    canvas.Pen().Width = 2;
    canvas.StrokeAndFillPath();
    canvas.Pen().Width = 1;

    // Clipped to an elliptic path: a hatch shows through.
    {
        auto clip = SaveClip(canvas);
        canvas.BeginPath();
        canvas.Ellipse(210, 158, 290, 198);
        canvas.EndPath();
        canvas.SelectClipPath(RGN_AND);
        canvas.Brush() = {clBlue, TBrushStyle::bsCross};
        canvas.SetBkColor(RGB(230, 230, 255));
        canvas.FillRect({200, 150, 300, 205});
    }
    canvas.Brush() = TBrush{};
    canvas.SetBkColor(clWhite);
}

void drawStrokesAndArcs(TCanvas& canvas)
{
    TStroke stroke;
    canvas.Pen() = {RGB(128, 0, 0), 0, TPenStyle::psSolid, R2_COPYPEN};
    stroke.SetRect({10, 160, 40, 190});
    stroke.Draw(canvas);
    stroke.SetEllipse({45, 160, 85, 190});
    stroke.Draw(canvas);
    stroke.SetRoundRect({90, 160, 125, 190}, 14);
    stroke.Draw(canvas);
    stroke.Flatten();
    canvas.Pen().Color = RGB(0, 0, 200);
    for (int32_t i = 0; i < stroke.Count(); ++i)
        canvas.SetPixel(stroke.Points(i).x, stroke.Points(i).y, canvas.Pen().Color);

    canvas.Pen() = {clBlack, 0, TPenStyle::psSolid, R2_COPYPEN};
    DrawArcThrough(canvas, {10, 230}, {40, 200}, {70, 230});     // an arc
    DrawArcThrough(canvas, {80, 230}, {110, 222}, {140, 230});   // flat: a parabola
    canvas.Pen().Width = 6;
    canvas.Brush().Color = RGB(255, 230, 200);
    canvas.BeginPath();
    DrawArcBandThrough(canvas, {150, 235}, {190, 205}, {230, 235});
    canvas.EndPath();
    canvas.Pen().Width = 0;
    canvas.StrokeAndFillPath();
    canvas.Pen().Width = 4;
    canvas.BeginPath();
    DrawArcBandThrough(canvas, {240, 230}, {270, 222}, {300, 230});
    canvas.EndPath();
    canvas.Pen().Width = 0;
    canvas.StrokePath();
    canvas.Brush() = TBrush{};
}

void drawAntiAliasedLines(TCanvas& canvas)
{
    const TRect area{10, 240, 390, 295};
    auto mask = CreateBitmapForRect(canvas, area, TPixelFormat::pf8bit, 0, false);
    TStroke lines;
    for (int angle = 0; angle < 360; angle += 15) {
        const double radians = angle * std::numbers::pi / 180;
        lines.AddPoint(40, 267, STROKE_MOVETO);
        lines.AddPoint(40 + int32_t(std::lround(25 * std::cos(radians))), 267 + int32_t(std::lround(25 * std::sin(radians))),
                       STROKE_LINETO);
    }
    lines.RenderAntiAliased(*mask);
    TStroke outline;
    outline.SetEllipse({80, 245, 160, 290});
    outline.RenderAntiAliased(*mask);
    outline.SetRoundRect({170, 245, 250, 290}, 20);
    outline.RenderAntiAliased(*mask);
    outline.Clear();
    outline.AddPoint(260, 290, STROKE_MOVETO);
    for (int i = 1; i <= 12; ++i)
        outline.AddPoint(260 + i * 10, i % 2 ? 248 : 290, STROKE_LINETO);
    outline.RenderAntiAliased(*mask);

    // The coverage shows dark on white: copy it in inverted, in device pixels.
    const TRect device = canvas.LPtoDP(IntersectRect(area, canvas.GetClipBox()));
    auto saved = SaveCanvasState(canvas, true);
    TCoordMap::ResetMapping(canvas);
    TCoordMap::ResetMapping(mask->Canvas());
    canvas.BitBlt(device.Left, device.Top, mask->Width(), mask->Height(), mask->Canvas(), 0, 0, NOTSRCCOPY);
}

void drawCard(TCanvas& canvas)
{
    canvas.Brush().Color = clWhite;
    canvas.FillRect({0, 0, kCardWidth, kCardHeight});
    drawPens(canvas);
    drawBrushes(canvas);
    drawRasterOperations(canvas);
    drawShapesAndPaths(canvas);
    drawStrokesAndArcs(canvas);
    drawAntiAliasedLines(canvas);
    canvas.Pen() = TPen{};
    canvas.Brush().Style = TBrushStyle::bsClear;
    canvas.Rectangle(0, 0, kCardWidth, kCardHeight);
}

}  // namespace

int RunCanvasTest(const Arguments& args)
{
    if (args.size() != 1)
        return UsageError("canvas-test");
    TBitmap card(kCardWidth * kZoom, kCardHeight * (kZoom + 1), TPixelFormat::pf32bit);
    TCanvas& canvas = card.Canvas();
    canvas.Brush().Color = RGB(128, 128, 128);
    canvas.FillRect({0, 0, card.Width(), card.Height()});
    {
        auto saved = SaveCanvasState(canvas, true);
        canvas.IntersectClipRect({0, 0, kCardWidth, kCardHeight});
        drawCard(canvas);
    }
    {
        auto saved = SaveCanvasState(canvas, true);
        canvas.SetMapMode(MM_ANISOTROPIC);
        canvas.SetWindowExt({1, 1});
        canvas.SetViewportExt({kZoom, kZoom});
        canvas.SetViewportOrg({0, kCardHeight});
        canvas.IntersectClipRect({0, 0, kCardWidth, kCardHeight});
        drawCard(canvas);
    }
    if (!card.SaveToPng(args[0])) {
        std::cerr << "orvella-tool: cannot write " << args[0] << '\n';
        return 1;
    }
    return 0;
}

}  // namespace orvella::tool
