#pragma once
// Inside the metafile player: the state both record kinds share (object
// table, mapping, saved levels, the selected tools) and the drawing steps
// they come down to. Points are mapped in floating point from the
// metafile's logical units to sixteenths of a destination pixel, which is
// what the canvas gets as its logical units while a metafile plays.
// Not for use outside graphics/.

#include "graphics/canvas.h"

#include <QRegion>

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace orvella {

class TBitmap;

namespace metafile {

// Sub-pixel steps per destination pixel.
constexpr int32_t kSubPixels = 16;

struct TXForm {
    double m11 = 1, m12 = 0, m21 = 0, m22 = 1, dx = 0, dy = 0;
    double X(double x, double y) const { return x * m11 + y * m21 + dx; }
    double Y(double x, double y) const { return x * m12 + y * m22 + dy; }
    // this, then next.
    TXForm Then(const TXForm& next) const;
};

enum : int { BS_SOLID = 0, BS_NULL = 1, BS_HATCHED = 2, BS_PATTERN = 3, BS_DIBPATTERN = 5, BS_DIBPATTERNPT = 6 };
enum : int { PS_SOLID = 0, PS_DASH, PS_DASHDOT_RESERVED, PS_NULL = 5, PS_INSIDEFRAME = 6 };

struct TLogPen {
    int Style = PS_SOLID;  // low four bits of the stored style
    double Width = 0;      // logical units; 0 is one pixel
    bool Cosmetic = true;  // drawn one pixel wide whatever the width
    TColor Color = clBlack;
};

struct TLogBrush {
    int Style = BS_SOLID;
    TColor Color = clWhite;  // for a pattern, its average colour
    int Hatch = 0;
    // BS_DIBPATTERN: repeated from device pixel (0, 0).
    std::shared_ptr<TBitmap> Pattern;
};

struct TLogFontRecord {
    int32_t Height = 0;  // logical units; < 0 the em height, > 0 the cell height
    int32_t Escapement = 0;
    int32_t Weight = 400;
    bool Italic = false;
    bool Underline = false;
    bool StrikeOut = false;
    uint8_t CharSet = 1;
    std::string Face;  // UTF-8
};

struct TPlayObject {
    enum class Kind { Empty, Pen, Brush, Font, Region, Other };
    Kind kind = Kind::Empty;
    TLogPen pen;
    TLogBrush brush;
    TLogFontRecord font;
    QRegion region;  // in the metafile's logical units
};

enum : int { MM_LOMETRIC_ = 2, MM_HIMETRIC_ = 3, MM_LOENGLISH_ = 4, MM_HIENGLISH_ = 5, MM_TWIPS_ = 6, MM_ISOTROPIC_ = 7 };

struct TPlayState {
    int mapMode = MM_TEXT;
    double windowOrgX = 0, windowOrgY = 0, windowExtX = 1, windowExtY = 1;
    double viewportOrgX = 0, viewportOrgY = 0, viewportExtX = 1, viewportExtY = 1;
    TXForm world;
    TLogPen pen;
    TLogBrush brush;
    TLogFontRecord font;
    TColor textColor = clBlack;
    TColor bkColor = clWhite;
    int bkMode = OPAQUE;
    uint32_t textAlign = 0;
    int polyFillMode = ALTERNATE;
    int rop2 = R2_COPYPEN;
    int stretchMode = BLACKONWHITE;
    bool clockwise = false;
};

// A double point in the metafile's logical units.
struct TPointD {
    double x = 0;
    double y = 0;
};

class TPlayback {
public:
    // destination: the device rectangle the picture's reference rectangle
    // fills. referenceRect: that rectangle in the metafile's device units
    // (enhanced) or logical units (Windows metafile).
    TPlayback(TCanvas& canvas, const TRect& destination, double refLeft, double refTop, double refWidth,
              double refHeight, bool windowsMetafile);
    ~TPlayback();
    TPlayback(const TPlayback&) = delete;
    TPlayback& operator=(const TPlayback&) = delete;

    TPlayState& State() { return state_; }
    TCanvas& Canvas() { return canvas_; }
    // The reference device of an enhanced metafile, for the fixed map modes.
    void SetReferenceDevice(double pixelsX, double pixelsY, double millimetresX, double millimetresY);

    // --- objects ---
    // Enhanced metafiles name the slot; Windows metafiles take the lowest free one.
    void PutObject(uint32_t index, TPlayObject object);
    void AddObject(TPlayObject object);
    void SelectObject(uint32_t index);
    void SelectStockObject(uint32_t stock);
    void DeleteObject(uint32_t index);
    const TPlayObject* Object(uint32_t index) const;

    // --- mapping ---
    TPoint Map(double x, double y) const;
    TPoint Map(TPointD p) const { return Map(p.x, p.y); }
    // Destination pixels per logical unit along x and y (sizes, not signs).
    double ScaleX() const;
    double ScaleY() const;
    bool AxisAligned() const;
    // A rectangle of metafile device units (regions) in destination pixels.
    QRegion DeviceRegion(const std::vector<TRect>& rects) const;
    QRegion LogicalRegion(const QRegion& logical) const;
    void SetMapMode(int mode);
    void ScaleViewport(double xNum, double xDen, double yNum, double yDen);
    void ScaleWindow(double xNum, double xDen, double yNum, double yDen);

    // --- levels ---
    void SaveDC();
    void RestoreDC(int32_t relative);

    // --- clipping ---
    // mode RGN_* ; a null region with RGN_COPY removes the metafile's clip.
    void CombineClip(const QRegion* destinationRegion, int mode);
    void IntersectClipRect(double left, double top, double right, double bottom);
    void ExcludeClipRect(double left, double top, double right, double bottom);
    void OffsetClip(double dx, double dy);
    void SelectClipPath(int mode);

    // --- drawing, logical units ---
    void MoveTo(double x, double y);
    void LineTo(double x, double y);
    void Polyline(const std::vector<TPointD>& points);
    void PolylineTo(const std::vector<TPointD>& points);
    void Polygon(const std::vector<TPointD>& points);
    void PolyPolygon(const std::vector<std::vector<TPointD>>& polygons);
    void PolyBezier(const std::vector<TPointD>& points);
    void PolyBezierTo(const std::vector<TPointD>& points);
    // types: the path point types, one per point.
    void PolyDraw(const std::vector<TPointD>& points, const std::vector<uint8_t>& types);
    void Rectangle(double left, double top, double right, double bottom);
    void RoundRect(double left, double top, double right, double bottom, double width, double height);
    void Ellipse(double left, double top, double right, double bottom);
    enum class ArcKind { Arc, ArcTo, Chord, Pie };
    void ArcShape(ArcKind kind, double left, double top, double right, double bottom, TPointD start, TPointD end);
    void AngleArc(double cx, double cy, double radius, double startDegrees, double sweepDegrees);
    void SetPixel(double x, double y, TColor color);
    void FillRegion(const QRegion& device, const TLogBrush& brush);
    void FrameRegion(const QRegion& device, const TLogBrush& brush, int32_t widthPx, int32_t heightPx);
    void InvertRegion(const QRegion& device);
    // Text as characters with optional advances (logical units, one per character).
    void Text(double x, double y, const std::u32string& characters, const std::vector<double>& advances,
              uint32_t options, const double* rect);
    // bitmap may be null for operations without a source.
    void Blit(double x, double y, double width, double height, TBitmap* bitmap, double sx, double sy, double sw,
              double sh, uint32_t rop);

    // image drawn where mask is black; both of one size, 24-bit, image
    // white where the mask is white.
    void MaskedBlit(double x, double y, double width, double height, TBitmap& image, TBitmap& mask);

    // --- paths ---
    void BeginPath();
    void EndPath();
    void AbortPath();
    void CloseFigure();
    void FillPath();
    void StrokePath();
    void StrokeAndFillPath();

private:
    TXForm total() const;
    void applyPen();
    void applyBrush(const TLogBrush& brush);
    void applyBrush() { applyBrush(state_.brush); }
    void applyModes();
    std::vector<TPoint> mapAll(const std::vector<TPointD>& points) const;
    // False when shapes through these canvas points, with the pen around
    // them, cannot reach the clip: a band of a print skips what lies in
    // other bands. Always true while a path is being recorded.
    bool reaches(const std::vector<TPoint>& points);
    // With a pattern brush selected: draw (a canvas call) becomes the clip
    // the tiled pattern fills, then draws again with the brush clear for
    // its outline. False, doing nothing, for every other brush.
    bool patternFill(const std::function<void()>& draw);
    std::vector<TPointD> ellipsePoints(double left, double top, double right, double bottom) const;
    void intersectBase();

    TCanvas& canvas_;
    TRect destination_;
    double refLeft_, refTop_, refWidth_, refHeight_;
    bool windowsMetafile_;
    double devicePixelsX_ = 1, devicePixelsY_ = 1, millimetresX_ = 1, millimetresY_ = 1;
    int startLevel_ = 0;
    QRegion base_;
    TPlayState state_;
    std::vector<TPlayState> saved_;
    std::vector<TPlayObject> objects_;
};

// Reads a device-independent bitmap from its header and bits; false when
// they do not make one. bottomUp tells how the stored rows ran.
bool ReadPackedDib(std::string_view header, std::string_view bits, TBitmap& bitmap, bool& bottomUp);
// A brush of the pattern bitmap (taken over).
TLogBrush PatternBrush(TBitmap& pattern);
// Text of an 8-bit string by the font's character set, one entry per
// character, with the number of bytes each took.
void DecodeAnsiText(std::string_view bytes, uint8_t charSet, std::u32string& characters,
                    std::vector<int>& byteCounts);

// The two record players; false when the bytes are not of their kind.
bool PlayEnhancedMetafile(TCanvas& canvas, std::string_view bytes, const TRect& destination);
bool PlayWindowsMetafile(TCanvas& canvas, std::string_view bytes, const TRect& destination);

}  // namespace metafile
}  // namespace orvella
