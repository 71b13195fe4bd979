// Enhanced metafile records played through the shared playback state.
// Every record is read through its own bounds-checked reader: a record
// that runs short or names offsets outside itself is skipped, and the
// records after it still play.

#include "graphics/metafile_playback.h"

#include "graphics/metafile_player.h"

#include "formats/byte_reader.h"
#include "formats/byte_writer.h"
#include "graphics/bitmap.h"
#include "graphics/rect_utils.h"
#include "platform/utf8.h"
#include "platform/win_math.h"

#include <bit>
#include <climits>
#include <cmath>
#include <cstring>

namespace orvella::metafile {

namespace emf_records {

enum : uint32_t {
    HEADER = 1, POLYBEZIER = 2, POLYGON = 3, POLYLINE = 4, POLYBEZIERTO = 5, POLYLINETO = 6, POLYPOLYLINE = 7,
    POLYPOLYGON = 8, SETWINDOWEXTEX = 9, SETWINDOWORGEX = 10, SETVIEWPORTEXTEX = 11, SETVIEWPORTORGEX = 12,
    EOF_ = 14, SETPIXELV = 15, SETMAPMODE = 17, SETBKMODE = 18, SETPOLYFILLMODE = 19, SETROP2 = 20,
    SETSTRETCHBLTMODE = 21, SETTEXTALIGN = 22, SETTEXTCOLOR = 24, SETBKCOLOR = 25, OFFSETCLIPRGN = 26,
    MOVETOEX = 27, EXCLUDECLIPRECT = 29, INTERSECTCLIPRECT = 30, SCALEVIEWPORTEXTEX = 31, SCALEWINDOWEXTEX = 32,
    SAVEDC = 33, RESTOREDC = 34, SETWORLDTRANSFORM = 35, MODIFYWORLDTRANSFORM = 36, SELECTOBJECT = 37,
    CREATEPEN = 38, CREATEBRUSHINDIRECT = 39, DELETEOBJECT = 40, ANGLEARC = 41, ELLIPSE = 42, RECTANGLE = 43,
    ROUNDRECT = 44, ARC = 45, CHORD = 46, PIE = 47, LINETO = 54, ARCTO = 55, POLYDRAW = 56, SETARCDIRECTION = 57,
    BEGINPATH = 59, ENDPATH = 60, CLOSEFIGURE = 61, FILLPATH = 62, STROKEANDFILLPATH = 63, STROKEPATH = 64,
    SELECTCLIPPATH = 67, ABORTPATH = 68, FILLRGN = 71, FRAMERGN = 72, INVERTRGN = 73, PAINTRGN = 74,
    EXTSELECTCLIPRGN = 75, BITBLT = 76, STRETCHBLT = 77, SETDIBITSTODEVICE = 80, STRETCHDIBITS = 81,
    EXTCREATEFONTINDIRECTW = 82, EXTTEXTOUTA = 83, EXTTEXTOUTW = 84, POLYBEZIER16 = 85, POLYGON16 = 86,
    POLYLINE16 = 87, POLYBEZIERTO16 = 88, POLYLINETO16 = 89, POLYPOLYLINE16 = 90, POLYPOLYGON16 = 91,
    POLYDRAW16 = 92, CREATEMONOBRUSH = 93, CREATEDIBPATTERNBRUSHPT = 94, EXTCREATEPEN = 95, ALPHABLEND = 114,
    TRANSPARENTBLT = 116
};

constexpr uint32_t kSignature = 0x464D4520;  // " EMF"
constexpr uint32_t kStockBit = 0x80000000;
// Records beyond this many are not played: no real picture has them, and a
// damaged count must not keep the player busy.
constexpr std::size_t kMaxRecords = 1u << 22;
// Regions are built rectangle by rectangle, each step costing as much as
// the region so far: a count beyond any real clip is taken for damage.
constexpr uint32_t kMaxRegionRects = 4096;
// Longer texts in one record are damage; decoding them would only cost time.
constexpr uint32_t kMaxTextUnits = 8192;

class TEmfPlayer {
public:
    TEmfPlayer(TPlayback& playback, std::string_view bytes) : play_(playback), bytes_(bytes) {}
    void Run();

private:
    void record(uint32_t type, std::string_view data);
    std::vector<TPointD> points(TByteReader& in, bool small, std::size_t count);
    std::vector<TPointD> countedPoints(TByteReader& in, bool small);
    std::vector<std::vector<TPointD>> polyPoints(TByteReader& in, bool small);
    QRegion region(TByteReader& in, uint32_t size);
    bool bitmapAt(std::string_view data, uint32_t offHeader, uint32_t sizeHeader, uint32_t offBits,
                  uint32_t sizeBits, TBitmap& bitmap, bool& bottomUp);
    void text(std::string_view data, bool wide);
    TLogBrush brushOf(uint32_t index) const;

    TPlayback& play_;
    std::string_view bytes_;
};

TPointD readPoint(TByteReader& in, bool small)
{
    if (small) {
        const int16_t x = in.ReadI16();
        return {double(x), double(in.ReadI16())};
    }
    const int32_t x = in.ReadI32();
    return {double(x), double(in.ReadI32())};
}

float readFloat(TByteReader& in)
{
    const float value = std::bit_cast<float>(in.ReadU32());
    return std::isfinite(value) ? value : 0.0f;
}

TXForm readXForm(TByteReader& in)
{
    TXForm x;
    x.m11 = readFloat(in);
    x.m12 = readFloat(in);
    x.m21 = readFloat(in);
    x.m22 = readFloat(in);
    x.dx = readFloat(in);
    x.dy = readFloat(in);
    return x;
}

std::vector<TPointD> TEmfPlayer::points(TByteReader& in, bool small, std::size_t count)
{
    if (count > in.Remaining() / (small ? 4 : 8))
        TByteReader::Fail("点の数が不正です");
    std::vector<TPointD> out;
    out.reserve(count);
    for (std::size_t i = 0; i < count; ++i)
        out.push_back(readPoint(in, small));
    return out;
}

std::vector<TPointD> TEmfPlayer::countedPoints(TByteReader& in, bool small)
{
    in.Skip(16);  // bounds
    const uint32_t count = in.ReadU32();
    return points(in, small, count);
}

std::vector<std::vector<TPointD>> TEmfPlayer::polyPoints(TByteReader& in, bool small)
{
    in.Skip(16);
    const uint32_t polygons = in.ReadU32();
    const uint32_t total = in.ReadU32();
    if (polygons > in.Remaining() / 4)
        TByteReader::Fail("図形の数が不正です");
    std::vector<uint32_t> counts(polygons);
    uint64_t sum = 0;
    for (auto& count : counts) {
        count = in.ReadU32();
        sum += count;
    }
    if (sum != total)
        TByteReader::Fail("点の数が合いません");
    std::vector<std::vector<TPointD>> out;
    out.reserve(polygons);
    for (uint32_t count : counts)
        out.push_back(points(in, small, count));
    return out;
}

QRegion TEmfPlayer::region(TByteReader& in, uint32_t size)
{
    TByteReader data(in.ReadBytes(size));
    const uint32_t headerSize = data.ReadU32();
    data.ReadU32();  // type
    const uint32_t count = data.ReadU32();
    data.ReadU32();  // size of the rectangles
    data.Skip(16);   // bounds
    if (headerSize != 32 || count > data.Remaining() / 16 || count > kMaxRegionRects)
        TByteReader::Fail("領域が不正です");
    std::vector<TRect> rects(count);
    for (TRect& r : rects) {
        r.Left = data.ReadI32();
        r.Top = data.ReadI32();
        r.Right = data.ReadI32();
        r.Bottom = data.ReadI32();
    }
    return play_.DeviceRegion(rects);
}

bool TEmfPlayer::bitmapAt(std::string_view data, uint32_t offHeader, uint32_t sizeHeader, uint32_t offBits,
                          uint32_t sizeBits, TBitmap& bitmap, bool& bottomUp)
{
    auto inside = [&](uint32_t offset, uint32_t size) {
        return offset <= data.size() && size <= data.size() - offset;
    };
    if (sizeHeader == 0 || !inside(offHeader, sizeHeader) || !inside(offBits, sizeBits))
        return false;
    return ReadPackedDib(data.substr(offHeader, sizeHeader), data.substr(offBits, sizeBits), bitmap, bottomUp);
}

TLogBrush TEmfPlayer::brushOf(uint32_t index) const
{
    if (index & kStockBit) {
        switch (index & ~kStockBit) {
        case 0: return {BS_SOLID, clWhite, 0};
        case 1: return {BS_SOLID, RGB(0xC0, 0xC0, 0xC0), 0};
        case 2: return {BS_SOLID, RGB(0x80, 0x80, 0x80), 0};
        case 3: return {BS_SOLID, RGB(0x40, 0x40, 0x40), 0};
        case 4: return {BS_SOLID, clBlack, 0};
        default: return {BS_NULL, clWhite, 0};
        }
    }
    const TPlayObject* object = play_.Object(index);
    if (object && object->kind == TPlayObject::Kind::Brush)
        return object->brush;
    return {BS_NULL, clWhite, 0};
}

void TEmfPlayer::text(std::string_view data, bool wide)
{
    TByteReader in(data);
    in.Skip(8 + 16);  // type, size, bounds
    in.ReadU32();     // graphics mode
    readFloat(in);
    readFloat(in);
    const TPointD reference = readPoint(in, false);
    const uint32_t count = in.ReadU32();
    const uint32_t offString = in.ReadU32();
    const uint32_t options = in.ReadU32();
    double rect[4];
    for (double& side : rect)
        side = in.ReadI32();
    const uint32_t offDx = in.ReadU32();
    constexpr uint32_t etoGlyphIndex = 0x10, etoPdy = 0x2000;
    const std::size_t unit = wide ? 2 : 1;
    if (offString > data.size() || count > (data.size() - offString) / unit || count > kMaxTextUnits)
        return;
    std::u32string characters;
    std::vector<int> units;  // string units each character took
    if (wide) {
        std::u16string text(count, u'\0');
        for (uint32_t i = 0; i < count; ++i)
            text[i] = char16_t(uint8_t(data[offString + 2 * i]) | uint8_t(data[offString + 2 * i + 1]) << 8);
        for (std::size_t i = 0; i < text.size();) {
            const char16_t c = text[i];
            if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000) {
                characters.push_back(0x10000 + ((char32_t(c) - 0xD800) << 10) + (text[i + 1] - 0xDC00));
                units.push_back(2);
                i += 2;
            } else {
                characters.push_back(c >= 0xD800 && c < 0xE000 ? U'\uFFFD' : char32_t(c));
                units.push_back(1);
                ++i;
            }
        }
    } else {
        DecodeAnsiText(data.substr(offString, count), play_.State().font.CharSet, characters, units);
    }
    // Glyph indices name glyphs of the recording font, not characters.
    if (options & etoGlyphIndex)
        characters.clear();
    std::vector<double> advances;
    const std::size_t perUnit = (options & etoPdy) ? 2 : 1;
    if (offDx != 0 && offDx <= data.size() && count <= (data.size() - offDx) / (4 * perUnit)) {
        TByteReader dx(data.substr(offDx));
        std::vector<double> unitAdvances(count);
        for (double& advance : unitAdvances) {
            advance = dx.ReadI32();
            if (perUnit == 2)
                dx.ReadI32();
        }
        std::size_t at = 0;
        for (int taken : units) {
            double sum = 0;
            for (int k = 0; k < taken && at < unitAdvances.size(); ++k)
                sum += unitAdvances[at++];
            advances.push_back(sum);
        }
    }
    play_.Text(reference.x, reference.y, characters, advances, options, rect);
}

void TEmfPlayer::Run()
{
    std::size_t position = 0;
    std::size_t played = 0;
    while (position + 8 <= bytes_.size() && played++ < kMaxRecords) {
        TByteReader head(bytes_.substr(position, 8));
        const uint32_t type = head.ReadU32();
        const uint32_t size = head.ReadU32();
        if (size < 8 || size % 4 != 0 || size > bytes_.size() - position)
            break;
        if (type == EOF_)
            break;
        try {
            record(type, bytes_.substr(position, size));
        } catch (const std::exception&) {
            // A damaged record draws nothing; the others still play.
        }
        position += size;
    }
}

void TEmfPlayer::record(uint32_t type, std::string_view data)
{
    TByteReader in(data);
    in.Skip(8);
    TPlayState& state = play_.State();
    switch (type) {
    case POLYBEZIER: case POLYBEZIER16: play_.PolyBezier(countedPoints(in, type == POLYBEZIER16)); break;
    case POLYGON: case POLYGON16: play_.Polygon(countedPoints(in, type == POLYGON16)); break;
    case POLYLINE: case POLYLINE16: play_.Polyline(countedPoints(in, type == POLYLINE16)); break;
    case POLYBEZIERTO: case POLYBEZIERTO16: play_.PolyBezierTo(countedPoints(in, type == POLYBEZIERTO16)); break;
    case POLYLINETO: case POLYLINETO16: play_.PolylineTo(countedPoints(in, type == POLYLINETO16)); break;
    case POLYPOLYLINE: case POLYPOLYLINE16:
        for (const auto& line : polyPoints(in, type == POLYPOLYLINE16))
            play_.Polyline(line);
        break;
    case POLYPOLYGON: case POLYPOLYGON16: play_.PolyPolygon(polyPoints(in, type == POLYPOLYGON16)); break;
    case POLYDRAW: case POLYDRAW16: {
        const bool small = type == POLYDRAW16;
        std::vector<TPointD> list = countedPoints(in, small);
        const std::string_view kinds = in.ReadBytes(list.size());
        play_.PolyDraw(list, {kinds.begin(), kinds.end()});
        break;
    }
    case SETWINDOWEXTEX: {
        const int32_t x = in.ReadI32(), y = in.ReadI32();
        if ((state.mapMode == MM_ANISOTROPIC || state.mapMode == MM_ISOTROPIC_) && x != 0 && y != 0) {
            state.windowExtX = x;
            state.windowExtY = y;
        }
        break;
    }
    case SETWINDOWORGEX: state.windowOrgX = in.ReadI32(); state.windowOrgY = in.ReadI32(); break;
    case SETVIEWPORTEXTEX: {
        const int32_t x = in.ReadI32(), y = in.ReadI32();
        if ((state.mapMode == MM_ANISOTROPIC || state.mapMode == MM_ISOTROPIC_) && x != 0 && y != 0) {
            state.viewportExtX = x;
            state.viewportExtY = y;
        }
        break;
    }
    case SETVIEWPORTORGEX: state.viewportOrgX = in.ReadI32(); state.viewportOrgY = in.ReadI32(); break;
    case SCALEVIEWPORTEXTEX: case SCALEWINDOWEXTEX: {
        const int32_t xNum = in.ReadI32(), xDen = in.ReadI32(), yNum = in.ReadI32(), yDen = in.ReadI32();
        if (state.mapMode != MM_ANISOTROPIC && state.mapMode != MM_ISOTROPIC_)
            break;
        if (type == SCALEVIEWPORTEXTEX)
            play_.ScaleViewport(xNum, xDen, yNum, yDen);
        else
            play_.ScaleWindow(xNum, xDen, yNum, yDen);
        break;
    }
    case SETPIXELV: {
        const TPointD p = readPoint(in, false);
        play_.SetPixel(p.x, p.y, in.ReadU32() & 0xFFFFFF);
        break;
    }
    case SETMAPMODE: play_.SetMapMode(int(in.ReadU32())); break;
    case SETBKMODE: state.bkMode = int(in.ReadU32()); break;
    case SETPOLYFILLMODE: state.polyFillMode = int(in.ReadU32()); break;
    case SETROP2: {
        const uint32_t mode = in.ReadU32();
        if (mode >= R2_BLACK && mode <= R2_WHITE)
            state.rop2 = int(mode);
        break;
    }
    case SETSTRETCHBLTMODE: state.stretchMode = int(in.ReadU32()); break;
    case SETTEXTALIGN: state.textAlign = in.ReadU32(); break;
    case SETTEXTCOLOR: state.textColor = in.ReadU32() & 0xFFFFFF; break;
    case SETBKCOLOR: state.bkColor = in.ReadU32() & 0xFFFFFF; break;
    case SETARCDIRECTION: state.clockwise = in.ReadU32() == 2; break;
    case OFFSETCLIPRGN: {
        const TPointD p = readPoint(in, false);
        play_.OffsetClip(p.x, p.y);
        break;
    }
    case MOVETOEX: {
        const TPointD p = readPoint(in, false);
        play_.MoveTo(p.x, p.y);
        break;
    }
    case LINETO: {
        const TPointD p = readPoint(in, false);
        play_.LineTo(p.x, p.y);
        break;
    }
    case EXCLUDECLIPRECT: case INTERSECTCLIPRECT: {
        const double l = in.ReadI32(), t = in.ReadI32(), r = in.ReadI32(), b = in.ReadI32();
        if (type == EXCLUDECLIPRECT)
            play_.ExcludeClipRect(l, t, r, b);
        else
            play_.IntersectClipRect(l, t, r, b);
        break;
    }
    case SAVEDC: play_.SaveDC(); break;
    case RESTOREDC: play_.RestoreDC(in.ReadI32()); break;
    case SETWORLDTRANSFORM: state.world = readXForm(in); break;
    case MODIFYWORLDTRANSFORM: {
        const TXForm x = readXForm(in);
        switch (in.ReadU32()) {
        case 1: state.world = TXForm{}; break;
        case 2: state.world = x.Then(state.world); break;
        case 3: state.world = state.world.Then(x); break;
        case 4: state.world = x; break;
        default: break;
        }
        break;
    }
    case SELECTOBJECT: {
        const uint32_t index = in.ReadU32();
        if (index & kStockBit)
            play_.SelectStockObject(index & ~kStockBit);
        else
            play_.SelectObject(index);
        break;
    }
    case DELETEOBJECT: play_.DeleteObject(in.ReadU32()); break;
    case CREATEPEN: {
        const uint32_t index = in.ReadU32();
        TPlayObject object;
        object.kind = TPlayObject::Kind::Pen;
        object.pen.Style = int(in.ReadU32() & 0xF);
        object.pen.Width = in.ReadI32();
        in.ReadI32();
        object.pen.Color = in.ReadU32() & 0xFFFFFF;
        object.pen.Cosmetic = object.pen.Width <= 1;
        play_.PutObject(index, object);
        break;
    }
    case EXTCREATEPEN: {
        const uint32_t index = in.ReadU32();
        in.Skip(16);  // pattern bitmap offsets
        const uint32_t style = in.ReadU32();
        TPlayObject object;
        object.kind = TPlayObject::Kind::Pen;
        object.pen.Style = int(style & 0xF);
        object.pen.Width = in.ReadU32();
        const uint32_t brushStyle = in.ReadU32();
        object.pen.Color = in.ReadU32() & 0xFFFFFF;
        object.pen.Cosmetic = (style & 0xF0000) == 0;  // PS_GEOMETRIC is 0x10000
        if (brushStyle == BS_NULL)
            object.pen.Style = PS_NULL;
        if (object.pen.Style > 6)  // user styles and alternate dots draw solid
            object.pen.Style = PS_SOLID;
        play_.PutObject(index, object);
        break;
    }
    case CREATEBRUSHINDIRECT: {
        const uint32_t index = in.ReadU32();
        TPlayObject object;
        object.kind = TPlayObject::Kind::Brush;
        object.brush.Style = int(in.ReadU32());
        object.brush.Color = in.ReadU32() & 0xFFFFFF;
        object.brush.Hatch = int(in.ReadU32());
        if (object.brush.Style != BS_SOLID && object.brush.Style != BS_NULL && object.brush.Style != BS_HATCHED)
            object.brush.Style = BS_SOLID;
        play_.PutObject(index, object);
        break;
    }
    case CREATEMONOBRUSH: case CREATEDIBPATTERNBRUSHPT: {
        const uint32_t index = in.ReadU32();
        in.ReadU32();  // colour usage
        const uint32_t offHeader = in.ReadU32(), sizeHeader = in.ReadU32();
        const uint32_t offBits = in.ReadU32(), sizeBits = in.ReadU32();
        TPlayObject object;
        object.kind = TPlayObject::Kind::Brush;
        TBitmap pattern;
        bool bottomUp = true;
        if (bitmapAt(data, offHeader, sizeHeader, offBits, sizeBits, pattern, bottomUp))
            object.brush = PatternBrush(pattern);
        else
            object.brush = {BS_SOLID, RGB(0x80, 0x80, 0x80), 0};
        play_.PutObject(index, object);
        break;
    }
    case EXTCREATEFONTINDIRECTW: {
        const uint32_t index = in.ReadU32();
        TPlayObject object;
        object.kind = TPlayObject::Kind::Font;
        TLogFontRecord& font = object.font;
        font.Height = in.ReadI32();
        in.ReadI32();  // width
        font.Escapement = in.ReadI32();
        in.ReadI32();  // orientation
        font.Weight = in.ReadI32();
        font.Italic = in.ReadU8() != 0;
        font.Underline = in.ReadU8() != 0;
        font.StrikeOut = in.ReadU8() != 0;
        font.CharSet = in.ReadU8();
        in.Skip(4);
        std::u16string face;
        for (int i = 0; i < 32; ++i) {
            const char16_t c = in.ReadU16();
            if (c == 0)
                break;
            face.push_back(c);
        }
        font.Face = Utf16ToUtf8(face);
        play_.PutObject(index, object);
        break;
    }
    case ANGLEARC: {
        const TPointD centre = readPoint(in, false);
        const uint32_t radius = in.ReadU32();
        const float start = readFloat(in), sweep = readFloat(in);
        play_.AngleArc(centre.x, centre.y, radius, start, sweep);
        break;
    }
    case ELLIPSE: case RECTANGLE: case ROUNDRECT: case ARC: case CHORD: case PIE: case ARCTO: {
        const double l = in.ReadI32(), t = in.ReadI32(), r = in.ReadI32(), b = in.ReadI32();
        if (type == ELLIPSE) {
            play_.Ellipse(l, t, r, b);
        } else if (type == RECTANGLE) {
            play_.Rectangle(l, t, r, b);
        } else if (type == ROUNDRECT) {
            const double w = in.ReadI32(), h = in.ReadI32();
            play_.RoundRect(l, t, r, b, w, h);
        } else {
            const TPointD start = readPoint(in, false), end = readPoint(in, false);
            const auto kind = type == ARC     ? TPlayback::ArcKind::Arc
                              : type == ARCTO ? TPlayback::ArcKind::ArcTo
                              : type == CHORD ? TPlayback::ArcKind::Chord
                                              : TPlayback::ArcKind::Pie;
            play_.ArcShape(kind, l, t, r, b, start, end);
        }
        break;
    }
    case BEGINPATH: play_.BeginPath(); break;
    case ENDPATH: play_.EndPath(); break;
    case CLOSEFIGURE: play_.CloseFigure(); break;
    case FILLPATH: play_.FillPath(); break;
    case STROKEPATH: play_.StrokePath(); break;
    case STROKEANDFILLPATH: play_.StrokeAndFillPath(); break;
    case ABORTPATH: play_.AbortPath(); break;
    case SELECTCLIPPATH: play_.SelectClipPath(int(in.ReadU32())); break;
    case EXTSELECTCLIPRGN: {
        const uint32_t size = in.ReadU32();
        const int mode = int(in.ReadU32());
        if (size == 0) {
            play_.CombineClip(nullptr, RGN_COPY);
        } else {
            const QRegion device = region(in, size);
            play_.CombineClip(&device, mode);
        }
        break;
    }
    case FILLRGN: case FRAMERGN: case INVERTRGN: case PAINTRGN: {
        in.Skip(16);
        const uint32_t size = in.ReadU32();
        TLogBrush brush = play_.State().brush;
        if (type == FILLRGN || type == FRAMERGN)
            brush = brushOf(in.ReadU32());
        int32_t width = 1, height = 1;
        if (type == FRAMERGN) {
            width = in.ReadI32();
            height = in.ReadI32();
        }
        const QRegion device = region(in, size);
        if (type == INVERTRGN)
            play_.InvertRegion(device);
        else if (type == FRAMERGN)
            play_.FrameRegion(device, brush, width, height);
        else
            play_.FillRegion(device, brush);
        break;
    }
    case ALPHABLEND: case TRANSPARENTBLT: {
        in.Skip(16);
        const double x = in.ReadI32(), y = in.ReadI32(), cx = in.ReadI32(), cy = in.ReadI32();
        const uint32_t operation = in.ReadU32();  // blend function, or the transparent colour
        const int32_t sx = in.ReadI32(), sy = in.ReadI32();
        in.Skip(24 + 4 + 4);
        const uint32_t offHeader = in.ReadU32(), sizeHeader = in.ReadU32();
        const uint32_t offBits = in.ReadU32(), sizeBits = in.ReadU32();
        const int32_t sw = in.ReadI32(), sh = in.ReadI32();
        TBitmap bitmap;
        bool bottomUp = true;
        if (!bitmapAt(data, offHeader, sizeHeader, offBits, sizeBits, bitmap, bottomUp))
            break;
        const TRect from = IntersectRect({sx, sy, sx + sw, sy + sh}, {0, 0, bitmap.Width(), bitmap.Height()});
        if (from.IsEmpty() || from != TRect{sx, sy, sx + sw, sy + sh})
            break;
        const uint8_t constantAlpha = uint8_t(operation >> 16);
        const bool perPixel = type == ALPHABLEND && (operation >> 24 & 1) && bitmap.PixelFormat() == TPixelFormat::pf32bit;
        if (type == ALPHABLEND && constantAlpha < 128)
            break;  // mostly see-through: the canvas has no blending, so it is left out
        TBitmap image(sw, sh, TPixelFormat::pf24bit), mask(sw, sh, TPixelFormat::pf24bit);
        for (int32_t row = 0; row < sh; ++row) {
            for (int32_t column = 0; column < sw; ++column) {
                const uint32_t pixel = ReadPixel(bitmap.Row(from.Top + row), from.Left + column, bitmap.PixelFormat());
                TColor colour = bitmap.GetPixelColor(from.Left + column, from.Top + row);
                bool seeThrough = false;
                if (type == TRANSPARENTBLT) {
                    seeThrough = colour == (operation & 0xFFFFFF);
                } else if (perPixel) {
                    // Colours are stored multiplied by their opacity.
                    const uint32_t alpha = pixel >> 24;
                    seeThrough = alpha < 128;
                    if (!seeThrough && alpha < 255)
                        colour = RGB(uint8_t(std::min<uint32_t>(255, GetRValue(colour) * 255 / alpha)),
                                     uint8_t(std::min<uint32_t>(255, GetGValue(colour) * 255 / alpha)),
                                     uint8_t(std::min<uint32_t>(255, GetBValue(colour) * 255 / alpha)));
                }
                if (seeThrough)
                    colour = clWhite;
                WritePixel(image.Row(row), column, TPixelFormat::pf24bit, image.ColorToPixel(colour));
                WritePixel(mask.Row(row), column, TPixelFormat::pf24bit, seeThrough ? 0xFFFFFF : 0);
            }
        }
        play_.MaskedBlit(x, y, cx, cy, image, mask);
        break;
    }
    case BITBLT: case STRETCHBLT: {
        in.Skip(16);
        const double x = in.ReadI32(), y = in.ReadI32(), cx = in.ReadI32(), cy = in.ReadI32();
        const uint32_t rop = in.ReadU32();
        const double sx = in.ReadI32(), sy = in.ReadI32();
        in.Skip(24);   // source transform
        in.ReadU32();  // source background
        in.ReadU32();  // colour usage
        const uint32_t offHeader = in.ReadU32(), sizeHeader = in.ReadU32();
        const uint32_t offBits = in.ReadU32(), sizeBits = in.ReadU32();
        double sw = cx, sh = cy;
        if (type == STRETCHBLT) {
            sw = in.ReadI32();
            sh = in.ReadI32();
        }
        TBitmap bitmap;
        bool bottomUp = true;
        if (sizeHeader == 0) {
            play_.Blit(x, y, cx, cy, nullptr, 0, 0, 0, 0, rop);
        } else if (bitmapAt(data, offHeader, sizeHeader, offBits, sizeBits, bitmap, bottomUp)) {
            play_.Blit(x, y, cx, cy, &bitmap, sx, sy, sw, sh, rop);
        }
        break;
    }
    case STRETCHDIBITS: case SETDIBITSTODEVICE: {
        in.Skip(16);
        const double x = in.ReadI32(), y = in.ReadI32();
        const double sx = in.ReadI32(), sy = in.ReadI32(), sw = in.ReadI32(), sh = in.ReadI32();
        const uint32_t offHeader = in.ReadU32(), sizeHeader = in.ReadU32();
        const uint32_t offBits = in.ReadU32(), sizeBits = in.ReadU32();
        in.ReadU32();  // colour usage
        uint32_t rop = SRCCOPY;
        double cx = sw, cy = sh;
        if (type == STRETCHDIBITS) {
            rop = in.ReadU32();
            cx = in.ReadI32();
            cy = in.ReadI32();
        }
        TBitmap bitmap;
        bool bottomUp = true;
        if (!bitmapAt(data, offHeader, sizeHeader, offBits, sizeBits, bitmap, bottomUp))
            break;
        // Source rows count from the bottom of a bottom-up bitmap.
        const double top = bottomUp ? bitmap.Height() - sy - sh : sy;
        play_.Blit(x, y, cx, cy, &bitmap, sx, top, sw, sh, rop);
        break;
    }
    case EXTTEXTOUTA: text(data, false); break;
    case EXTTEXTOUTW: text(data, true); break;
    default: break;  // not drawn here: skipped by its size
    }
}

}  // namespace emf_records

bool PlayEnhancedMetafile(TCanvas& canvas, std::string_view bytes, const TRect& destination)
{
    TByteReader in(bytes);
    try {
        if (in.ReadU32() != emf_records::HEADER)
            return false;
        const uint32_t headerSize = in.ReadU32();
        in.Skip(16);  // bounds
        const int32_t frameLeft = in.ReadI32(), frameTop = in.ReadI32();
        const int32_t frameRight = in.ReadI32(), frameBottom = in.ReadI32();
        if (in.ReadU32() != emf_records::kSignature)
            return false;
        in.Skip(4 + 4 + 4 + 2 + 2 + 4 + 4 + 4);
        const int32_t devicePixelsX = in.ReadI32(), devicePixelsY = in.ReadI32();
        const int32_t millimetresX = in.ReadI32(), millimetresY = in.ReadI32();
        double micrometresX = 0, micrometresY = 0;
        if (headerSize >= 108 && bytes.size() >= 108) {
            in.Skip(12);
            micrometresX = in.ReadI32();
            micrometresY = in.ReadI32();
        }
        if (devicePixelsX <= 0 || devicePixelsY <= 0 || millimetresX <= 0 || millimetresY <= 0)
            return false;
        const double mmX = micrometresX > 0 ? micrometresX / 1000 : millimetresX;
        const double mmY = micrometresY > 0 ? micrometresY / 1000 : millimetresY;
        // The frame is in 0.01 mm and includes its right and bottom edge.
        const double toPixelsX = devicePixelsX / (mmX * 100), toPixelsY = devicePixelsY / (mmY * 100);
        const double left = frameLeft * toPixelsX, top = frameTop * toPixelsY;
        const double width = (double(frameRight) - frameLeft) * toPixelsX;
        const double height = (double(frameBottom) - frameTop) * toPixelsY;
        if (!(std::abs(width) > 0) || !(std::abs(height) > 0))
            return false;
        TPlayback playback(canvas, destination, left, top, width, height, false);
        playback.SetReferenceDevice(devicePixelsX, devicePixelsY, mmX, mmY);
        emf_records::TEmfPlayer(playback, bytes).Run();
    } catch (const std::exception&) {
        return false;
    }
    return true;
}

}  // namespace orvella::metafile

namespace orvella {

std::string ClipEnhancedMetafile(std::string_view bytes, const TRect& rect)
{
    try {
        TByteReader in(bytes);
        if (in.ReadU32() != metafile::emf_records::HEADER)
            return {};
        const uint32_t headerSize = in.ReadU32();
        if (headerSize < 88 || headerSize > bytes.size() || headerSize % 4 != 0)
            return {};
        in.Skip(16);
        const int32_t frameLeft = in.ReadI32(), frameTop = in.ReadI32();
        in.Skip(8);
        if (in.ReadU32() != metafile::emf_records::kSignature)
            return {};
        in.Skip(4 + 4 + 4 + 2 + 2 + 4 + 4 + 4);
        const int32_t devicePixelsX = in.ReadI32(), devicePixelsY = in.ReadI32();
        const int32_t millimetresX = in.ReadI32(), millimetresY = in.ReadI32();
        if (devicePixelsX <= 0 || devicePixelsY <= 0 || millimetresX <= 0 || millimetresY <= 0)
            return {};
        // Screen pixels to 0.01 mm, and 0.01 mm to the reference device.
        const int64_t left = int64_t(frameLeft) + MulDiv(rect.Left, 2540, 96);
        const int64_t top = int64_t(frameTop) + MulDiv(rect.Top, 2540, 96);
        const int64_t right = left + MulDiv(rect.Right - rect.Left, 2540, 96);
        const int64_t bottom = top + MulDiv(rect.Bottom - rect.Top, 2540, 96);
        auto fits = [](int64_t v) { return v >= INT32_MIN / 2 && v <= INT32_MAX / 2; };
        if (!fits(left) || !fits(top) || !fits(right) || !fits(bottom))
            return {};
        auto deviceX = [&](int64_t v) { return int32_t(v * devicePixelsX / (int64_t(millimetresX) * 100)); };
        auto deviceY = [&](int64_t v) { return int32_t(v * devicePixelsY / (int64_t(millimetresY) * 100)); };
        std::string clip;
        TByteWriter clipWriter(clip);
        for (uint32_t v : {uint32_t(metafile::emf_records::INTERSECTCLIPRECT), 24u, uint32_t(deviceX(left)),
                           uint32_t(deviceY(top)), uint32_t(deviceX(right)), uint32_t(deviceY(bottom))})
            clipWriter.WriteU32(v);
        std::string out(bytes.substr(0, headerSize));
        auto put = [&](std::size_t at, uint32_t v) {
            for (int i = 0; i < 4; ++i)
                out[at + i] = char((v >> (8 * i)) & 0xFF);
        };
        const int32_t bounds[4] = {deviceX(left), deviceY(top), deviceX(right) - 1, deviceY(bottom) - 1};
        for (int i = 0; i < 4; ++i)
            put(8 + 4 * i, uint32_t(bounds[i]));
        const int64_t frame[4] = {left, top, right, bottom};
        for (int i = 0; i < 4; ++i)
            put(24 + 4 * i, uint32_t(int32_t(frame[i])));
        TByteReader counts(bytes.substr(48, 8));
        put(48, uint32_t(bytes.size() + clip.size()));
        counts.ReadU32();
        put(52, counts.ReadU32() + 1);
        out += clip;
        out.append(bytes.substr(headerSize));
        return out;
    } catch (const std::exception&) {
        return {};
    }
}

}  // namespace orvella
