#include "graphics/metafile_playback.h"

#include "graphics/metafile_player.h"

#include "graphics/bitmap.h"
#include "graphics/bmp_codec.h"
#include "graphics/graphic.h"
#include "graphics/rect_utils.h"
#include "platform/cp932.h"
#include "platform/fonts/log_font.h"
#include "platform/utf8.h"

#include <algorithm>
#include <cstring>
#include <cmath>
#include <numbers>

namespace orvella::metafile {

namespace {

// Canvas coordinates stay well inside 32 bits after any mapping step.
constexpr double kCoordinateLimit = double(1 << 28);
// A block transfer wider or taller than this (destination pixels) is taken
// for damage: the canvas would allocate per column and row.
constexpr double kBlitLimit = double(1 << 15);
constexpr std::size_t kMaxTextCharacters = 8192;
// Pens wider and fonts taller than this many destination pixels are damage;
// the canvas would build outlines and coverage masks of their size.
constexpr double kMaxToolPixels = 4096;

int32_t toCanvas(double value)
{
    if (!std::isfinite(value))
        return 0;
    return int32_t(std::lround(std::clamp(value, -kCoordinateLimit, kCoordinateLimit)));
}

TPenStyle penStyleOf(int style)
{
    switch (style) {
    case 1: return TPenStyle::psDash;
    case 2: return TPenStyle::psDot;
    case 3: return TPenStyle::psDashDot;
    case 4: return TPenStyle::psDashDotDot;
    case PS_NULL: return TPenStyle::psClear;
    default: return TPenStyle::psSolid;
    }
}

TBrushStyle hatchOf(int hatch)
{
    switch (hatch) {
    case 0: return TBrushStyle::bsHorizontal;
    case 1: return TBrushStyle::bsVertical;
    case 2: return TBrushStyle::bsFDiagonal;
    case 3: return TBrushStyle::bsBDiagonal;
    case 4: return TBrushStyle::bsCross;
    case 5: return TBrushStyle::bsDiagCross;
    default: return TBrushStyle::bsSolid;
    }
}

TRect normalised(TPoint a, TPoint b)
{
    return {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

}  // namespace

TXForm TXForm::Then(const TXForm& next) const
{
    TXForm r;
    r.m11 = m11 * next.m11 + m12 * next.m21;
    r.m12 = m11 * next.m12 + m12 * next.m22;
    r.m21 = m21 * next.m11 + m22 * next.m21;
    r.m22 = m21 * next.m12 + m22 * next.m22;
    r.dx = dx * next.m11 + dy * next.m21 + next.dx;
    r.dy = dx * next.m12 + dy * next.m22 + next.dy;
    return r;
}

TPlayback::TPlayback(TCanvas& canvas, const TRect& destination, double refLeft, double refTop, double refWidth,
                     double refHeight, bool windowsMetafile)
    : canvas_(canvas),
      destination_(destination),
      refLeft_(refLeft),
      refTop_(refTop),
      refWidth_(refWidth),
      refHeight_(refHeight),
      windowsMetafile_(windowsMetafile)
{
    startLevel_ = canvas_.SaveDC();
    base_ = QRegion(destination.Left, destination.Top, RectWidth(destination), RectHeight(destination));
    if (canvas_.ClipRegion())
        base_ = base_.intersected(*canvas_.ClipRegion());
    canvas_.SelectClipRgn(base_);
    canvas_.SetMapMode(MM_ANISOTROPIC);
    canvas_.SetWindowExt({kSubPixels, kSubPixels});
    canvas_.SetViewportExt({1, 1});
    canvas_.SetWindowOrg({0, 0});
    canvas_.SetViewportOrg({0, 0});
    canvas_.SetCopyMode(SRCCOPY);
    if (windowsMetafile_) {
        state_.mapMode = MM_ANISOTROPIC;
        state_.windowOrgX = refLeft;
        state_.windowOrgY = refTop;
        state_.windowExtX = refWidth;
        state_.windowExtY = refHeight;
    }
}

TPlayback::~TPlayback()
{
    if (canvas_.PathOpen())
        canvas_.AbortPath();
    canvas_.RestoreDC(startLevel_);
}

void TPlayback::SetReferenceDevice(double pixelsX, double pixelsY, double millimetresX, double millimetresY)
{
    if (pixelsX > 0 && pixelsY > 0 && millimetresX > 0 && millimetresY > 0) {
        devicePixelsX_ = pixelsX;
        devicePixelsY_ = pixelsY;
        millimetresX_ = millimetresX;
        millimetresY_ = millimetresY;
    }
}

// --- objects ---

void TPlayback::PutObject(uint32_t index, TPlayObject object)
{
    // Enhanced metafiles declare their table size; a slot far beyond any
    // real table is damage and is not grown into.
    if (index >= (1u << 16))
        return;
    if (index >= objects_.size())
        objects_.resize(index + 1);
    objects_[index] = std::move(object);
}

void TPlayback::AddObject(TPlayObject object)
{
    for (auto& slot : objects_) {
        if (slot.kind == TPlayObject::Kind::Empty) {
            slot = std::move(object);
            return;
        }
    }
    if (objects_.size() < (1u << 16))
        objects_.push_back(std::move(object));
}

const TPlayObject* TPlayback::Object(uint32_t index) const
{
    if (index >= objects_.size() || objects_[index].kind == TPlayObject::Kind::Empty)
        return nullptr;
    return &objects_[index];
}

void TPlayback::SelectObject(uint32_t index)
{
    const TPlayObject* object = Object(index);
    if (!object)
        return;
    switch (object->kind) {
    case TPlayObject::Kind::Pen: state_.pen = object->pen; break;
    case TPlayObject::Kind::Brush: state_.brush = object->brush; break;
    case TPlayObject::Kind::Font: state_.font = object->font; break;
    case TPlayObject::Kind::Region: {
        const QRegion device = LogicalRegion(object->region);
        CombineClip(&device, RGN_COPY);
        break;
    }
    default: break;
    }
}

void TPlayback::SelectStockObject(uint32_t stock)
{
    switch (stock) {
    case 0: state_.brush = {BS_SOLID, clWhite, 0}; break;
    case 1: state_.brush = {BS_SOLID, RGB(0xC0, 0xC0, 0xC0), 0}; break;
    case 2: state_.brush = {BS_SOLID, RGB(0x80, 0x80, 0x80), 0}; break;
    case 3: state_.brush = {BS_SOLID, RGB(0x40, 0x40, 0x40), 0}; break;
    case 4: state_.brush = {BS_SOLID, clBlack, 0}; break;
    case 5: state_.brush = {BS_NULL, clWhite, 0}; break;
    case 6: state_.pen = {PS_SOLID, 0, true, clWhite}; break;
    case 7: state_.pen = {PS_SOLID, 0, true, clBlack}; break;
    case 8: state_.pen = {PS_NULL, 0, true, clBlack}; break;
    case 10: case 11: case 12: case 13: case 14: case 16: state_.font = TLogFontRecord{}; break;
    case 18: state_.brush = {BS_SOLID, clWhite, 0}; break;
    case 19: state_.pen = {PS_SOLID, 0, true, clBlack}; break;
    default: break;
    }
}

void TPlayback::DeleteObject(uint32_t index)
{
    if (index < objects_.size())
        objects_[index] = TPlayObject{};
}

// --- mapping ---

TXForm TPlayback::total() const
{
    const TPlayState& s = state_;
    double scaleX = 1, scaleY = 1;
    double windowExtX = s.windowExtX, windowExtY = s.windowExtY;
    double viewportExtX = s.viewportExtX, viewportExtY = s.viewportExtY;
    switch (s.mapMode) {
    case MM_LOMETRIC_: windowExtX = millimetresX_ * 10; windowExtY = millimetresY_ * 10; break;
    case MM_HIMETRIC_: windowExtX = millimetresX_ * 100; windowExtY = millimetresY_ * 100; break;
    case MM_LOENGLISH_: windowExtX = millimetresX_ * 100 / 25.4; windowExtY = millimetresY_ * 100 / 25.4; break;
    case MM_HIENGLISH_: windowExtX = millimetresX_ * 1000 / 25.4; windowExtY = millimetresY_ * 1000 / 25.4; break;
    case MM_TWIPS_: windowExtX = millimetresX_ * 1440 / 25.4; windowExtY = millimetresY_ * 1440 / 25.4; break;
    default: break;
    }
    if (s.mapMode >= MM_LOMETRIC_ && s.mapMode <= MM_TWIPS_) {
        viewportExtX = devicePixelsX_;
        viewportExtY = -devicePixelsY_;
    }
    if (s.mapMode != MM_TEXT && windowExtX != 0 && windowExtY != 0) {
        scaleX = viewportExtX / windowExtX;
        scaleY = viewportExtY / windowExtY;
        if (s.mapMode == MM_ISOTROPIC_) {
            const double size = std::min(std::abs(scaleX), std::abs(scaleY));
            scaleX = std::copysign(size, scaleX);
            scaleY = std::copysign(size, scaleY);
        }
    }
    // Page to the metafile's device, then to destination pixels.
    TXForm page;
    if (windowsMetafile_) {
        // The window maps onto the destination; viewport records of a
        // placeable metafile are left aside, as players of them do.
        const double sx = s.windowExtX != 0 ? RectWidth(destination_) / s.windowExtX : 0;
        const double sy = s.windowExtY != 0 ? RectHeight(destination_) / s.windowExtY : 0;
        page.m11 = sx;
        page.m22 = sy;
        page.dx = destination_.Left - s.windowOrgX * sx;
        page.dy = destination_.Top - s.windowOrgY * sy;
        return s.world.Then(page);
    }
    const double toDestX = refWidth_ != 0 ? RectWidth(destination_) / refWidth_ : 0;
    const double toDestY = refHeight_ != 0 ? RectHeight(destination_) / refHeight_ : 0;
    page.m11 = scaleX * toDestX;
    page.m22 = scaleY * toDestY;
    page.dx = ((-s.windowOrgX) * scaleX + s.viewportOrgX - refLeft_) * toDestX + destination_.Left;
    page.dy = ((-s.windowOrgY) * scaleY + s.viewportOrgY - refTop_) * toDestY + destination_.Top;
    return s.world.Then(page);
}

TPoint TPlayback::Map(double x, double y) const
{
    const TXForm t = total();
    return {toCanvas(t.X(x, y) * kSubPixels), toCanvas(t.Y(x, y) * kSubPixels)};
}

std::vector<TPoint> TPlayback::mapAll(const std::vector<TPointD>& points) const
{
    const TXForm t = total();
    std::vector<TPoint> out;
    out.reserve(points.size());
    for (const TPointD& p : points)
        out.push_back({toCanvas(t.X(p.x, p.y) * kSubPixels), toCanvas(t.Y(p.x, p.y) * kSubPixels)});
    return out;
}

bool TPlayback::reaches(const std::vector<TPoint>& points)
{
    if (points.empty() || canvas_.PathOpen())
        return true;
    int64_t left = points[0].x, right = left, top = points[0].y, bottom = top;
    for (const TPoint& p : points) {
        left = std::min<int64_t>(left, p.x);
        right = std::max<int64_t>(right, p.x);
        top = std::min<int64_t>(top, p.y);
        bottom = std::max<int64_t>(bottom, p.y);
    }
    const QRect clip = (canvas_.ClipRegion() ? *canvas_.ClipRegion() : base_).boundingRect();
    const double pen = state_.pen.Cosmetic ? 1 : state_.pen.Width * ScaleX();
    const int64_t margin = int64_t(std::min(pen, kCoordinateLimit)) + 2;
    return left / kSubPixels - margin <= clip.right() && right / kSubPixels + margin >= clip.left() &&
           top / kSubPixels - margin <= clip.bottom() && bottom / kSubPixels + margin >= clip.top();
}

bool TPlayback::patternFill(const std::function<void()>& draw)
{
    const std::shared_ptr<TBitmap> pattern = state_.brush.Pattern;
    if (state_.brush.Style != BS_DIBPATTERN || !pattern || pattern->Width() <= 0 || pattern->Height() <= 0 ||
        canvas_.PathOpen())
        return false;
    {
        const int level = canvas_.SaveDC();
        canvas_.BeginPath();
        draw();
        canvas_.EndPath();
        canvas_.SelectClipPath(RGN_AND);
        const QRect box = (canvas_.ClipRegion() ? *canvas_.ClipRegion() : base_).boundingRect();
        if (!box.isEmpty() && box.width() <= kBlitLimit && box.height() <= kBlitLimit) {
            TBitmap tiles(box.width(), box.height(), TPixelFormat::pf24bit);
            const int32_t pw = pattern->Width(), ph = pattern->Height();
            for (int32_t y = 0; y < box.height(); ++y) {
                const uint8_t* source = pattern->Row(((box.top() + y) % ph + ph) % ph);
                uint8_t* row = tiles.Row(y);
                for (int32_t x = 0; x < box.width(); ++x) {
                    const int32_t sx = ((box.left() + x) % pw + pw) % pw;
                    std::memcpy(row + 3 * x, source + 3 * sx, 3);
                }
            }
            canvas_.StretchBlt(box.left() * kSubPixels, box.top() * kSubPixels, box.width() * kSubPixels,
                               box.height() * kSubPixels, tiles.Canvas(), 0, 0, box.width(), box.height(), SRCCOPY);
        }
        canvas_.RestoreDC(level);
    }
    if (canvas_.Pen().Style != TPenStyle::psClear) {
        const TBrush brush = canvas_.Brush();
        canvas_.Brush().Style = TBrushStyle::bsClear;
        draw();
        canvas_.Brush() = brush;
    }
    return true;
}

double TPlayback::ScaleX() const
{
    const TXForm t = total();
    return std::hypot(t.m11, t.m12);
}

double TPlayback::ScaleY() const
{
    const TXForm t = total();
    return std::hypot(t.m21, t.m22);
}

bool TPlayback::AxisAligned() const
{
    const TXForm t = total();
    return t.m12 == 0 && t.m21 == 0;
}

QRegion TPlayback::DeviceRegion(const std::vector<TRect>& rects) const
{
    const double sx = refWidth_ != 0 ? RectWidth(destination_) / refWidth_ : 0;
    const double sy = refHeight_ != 0 ? RectHeight(destination_) / refHeight_ : 0;
    QRegion region;
    for (const TRect& r : rects) {
        const int32_t left = toCanvas(destination_.Left + (r.Left - refLeft_) * sx);
        const int32_t right = toCanvas(destination_.Left + (r.Right - refLeft_) * sx);
        const int32_t top = toCanvas(destination_.Top + (r.Top - refTop_) * sy);
        const int32_t bottom = toCanvas(destination_.Top + (r.Bottom - refTop_) * sy);
        const TRect d = normalised({left, top}, {right, bottom});
        if (!d.IsEmpty())
            region += QRect(d.Left, d.Top, RectWidth(d), RectHeight(d));
    }
    return region;
}

QRegion TPlayback::LogicalRegion(const QRegion& logical) const
{
    QRegion region;
    for (const QRect& r : logical) {
        const TPoint a = Map(r.left(), r.top());
        const TPoint b = Map(double(r.left()) + r.width(), double(r.top()) + r.height());
        const TRect d = normalised({a.x / kSubPixels, a.y / kSubPixels}, {b.x / kSubPixels, b.y / kSubPixels});
        if (!d.IsEmpty())
            region += QRect(d.Left, d.Top, RectWidth(d), RectHeight(d));
    }
    return region;
}

void TPlayback::SetMapMode(int mode)
{
    if (mode < MM_TEXT || mode > MM_ANISOTROPIC)
        return;
    state_.mapMode = mode;
    if (mode == MM_TEXT) {
        state_.windowExtX = state_.windowExtY = state_.viewportExtX = state_.viewportExtY = 1;
    }
}

void TPlayback::ScaleViewport(double xNum, double xDen, double yNum, double yDen)
{
    if (xDen == 0 || yDen == 0)
        return;
    state_.viewportExtX = state_.viewportExtX * xNum / xDen;
    state_.viewportExtY = state_.viewportExtY * yNum / yDen;
}

void TPlayback::ScaleWindow(double xNum, double xDen, double yNum, double yDen)
{
    if (xDen == 0 || yDen == 0 || xNum == 0 || yNum == 0)
        return;
    state_.windowExtX = state_.windowExtX * xNum / xDen;
    state_.windowExtY = state_.windowExtY * yNum / yDen;
}

// --- levels ---

void TPlayback::SaveDC()
{
    if (saved_.size() >= 4096)
        return;
    canvas_.SaveDC();
    saved_.push_back(state_);
}

void TPlayback::RestoreDC(int32_t relative)
{
    std::size_t levels = 0;
    if (relative < 0)
        levels = std::min<std::size_t>(std::size_t(-int64_t(relative)), saved_.size());
    else if (relative > 0 && std::size_t(relative) <= saved_.size())
        levels = saved_.size() - std::size_t(relative) + 1;
    if (levels == 0)
        return;
    state_ = saved_[saved_.size() - levels];
    saved_.resize(saved_.size() - levels);
    canvas_.RestoreDC(-int(levels));
}

// --- clipping ---

void TPlayback::intersectBase()
{
    const QRegion current = canvas_.ClipRegion() ? *canvas_.ClipRegion() : base_;
    canvas_.SelectClipRgn(current.intersected(base_));
}

void TPlayback::CombineClip(const QRegion* destinationRegion, int mode)
{
    const QRegion current = canvas_.ClipRegion() ? *canvas_.ClipRegion() : base_;
    QRegion result;
    if (!destinationRegion) {
        result = base_;
    } else {
        switch (mode) {
        case RGN_AND: result = current.intersected(*destinationRegion); break;
        case RGN_OR: result = current.united(*destinationRegion); break;
        case RGN_XOR: result = current.xored(*destinationRegion); break;
        case RGN_DIFF: result = current.subtracted(*destinationRegion); break;
        default: result = *destinationRegion; break;
        }
    }
    canvas_.SelectClipRgn(result.intersected(base_));
}

void TPlayback::IntersectClipRect(double left, double top, double right, double bottom)
{
    canvas_.IntersectClipRect(normalised(Map(left, top), Map(right, bottom)));
}

void TPlayback::ExcludeClipRect(double left, double top, double right, double bottom)
{
    canvas_.ExcludeClipRect(normalised(Map(left, top), Map(right, bottom)));
}

void TPlayback::OffsetClip(double dx, double dy)
{
    if (!canvas_.ClipRegion())
        return;
    const TPoint origin = Map(0, 0), moved = Map(dx, dy);
    const QRegion shifted =
        canvas_.ClipRegion()->translated((moved.x - origin.x) / kSubPixels, (moved.y - origin.y) / kSubPixels);
    canvas_.SelectClipRgn(shifted.intersected(base_));
}

void TPlayback::SelectClipPath(int mode)
{
    if (!canvas_.PathOpen()) {
        applyModes();
        canvas_.SelectClipPath(mode);
        intersectBase();
    }
}

// --- tools ---

void TPlayback::applyPen()
{
    TPen& pen = canvas_.Pen();
    pen.Color = state_.pen.Color;
    pen.Style = penStyleOf(state_.pen.Style);
    pen.Mode = state_.rop2;
    pen.Width = 0;
    if (!state_.pen.Cosmetic && state_.pen.Width > 0)
        pen.Width = toCanvas(std::min(state_.pen.Width * ScaleX(), kMaxToolPixels) * kSubPixels);
}

void TPlayback::applyBrush(const TLogBrush& brush)
{
    TBrush& target = canvas_.Brush();
    target.Color = brush.Color;
    if (brush.Style == BS_NULL)
        target.Style = TBrushStyle::bsClear;
    else if (brush.Style == BS_HATCHED)
        target.Style = hatchOf(brush.Hatch);
    else
        target.Style = TBrushStyle::bsSolid;
}

void TPlayback::applyModes()
{
    canvas_.SetBkMode(state_.bkMode == TRANSPARENT ? TRANSPARENT : OPAQUE);
    canvas_.SetBkColor(state_.bkColor);
    canvas_.SetPolyFillMode(state_.polyFillMode == WINDING ? WINDING : ALTERNATE);
    canvas_.SetStretchBltMode(state_.stretchMode);
    canvas_.SetTextAlign(state_.textAlign & (TA_UPDATECP | TA_CENTER | TA_BASELINE));
}

// --- drawing ---

void TPlayback::MoveTo(double x, double y)
{
    const TPoint p = Map(x, y);
    canvas_.MoveTo(p.x, p.y);
}

void TPlayback::LineTo(double x, double y)
{
    applyPen();
    applyModes();
    const TPoint p = Map(x, y);
    canvas_.LineTo(p.x, p.y);
}

void TPlayback::Polyline(const std::vector<TPointD>& points)
{
    if (points.size() < 2)
        return;
    const std::vector<TPoint> mapped = mapAll(points);
    if (!reaches(mapped))
        return;
    applyPen();
    applyModes();
    canvas_.Polyline(mapped);
}

void TPlayback::PolylineTo(const std::vector<TPointD>& points)
{
    if (points.empty())
        return;
    applyPen();
    applyModes();
    canvas_.PolylineTo(mapAll(points));
}

void TPlayback::Polygon(const std::vector<TPointD>& points)
{
    if (points.size() < 2)
        return;
    const std::vector<TPoint> mapped = mapAll(points);
    if (!reaches(mapped))
        return;
    applyPen();
    applyBrush();
    applyModes();
    if (!patternFill([&] { canvas_.Polygon(mapped); }))
        canvas_.Polygon(mapped);
}

void TPlayback::PolyPolygon(const std::vector<std::vector<TPointD>>& polygons)
{
    applyPen();
    applyBrush();
    applyModes();
    const TPoint position = canvas_.PenPos();
    auto figures = [&] {
        for (const auto& polygon : polygons) {
            if (polygon.size() < 2)
                continue;
            const std::vector<TPoint> mapped = mapAll(polygon);
            canvas_.MoveTo(mapped[0].x, mapped[0].y);
            canvas_.PolylineTo({mapped.begin() + 1, mapped.end()});
            canvas_.CloseFigure();
        }
    };
    if (canvas_.PathOpen()) {
        figures();
        return;
    }
    // All polygons fill as one area, so holes stay open; outlines follow.
    if (canvas_.Brush().Style != TBrushStyle::bsClear) {
        const TPenStyle pen = canvas_.Pen().Style;
        canvas_.Pen().Style = TPenStyle::psClear;
        if (!patternFill(figures)) {
            canvas_.BeginPath();
            figures();
            canvas_.EndPath();
            canvas_.FillPath();
        }
        canvas_.Pen().Style = pen;
    }
    if (canvas_.Pen().Style != TPenStyle::psClear) {
        for (const auto& polygon : polygons) {
            if (polygon.size() < 2)
                continue;
            std::vector<TPoint> mapped = mapAll(polygon);
            mapped.push_back(mapped.front());
            canvas_.Polyline(mapped);
        }
    }
    canvas_.MoveTo(position.x, position.y);
}

void TPlayback::PolyBezier(const std::vector<TPointD>& points)
{
    if (points.size() < 4)
        return;
    std::vector<TPoint> mapped = mapAll(points);
    mapped.resize(1 + (mapped.size() - 1) / 3 * 3);
    if (!reaches(mapped))
        return;
    applyPen();
    applyModes();
    canvas_.PolyBezier(mapped);
}

void TPlayback::PolyBezierTo(const std::vector<TPointD>& points)
{
    if (points.size() < 3)
        return;
    std::vector<TPoint> mapped = mapAll(points);
    mapped.resize(mapped.size() / 3 * 3);
    applyPen();
    applyModes();
    canvas_.PolyBezierTo(mapped);
}

void TPlayback::PolyDraw(const std::vector<TPointD>& points, const std::vector<uint8_t>& types)
{
    applyPen();
    applyModes();
    const std::vector<TPoint> mapped = mapAll(points);
    TPoint figureStart = canvas_.PenPos();
    for (std::size_t i = 0; i < mapped.size() && i < types.size(); ++i) {
        const uint8_t kind = types[i] & 6;
        if (kind == PT_MOVETO) {
            canvas_.MoveTo(mapped[i].x, mapped[i].y);
            figureStart = mapped[i];
            continue;
        }
        if (kind == PT_BEZIERTO) {
            if (i + 2 >= mapped.size())
                break;
            canvas_.PolyBezierTo({mapped[i], mapped[i + 1], mapped[i + 2]});
            i += 2;
        } else {
            canvas_.LineTo(mapped[i].x, mapped[i].y);
        }
        if (types[i] & PT_CLOSEFIGURE) {
            if (canvas_.PathOpen())
                canvas_.CloseFigure();
            else
                canvas_.LineTo(figureStart.x, figureStart.y);
        }
    }
}

void TPlayback::Rectangle(double left, double top, double right, double bottom)
{
    if (!AxisAligned()) {
        Polygon({{left, top}, {right, top}, {right, bottom}, {left, bottom}});
        return;
    }
    const TRect r = normalised(Map(left, top), Map(right, bottom));
    if (!reaches({r.TopLeft(), r.BottomRight()}))
        return;
    applyPen();
    applyBrush();
    applyModes();
    if (!patternFill([&] { canvas_.Rectangle(r.Left, r.Top, r.Right, r.Bottom); }))
        canvas_.Rectangle(r.Left, r.Top, r.Right, r.Bottom);
}

void TPlayback::RoundRect(double left, double top, double right, double bottom, double width, double height)
{
    if (!AxisAligned()) {
        Rectangle(left, top, right, bottom);
        return;
    }
    const TRect r = normalised(Map(left, top), Map(right, bottom));
    if (!reaches({r.TopLeft(), r.BottomRight()}))
        return;
    applyPen();
    applyBrush();
    applyModes();
    canvas_.RoundRect(r.Left, r.Top, r.Right, r.Bottom, toCanvas(std::abs(width) * ScaleX() * kSubPixels),
                      toCanvas(std::abs(height) * ScaleY() * kSubPixels));
}

std::vector<TPointD> TPlayback::ellipsePoints(double left, double top, double right, double bottom) const
{
    const double cx = (left + right) / 2, cy = (top + bottom) / 2;
    const double rx = std::abs(right - left) / 2, ry = std::abs(bottom - top) / 2;
    const double pixels = std::max(rx * ScaleX(), ry * ScaleY());
    const int steps = std::clamp(int(pixels) + 16, 16, 720);
    std::vector<TPointD> points;
    points.reserve(std::size_t(steps));
    for (int i = 0; i < steps; ++i) {
        const double t = 2 * std::numbers::pi * i / steps;
        points.push_back({cx + rx * std::cos(t), cy + ry * std::sin(t)});
    }
    return points;
}

void TPlayback::Ellipse(double left, double top, double right, double bottom)
{
    if (!AxisAligned()) {
        Polygon(ellipsePoints(left, top, right, bottom));
        return;
    }
    const TRect r = normalised(Map(left, top), Map(right, bottom));
    if (!reaches({r.TopLeft(), r.BottomRight()}))
        return;
    applyPen();
    applyBrush();
    applyModes();
    if (!patternFill([&] { canvas_.Ellipse(r.Left, r.Top, r.Right, r.Bottom); }))
        canvas_.Ellipse(r.Left, r.Top, r.Right, r.Bottom);
}

void TPlayback::ArcShape(ArcKind kind, double left, double top, double right, double bottom, TPointD start,
                         TPointD end)
{
    const double cx = (left + right) / 2, cy = (top + bottom) / 2;
    const double rx = std::abs(right - left) / 2, ry = std::abs(bottom - top) / 2;
    if (rx <= 0 || ry <= 0)
        return;
    const double startAngle = std::atan2((start.y - cy) / ry, (start.x - cx) / rx);
    const double endAngle = std::atan2((end.y - cy) / ry, (end.x - cx) / rx);
    // Counter-clockwise as seen on the destination: with y growing downward
    // that is toward decreasing angles, unless the mapping mirrors.
    const TXForm t = total();
    const bool mirrored = t.m11 * t.m22 - t.m12 * t.m21 < 0;
    const bool increasing = mirrored != state_.clockwise;
    constexpr double turn = 2 * std::numbers::pi;
    double sweep = increasing ? endAngle - startAngle : startAngle - endAngle;
    while (sweep <= 1e-9)
        sweep += turn;
    if (sweep > turn)
        sweep = turn;
    if (!increasing)
        sweep = -sweep;
    const double pixels = std::max(rx * ScaleX(), ry * ScaleY());
    const int steps = std::clamp(int(std::abs(sweep) * pixels / 4) + 8, 8, 720);
    std::vector<TPointD> points;
    points.reserve(std::size_t(steps) + 2);
    for (int i = 0; i <= steps; ++i) {
        const double a = startAngle + sweep * i / steps;
        points.push_back({cx + rx * std::cos(a), cy + ry * std::sin(a)});
    }
    switch (kind) {
    case ArcKind::Arc: {
        const TPoint position = canvas_.PenPos();
        if (canvas_.PathOpen()) {
            MoveTo(points[0].x, points[0].y);
            PolylineTo({points.begin() + 1, points.end()});
        } else {
            Polyline(points);
            canvas_.MoveTo(position.x, position.y);
        }
        break;
    }
    case ArcKind::ArcTo:
        LineTo(points[0].x, points[0].y);
        PolylineTo({points.begin() + 1, points.end()});
        break;
    case ArcKind::Chord: Polygon(points); break;
    case ArcKind::Pie:
        points.insert(points.begin(), TPointD{cx, cy});
        Polygon(points);
        break;
    }
}

void TPlayback::AngleArc(double cx, double cy, double radius, double startDegrees, double sweepDegrees)
{
    if (!std::isfinite(startDegrees) || !std::isfinite(sweepDegrees) || radius <= 0)
        return;
    sweepDegrees = std::clamp(sweepDegrees, -3600.0, 3600.0);
    const int steps = std::clamp(int(std::abs(sweepDegrees) / 5) + 4, 4, 720);
    std::vector<TPointD> points;
    for (int i = 0; i <= steps; ++i) {
        const double a = (startDegrees + sweepDegrees * i / steps) * std::numbers::pi / 180;
        // Angles run counter-clockwise with y growing downward.
        points.push_back({cx + radius * std::cos(a), cy - radius * std::sin(a)});
    }
    LineTo(points[0].x, points[0].y);
    PolylineTo({points.begin() + 1, points.end()});
}

void TPlayback::SetPixel(double x, double y, TColor color)
{
    const TPoint p = Map(x, y);
    canvas_.SetPixel(p.x, p.y, color);
}

void TPlayback::FillRegion(const QRegion& device, const TLogBrush& brush)
{
    applyBrush(brush);
    applyModes();
    if (brush.Pattern) {
        const TLogBrush selected = state_.brush;
        state_.brush = brush;
        const TPenStyle pen = canvas_.Pen().Style;
        canvas_.Pen().Style = TPenStyle::psClear;
        patternFill([&] {
            for (const QRect& r : device)
                canvas_.Rectangle(r.left() * kSubPixels, r.top() * kSubPixels, (r.left() + r.width() + 1) * kSubPixels,
                                  (r.top() + r.height() + 1) * kSubPixels);
        });
        canvas_.Pen().Style = pen;
        state_.brush = selected;
        return;
    }
    for (const QRect& r : device) {
        canvas_.FillRect({r.left() * kSubPixels, r.top() * kSubPixels, (r.left() + r.width()) * kSubPixels,
                          (r.top() + r.height()) * kSubPixels});
    }
}

void TPlayback::FrameRegion(const QRegion& device, const TLogBrush& brush, int32_t widthPx, int32_t heightPx)
{
    widthPx = std::clamp(widthPx, 1, 1 << 12);
    heightPx = std::clamp(heightPx, 1, 1 << 12);
    const QRegion inner = device.intersected(device.translated(widthPx, 0))
                              .intersected(device.translated(-widthPx, 0))
                              .intersected(device.translated(0, heightPx))
                              .intersected(device.translated(0, -heightPx));
    FillRegion(device.subtracted(inner), brush);
}

void TPlayback::InvertRegion(const QRegion& device)
{
    for (const QRect& r : device)
        canvas_.PatBlt(r.left() * kSubPixels, r.top() * kSubPixels, r.width() * kSubPixels, r.height() * kSubPixels,
                       DSTINVERT);
}

void TPlayback::Text(double x, double y, const std::u32string& characters, const std::vector<double>& advances,
                     uint32_t options, const double* rect)
{
    constexpr uint32_t etoOpaque = 2, etoClipped = 4;
    applyModes();
    const TPoint anchor = Map(x, y);
    TRect box;
    if (rect) {
        box = normalised(Map(rect[0], rect[1]), Map(rect[2], rect[3]));
        if ((options & etoOpaque) && !box.IsEmpty()) {
            applyBrush({BS_SOLID, state_.bkColor, 0});
            canvas_.FillRect(box);
        }
    }
    // One record is one line of a picture; thousands of characters in one
    // are damage, and shaping them all would only cost time.
    if (characters.empty() || characters.size() > kMaxTextCharacters)
        return;
    const int level = canvas_.SaveDC();
    if (rect && (options & etoClipped))
        canvas_.IntersectClipRect(box);
    TFont& font = canvas_.Font();
    const TLogFontRecord& f = state_.font;
    if (!f.Face.empty())
        font.Name = f.Face;
    const double height = std::clamp(f.Height != 0 ? f.Height * ScaleY() : -12.0, -kMaxToolPixels, kMaxToolPixels);
    font.Height = toCanvas(height * kSubPixels);
    if (font.Height == 0)
        font.Height = -1;
    font.Orientation = f.Escapement;
    font.Charset = f.CharSet;
    font.Bold = f.Weight >= 600;
    font.Italic = f.Italic;
    font.Underline = f.Underline;
    font.StrikeOut = f.StrikeOut;
    font.Color = state_.textColor;
    canvas_.Brush().Style = state_.bkMode == OPAQUE ? TBrushStyle::bsSolid : TBrushStyle::bsClear;
    canvas_.Brush().Color = state_.bkColor;
    if (advances.size() >= characters.size()) {
        std::vector<int32_t> positions;
        positions.reserve(characters.size());
        double along = 0;
        const double scale = ScaleX() * kSubPixels;
        for (std::size_t i = 0; i < characters.size(); ++i) {
            positions.push_back(toCanvas(along * scale));
            along += advances[i];
        }
        canvas_.TextOutAt(anchor.x, anchor.y, characters, positions);
    } else {
        std::string utf8;
        for (char32_t c : characters)
            Utf8Append(utf8, c);
        canvas_.TextOut(anchor.x, anchor.y, utf8);
    }
    const TPoint position = canvas_.PenPos();
    canvas_.RestoreDC(level);
    if (state_.textAlign & TA_UPDATECP)
        canvas_.MoveTo(position.x, position.y);
}

void TPlayback::Blit(double x, double y, double width, double height, TBitmap* bitmap, double sx, double sy,
                     double sw, double sh, uint32_t rop)
{
    const TPoint a = Map(x, y), b = Map(x + width, y + height);
    if (std::abs(double(b.x) - a.x) > kBlitLimit * kSubPixels || std::abs(double(b.y) - a.y) > kBlitLimit * kSubPixels)
        return;
    applyBrush();
    applyModes();
    if (!bitmap) {
        canvas_.PatBlt(a.x, a.y, b.x - a.x, b.y - a.y, rop);
        return;
    }
    if (std::abs(sw) > kBlitLimit || std::abs(sh) > kBlitLimit)
        return;
    canvas_.StretchBlt(a.x, a.y, b.x - a.x, b.y - a.y, bitmap->Canvas(), toCanvas(sx), toCanvas(sy), toCanvas(sw),
                       toCanvas(sh), rop);
}

void TPlayback::MaskedBlit(double x, double y, double width, double height, TBitmap& image, TBitmap& mask)
{
    const TPoint a = Map(x, y), b = Map(x + width, y + height);
    if (std::abs(double(b.x) - a.x) > kBlitLimit * kSubPixels || std::abs(double(b.y) - a.y) > kBlitLimit * kSubPixels)
        return;
    if (!reaches({a, b}))
        return;
    DrawMasked(canvas_, {a.x, a.y, b.x, b.y}, image, mask);
}

// --- paths ---

void TPlayback::BeginPath() { canvas_.BeginPath(); }
void TPlayback::EndPath() { canvas_.EndPath(); }
void TPlayback::AbortPath() { canvas_.AbortPath(); }
void TPlayback::CloseFigure() { canvas_.CloseFigure(); }

void TPlayback::FillPath()
{
    applyBrush();
    applyModes();
    if (state_.brush.Pattern && canvas_.ClipRegion().has_value()) {
        // The recorded path becomes the clip the pattern fills.
        const int level = canvas_.SaveDC();
        canvas_.SelectClipPath(RGN_AND);
        canvas_.Pen().Style = TPenStyle::psClear;
        patternFill([&] { canvas_.Rectangle(-(1 << 27), -(1 << 27), 1 << 27, 1 << 27); });
        canvas_.RestoreDC(level);
        return;
    }
    canvas_.FillPath();
}

void TPlayback::StrokePath()
{
    applyPen();
    applyModes();
    canvas_.StrokePath();
}

void TPlayback::StrokeAndFillPath()
{
    applyPen();
    applyBrush();
    applyModes();
    canvas_.StrokeAndFillPath();
}

// --- helpers ---

bool ReadPackedDib(std::string_view header, std::string_view bits, TBitmap& bitmap, bool& bottomUp)
{
    if (header.size() < 12)
        return false;
    const auto u32 = [&](std::size_t at) {
        return uint32_t(uint8_t(header[at])) | uint32_t(uint8_t(header[at + 1])) << 8 |
               uint32_t(uint8_t(header[at + 2])) << 16 | uint32_t(uint8_t(header[at + 3])) << 24;
    };
    const uint32_t size = u32(0);
    if (size == 12)
        bottomUp = true;
    else if (size >= 40 && header.size() >= 12)
        bottomUp = int32_t(u32(8)) > 0;
    else
        return false;
    std::string dib;
    dib.reserve(header.size() + bits.size());
    dib.append(header);
    dib.append(bits);
    try {
        ReadDib(dib, bitmap);
    } catch (const std::exception&) {
        return false;
    }
    return bitmap.Width() > 0 && bitmap.Height() > 0;
}

TLogBrush PatternBrush(TBitmap& pattern)
{
    uint64_t r = 0, g = 0, b = 0;
    const int32_t width = std::min(pattern.Width(), 64), height = std::min(pattern.Height(), 64);
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            const TColor c = pattern.GetPixelColor(x, y);
            r += GetRValue(c);
            g += GetGValue(c);
            b += GetBValue(c);
        }
    }
    const uint64_t count = uint64_t(std::max(1, width * height));
    TLogBrush brush{BS_DIBPATTERN, RGB(uint8_t(r / count), uint8_t(g / count), uint8_t(b / count)), 0, nullptr};
    // Patterns repeat every few pixels; a larger one is damage or a
    // picture, and its average colour does.
    if (pattern.Width() <= 256 && pattern.Height() <= 256) {
        brush.Pattern = std::make_shared<TBitmap>(pattern.Width(), pattern.Height(), TPixelFormat::pf24bit);
        for (int32_t y = 0; y < pattern.Height(); ++y)
            for (int32_t x = 0; x < pattern.Width(); ++x)
                WritePixel(brush.Pattern->Row(y), x, TPixelFormat::pf24bit,
                           brush.Pattern->ColorToPixel(pattern.GetPixelColor(x, y)));
    }
    return brush;
}

void DecodeAnsiText(std::string_view bytes, uint8_t charSet, std::u32string& characters, std::vector<int>& byteCounts)
{
    characters.clear();
    byteCounts.clear();
    const bool japanese = charSet != ANSI_CHARSET && charSet != SYMBOL_CHARSET;
    for (std::size_t i = 0; i < bytes.size();) {
        const uint8_t lead = uint8_t(bytes[i]);
        std::size_t length = 1;
        if (japanese && ((lead >= 0x81 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xFC)) && i + 1 < bytes.size())
            length = 2;
        char32_t character = lead;
        if (japanese && lead >= 0x80) {
            const std::string utf8 = DecodeCp932(bytes.substr(i, length));
            character = utf8.empty() ? U'\uFFFD' : Utf8Decode(utf8, 0);
        }
        characters.push_back(character);
        byteCounts.push_back(int(length));
        i += length;
    }
}

}  // namespace orvella::metafile

namespace orvella {

bool PlayMetafile(TCanvas& canvas, std::string_view bytes, const TRect& rect)
{
    const TPoint a = canvas.LPtoDP(rect.TopLeft()), b = canvas.LPtoDP(rect.BottomRight());
    const TRect destination{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
    if (destination.IsEmpty())
        return true;
    return metafile::PlayEnhancedMetafile(canvas, bytes, destination) ||
           metafile::PlayWindowsMetafile(canvas, bytes, destination);
}

}  // namespace orvella
