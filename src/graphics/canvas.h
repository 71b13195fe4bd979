#pragma once
// A device context: pen, brush, font, background, mapping, clip region and
// path, drawing into rows of pixels with the pixel rules the program's
// drawing code was written for. Coordinates given to drawing calls are
// logical; the canvas maps them to device pixels in integers itself.
// Rectangles, ellipses and fills leave out their right and bottom edge; a
// line leaves out its last pixel.

#include "graphics/canvas_tools.h"
#include "graphics/coord_map.h"
#include "graphics/pixel_surface.h"
#include "graphics/span_fill.h"

#include <QRegion>

#include <memory>
#include <optional>
#include <string_view>
#include <vector>

class QImage;
class QPainterPath;

namespace orvella {

class IFont;
struct TTextMetric;

struct TSpanPaint;

// Everything SaveDC keeps.
struct TDCState {
    TPen Pen;
    TBrush Brush;
    TFont Font;
    uint32_t CopyMode = SRCCOPY;
    int BkMode = OPAQUE;
    TColor BkColor = clWhite;
    TColor TextColor = clBlack;
    int PolyFillMode = ALTERNATE;
    int StretchBltMode = BLACKONWHITE;
    uint32_t TextAlign = TA_LEFT | TA_TOP;
    TCoordMap Mapping;
    std::optional<QRegion> Clip;  // device pixels; none means the whole surface
    TPoint PenPos;                // logical
};

class TCanvas {
public:
    explicit TCanvas(TPixelSurface* surface = nullptr);
    virtual ~TCanvas();
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    // --- the device ---
    // Selects another surface and returns the one selected before.
    TPixelSurface* SelectSurface(TPixelSurface* surface);
    TPixelSurface* CurrentSurface() { return Surface(); }
    // Vertical resolution in pixels per inch; the screen is 96.
    virtual int32_t DeviceResolution() const { return 96; }
    virtual TDeviceTechnology Technology() const { return TDeviceTechnology::Display; }

    // --- tools ---
    TPen& Pen() { return state_.Pen; }
    TBrush& Brush() { return state_.Brush; }
    TFont& Font() { return state_.Font; }
    const TPen& Pen() const { return state_.Pen; }
    const TBrush& Brush() const { return state_.Brush; }
    const TFont& Font() const { return state_.Font; }
    uint32_t CopyMode() const { return state_.CopyMode; }
    void SetCopyMode(uint32_t rop) { state_.CopyMode = rop; }
    int BkMode() const { return state_.BkMode; }
    void SetBkMode(int mode) { state_.BkMode = mode; }
    TColor BkColor() const { return state_.BkColor; }
    void SetBkColor(TColor color) { state_.BkColor = color; }
    TColor TextColor() const { return state_.TextColor; }
    void SetTextColor(TColor color) { state_.TextColor = color; }
    int PolyFillMode() const { return state_.PolyFillMode; }
    void SetPolyFillMode(int mode) { state_.PolyFillMode = mode; }
    int StretchBltMode() const { return state_.StretchBltMode; }
    void SetStretchBltMode(int mode) { state_.StretchBltMode = mode; }

    uint32_t TextAlign() const { return state_.TextAlign; }
    void SetTextAlign(uint32_t align) { state_.TextAlign = align; }

    // --- text (UTF-8; lengths in logical units) ---
    // The selected font as the font engine realises it.
    std::shared_ptr<const IFont> RealizedFont() const;
    TTextMetric GetTextMetrics() const;
    // The advance of the text along its direction and the cell height.
    TSize TextExtent(std::string_view text) const;
    int32_t TextWidth(std::string_view text) const { return TextExtent(text).cx; }
    int32_t TextHeight(std::string_view text) const { return TextExtent(text).cy; }
    // Draws one line of text anti-aliased in the font's colour, turned by the
    // font's orientation, with its reference point placed as TextAlign says.
    // Unless the brush is clear, the text's cell is first filled with the
    // brush colour. With a path open, the glyph outlines join the path instead.
    virtual void TextOut(int32_t x, int32_t y, std::string_view text);
    // Draws the characters of one line each at its own pen position
    // (logical units along the text from x, y), as one piece of text; the
    // font's underline and strike-out are not drawn. Like TextOut of each
    // character, at the cost of one.
    virtual void TextOutAt(int32_t x, int32_t y, std::u32string_view characters, const std::vector<int32_t>& positions);

    // --- mapping ---
    const TCoordMap& Mapping() const { return state_.Mapping; }
    int MapMode() const { return state_.Mapping.MapMode; }
    // MM_TEXT resets both extents to 1; in MM_TEXT extents cannot be set.
    void SetMapMode(int mode);
    void SetWindowExt(TSize extent);
    void SetViewportExt(TSize extent);
    void SetWindowOrg(TPoint origin) { state_.Mapping.WindowOrg = origin; }
    void SetViewportOrg(TPoint origin) { state_.Mapping.ViewportOrg = origin; }
    TSize WindowExt() const { return state_.Mapping.WindowExt; }
    TSize ViewportExt() const { return state_.Mapping.ViewportExt; }
    TPoint WindowOrg() const { return state_.Mapping.WindowOrg; }
    TPoint ViewportOrg() const { return state_.Mapping.ViewportOrg; }
    TPoint LPtoDP(TPoint p) const { return state_.Mapping.LogicalToDevice(p); }
    TPoint DPtoLP(TPoint p) const { return state_.Mapping.DeviceToLogical(p); }
    // The device rectangle of a logical one, normalised.
    TRect LPtoDP(const TRect& r) const;

    // --- saved states ---
    int SaveDC();
    // level > 0: back to that level; level < 0: that many levels back.
    bool RestoreDC(int level);

    // --- clipping (device pixels) ---
    const std::optional<QRegion>& ClipRegion() const { return state_.Clip; }
    void SelectClipRgn(const std::optional<QRegion>& region);
    void IntersectClipRect(const TRect& logical);
    void ExcludeClipRect(const TRect& logical);
    // The logical bounds of what can be drawn.
    TRect GetClipBox() const;

    // --- paths ---
    virtual void BeginPath();
    virtual void EndPath();
    void AbortPath();
    virtual void CloseFigure();
    bool PathOpen() const { return pathOpen_; }
    virtual void FillPath();
    virtual void StrokePath();
    virtual void StrokeAndFillPath();
    virtual void SelectClipPath(int mode);
    // The closed path in logical coordinates with its point types.
    void GetPath(std::vector<TPoint>& points, std::vector<uint8_t>& types) const;

    // --- drawing (logical coordinates) ---
    virtual void MoveTo(int32_t x, int32_t y);
    virtual void LineTo(int32_t x, int32_t y);
    TPoint PenPos() const { return state_.PenPos; }
    virtual void Polyline(const std::vector<TPoint>& points);
    virtual void PolylineTo(const std::vector<TPoint>& points);
    virtual void PolyBezier(const std::vector<TPoint>& points);
    virtual void PolyBezierTo(const std::vector<TPoint>& points);
    virtual void Polygon(const std::vector<TPoint>& points);
    virtual void Rectangle(int32_t left, int32_t top, int32_t right, int32_t bottom);
    virtual void Ellipse(int32_t left, int32_t top, int32_t right, int32_t bottom);
    virtual void RoundRect(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t cornerWidth,
                           int32_t cornerHeight);
    // Fills with the brush, no outline.
    virtual void FillRect(const TRect& r);
    virtual void SetPixel(int32_t x, int32_t y, TColor color);
    TColor GetPixel(int32_t x, int32_t y);

    // --- block transfers ---
    virtual void PatBlt(int32_t x, int32_t y, int32_t width, int32_t height, uint32_t rop);
    virtual void BitBlt(int32_t x, int32_t y, int32_t width, int32_t height, TCanvas& source, int32_t sx, int32_t sy,
                        uint32_t rop);
    virtual void StretchBlt(int32_t x, int32_t y, int32_t width, int32_t height, TCanvas& source, int32_t sx,
                            int32_t sy, int32_t sourceWidth, int32_t sourceHeight, uint32_t rop);
    // Delphi's CopyRect: StretchBlt with the canvas's copy mode.
    void CopyRect(const TRect& dest, TCanvas& source, const TRect& sourceRect);

protected:
    // The surface drawing goes to; a memory canvas makes it on first use.
    virtual TPixelSurface* Surface() { return surface_; }
    TDCState& State() { return state_; }

private:
    struct PathPoint {
        TPoint p;  // logical
        uint8_t type;
    };

    TRect surfaceBounds();
    TRect drawableBounds();
    void paintSpans(const std::vector<TSpan>& spans, const TSpanPaint& paint);
    void paintRect(const TRect& deviceRect, const TSpanPaint& paint);
    void plotPixel(int32_t x, int32_t y, const TSpanPaint& paint);
    TSpanPaint penPaint();
    TSpanPaint brushPaint();
    bool penVisible() const { return state_.Pen.Style != TPenStyle::psClear; }
    bool brushVisible() const { return state_.Brush.Style != TBrushStyle::bsClear; }
    int32_t penWidthPixels() const;
    // One-pixel pen along device pixels; phase carries the dash pattern on.
    void cosmeticLine(TPoint from, TPoint to, bool lastPixel, int& phase);
    // Fills the band a wide pen covers along a device centre line.
    void fillWide(const QPainterPath& centreLine, Qt::PenJoinStyle join);
    void strokeDevice(const std::vector<TPoint>& points, bool closed);
    void strokeDevicePath(const QPainterPath& path);
    void drawConvexShape(const std::vector<TSpan>& spans, const QPainterPath& centreLine, Qt::PenJoinStyle join);
    QPainterPath pathToDevice(double offset) const;
    // Blends colour into the surface by an 8-bit coverage mask whose pixel
    // (0, 0) lies on device pixel origin; honours the clip region.
    void blendCoverage(const QImage& coverage, TPoint origin, TColor colour);
    // Glyph outlines in run coordinates drawn (or added to the open path)
    // for a run whose reference point is given, as TextOut places it.
    void paintRun(TPoint reference, const std::vector<const QPainterPath*>& glyphs, double advance,
                  const TTextMetric& metric, const QPainterPath& bars);
    void addPathOutline(const QPainterPath& logical);
    std::vector<TSpan> pathSpans();
    void addPathPoint(TPoint logical, uint8_t type);
    const std::vector<std::vector<std::pair<int32_t, int32_t>>>& clipRows();
    void clipChanged() { clipRowsValid_ = false; }
    // Applies a raster operation to dest (device pixels); columns and rows give
    // the source pixel of each destination column and row.
    void transfer(const TRect& dest, TPixelSurface* source, const std::vector<int32_t>& columns,
                  const std::vector<int32_t>& rows, uint32_t rop);

    TPixelSurface* surface_;
    TDCState state_;
    std::vector<TDCState> savedStates_;
    bool pathOpen_ = false;
    std::vector<PathPoint> path_;
    int32_t figureStart_ = -1;
    bool clipRowsValid_ = false;
    int32_t clipRowsTop_ = 0;
    std::vector<std::vector<std::pair<int32_t, int32_t>>> clipRows_;
};

}  // namespace orvella
