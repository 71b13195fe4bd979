// Placeable Windows metafile records played through the shared playback
// state. Parameters of most records are stored last first (y before x,
// bottom before top); each record is read through its own bounds-checked
// reader, and one that runs short is skipped.

#include "graphics/metafile_playback.h"

#include "formats/byte_reader.h"
#include "graphics/bitmap.h"
#include "platform/cp932.h"

#include <cmath>

namespace orvella::metafile {

namespace wmf_records {

enum : uint16_t {
    EOF_ = 0x0000, SETBKCOLOR = 0x0201, SETBKMODE = 0x0102, SETMAPMODE = 0x0103, SETROP2 = 0x0104,
    SETPOLYFILLMODE = 0x0106, SETSTRETCHBLTMODE = 0x0107, SETTEXTCOLOR = 0x0209, SETWINDOWORG = 0x020B,
    SETWINDOWEXT = 0x020C, SETVIEWPORTORG = 0x020D, SETVIEWPORTEXT = 0x020E, OFFSETWINDOWORG = 0x020F,
    SCALEWINDOWEXT = 0x0410, OFFSETVIEWPORTORG = 0x0211, SCALEVIEWPORTEXT = 0x0412, LINETO = 0x0213,
    MOVETO = 0x0214, EXCLUDECLIPRECT = 0x0415, INTERSECTCLIPRECT = 0x0416, ARC = 0x0817, ELLIPSE = 0x0418,
    PIE = 0x081A, RECTANGLE = 0x041B, ROUNDRECT = 0x061C, PATBLT = 0x061D, SAVEDC = 0x001E, SETPIXEL = 0x041F,
    OFFSETCLIPRGN = 0x0220, TEXTOUT = 0x0521, BITBLT = 0x0922, STRETCHBLT = 0x0B23, POLYGON = 0x0324,
    POLYLINE = 0x0325, RESTOREDC = 0x0127, FILLREGION = 0x0228, FRAMEREGION = 0x0429, INVERTREGION = 0x012A,
    PAINTREGION = 0x012B, SELECTCLIPREGION = 0x012C, SELECTOBJECT = 0x012D, SETTEXTALIGN = 0x012E,
    CHORD = 0x0830, EXTTEXTOUT = 0x0A32, SETDIBTODEV = 0x0D33, POLYPOLYGON = 0x0538, DIBBITBLT = 0x0940,
    DIBSTRETCHBLT = 0x0B41, DIBCREATEPATTERNBRUSH = 0x0142, STRETCHDIB = 0x0F43, DELETEOBJECT = 0x01F0,
    CREATEPALETTE = 0x00F7, CREATEPATTERNBRUSH = 0x01F9, CREATEPENINDIRECT = 0x02FA,
    CREATEFONTINDIRECT = 0x02FB, CREATEBRUSHINDIRECT = 0x02FC, CREATEREGION = 0x06FF
};

constexpr uint32_t kPlaceableKey = 0x9AC6CDD7;
constexpr std::size_t kPlaceableSize = 22;
constexpr std::size_t kMaxRecords = 1u << 22;
constexpr uint32_t kMaxRegionRects = 4096;

class TWmfPlayer {
public:
    TWmfPlayer(TPlayback& playback, std::string_view records) : play_(playback), records_(records) {}
    void Run();

private:
    void record(uint16_t function, std::string_view params);
    std::vector<TPointD> points(TByteReader& in, std::size_t count);
    // The device-independent bitmap that ends a record: header then bits.
    bool dib(std::string_view rest, TBitmap& bitmap, bool& bottomUp);
    void text(double x, double y, std::string_view bytes, const std::vector<double>& byteAdvances,
              uint32_t options, const double* rect);

    TPlayback& play_;
    std::string_view records_;
};

std::vector<TPointD> TWmfPlayer::points(TByteReader& in, std::size_t count)
{
    if (count > in.Remaining() / 4)
        TByteReader::Fail("点の数が不正です");
    std::vector<TPointD> out;
    out.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const int16_t x = in.ReadI16();
        out.push_back({double(x), double(in.ReadI16())});
    }
    return out;
}

bool TWmfPlayer::dib(std::string_view rest, TBitmap& bitmap, bool& bottomUp)
{
    // The header size, colour count and bit depth say where the bits begin.
    TByteReader in(rest);
    const uint32_t headerSize = in.ReadU32();
    std::size_t colours = 0;
    uint16_t bitCount = 0;
    uint32_t compression = 0, used = 0;
    if (headerSize == 12) {
        in.Skip(6);
        bitCount = in.ReadU16();
    } else if (headerSize >= 40) {
        in.Skip(10);
        bitCount = in.ReadU16();
        compression = in.ReadU32();
        in.Skip(12);
        used = in.ReadU32();
    } else {
        return false;
    }
    if (bitCount <= 8)
        colours = used != 0 ? used : (std::size_t(1) << bitCount);
    else if (compression == 3 && headerSize == 40)
        colours = 3;  // the bit field masks
    const std::size_t tableSize = colours * (headerSize == 12 ? 3 : 4);
    if (headerSize > rest.size() || tableSize > rest.size() - headerSize)
        return false;
    const std::size_t bitsAt = headerSize + tableSize;
    return ReadPackedDib(rest.substr(0, bitsAt), rest.substr(bitsAt), bitmap, bottomUp);
}

void TWmfPlayer::text(double x, double y, std::string_view bytes, const std::vector<double>& byteAdvances,
                      uint32_t options, const double* rect)
{
    if (bytes.size() > 8192)
        return;  // longer texts in one record are damage
    std::u32string characters;
    std::vector<int> byteCounts;
    DecodeAnsiText(bytes, play_.State().font.CharSet, characters, byteCounts);
    std::vector<double> advances;
    if (byteAdvances.size() >= bytes.size()) {
        std::size_t at = 0;
        for (int taken : byteCounts) {
            double sum = 0;
            for (int k = 0; k < taken; ++k)
                sum += byteAdvances[at++];
            advances.push_back(sum);
        }
    }
    play_.Text(x, y, characters, advances, options, rect);
}

void TWmfPlayer::Run()
{
    std::size_t position = 0;
    std::size_t played = 0;
    while (position + 6 <= records_.size() && played++ < kMaxRecords) {
        TByteReader head(records_.substr(position, 6));
        const uint32_t words = head.ReadU32();
        const uint16_t function = head.ReadU16();
        if (words < 3 || uint64_t(words) * 2 > records_.size() - position)
            break;
        if (function == EOF_)
            break;
        try {
            record(function, records_.substr(position + 6, std::size_t(words) * 2 - 6));
        } catch (const std::exception&) {
            // A damaged record draws nothing; the others still play.
        }
        position += std::size_t(words) * 2;
    }
}

void TWmfPlayer::record(uint16_t function, std::string_view params)
{
    TByteReader in(params);
    TPlayState& state = play_.State();
    auto colour = [&] { return in.ReadU32() & 0xFFFFFF; };
    auto word = [&] { return double(in.ReadI16()); };
    switch (function) {
    case SETBKCOLOR: state.bkColor = colour(); break;
    case SETBKMODE: state.bkMode = in.ReadU16(); break;
    case SETMAPMODE: play_.SetMapMode(in.ReadU16()); break;
    case SETROP2: {
        const uint16_t mode = in.ReadU16();
        if (mode >= R2_BLACK && mode <= R2_WHITE)
            state.rop2 = mode;
        break;
    }
    case SETPOLYFILLMODE: state.polyFillMode = in.ReadU16(); break;
    case SETSTRETCHBLTMODE: state.stretchMode = in.ReadU16(); break;
    case SETTEXTCOLOR: state.textColor = colour(); break;
    case SETTEXTALIGN: state.textAlign = in.ReadU16(); break;
    case SETWINDOWORG: state.windowOrgY = word(); state.windowOrgX = word(); break;
    case SETWINDOWEXT: {
        const double y = word(), x = word();
        if (x != 0 && y != 0) {
            state.windowExtX = x;
            state.windowExtY = y;
        }
        break;
    }
    case OFFSETWINDOWORG: {
        const double y = word(), x = word();
        state.windowOrgX += x;
        state.windowOrgY += y;
        break;
    }
    case SCALEWINDOWEXT: {
        const double yDen = word(), yNum = word(), xDen = word(), xNum = word();
        play_.ScaleWindow(xNum, xDen, yNum, yDen);
        break;
    }
    case SETVIEWPORTORG: case SETVIEWPORTEXT: case OFFSETVIEWPORTORG: case SCALEVIEWPORTEXT:
        break;  // the viewport is the destination rectangle
    case MOVETO: {
        const double y = word(), x = word();
        play_.MoveTo(x, y);
        break;
    }
    case LINETO: {
        const double y = word(), x = word();
        play_.LineTo(x, y);
        break;
    }
    case EXCLUDECLIPRECT: case INTERSECTCLIPRECT: {
        const double b = word(), r = word(), t = word(), l = word();
        if (function == EXCLUDECLIPRECT)
            play_.ExcludeClipRect(l, t, r, b);
        else
            play_.IntersectClipRect(l, t, r, b);
        break;
    }
    case OFFSETCLIPRGN: {
        const double y = word(), x = word();
        play_.OffsetClip(x, y);
        break;
    }
    case ARC: case PIE: case CHORD: {
        const double ye = word(), xe = word(), ys = word(), xs = word();
        const double b = word(), r = word(), t = word(), l = word();
        const auto kind = function == ARC   ? TPlayback::ArcKind::Arc
                          : function == PIE ? TPlayback::ArcKind::Pie
                                            : TPlayback::ArcKind::Chord;
        play_.ArcShape(kind, l, t, r, b, {xs, ys}, {xe, ye});
        break;
    }
    case ELLIPSE: case RECTANGLE: {
        const double b = word(), r = word(), t = word(), l = word();
        if (function == ELLIPSE)
            play_.Ellipse(l, t, r, b);
        else
            play_.Rectangle(l, t, r, b);
        break;
    }
    case ROUNDRECT: {
        const double h = word(), w = word(), b = word(), r = word(), t = word(), l = word();
        play_.RoundRect(l, t, r, b, w, h);
        break;
    }
    case PATBLT: {
        const uint32_t rop = in.ReadU32();
        const double h = word(), w = word(), y = word(), x = word();
        play_.Blit(x, y, w, h, nullptr, 0, 0, 0, 0, rop);
        break;
    }
    case SAVEDC: play_.SaveDC(); break;
    case RESTOREDC: play_.RestoreDC(in.ReadI16()); break;
    case SETPIXEL: {
        const TColor c = colour();
        const double y = word(), x = word();
        play_.SetPixel(x, y, c);
        break;
    }
    case TEXTOUT: {
        const uint16_t count = in.ReadU16();
        const std::string_view bytes = in.ReadBytes(count);
        in.Skip(count & 1);
        const double y = word(), x = word();
        text(x, y, bytes, {}, 0, nullptr);
        break;
    }
    case EXTTEXTOUT: {
        const double y = word(), x = word();
        const uint16_t count = in.ReadU16();
        const uint16_t options = in.ReadU16();
        double rect[4] = {0, 0, 0, 0};
        const bool hasRect = (options & 6) != 0 && in.Remaining() >= std::size_t(8) + count;
        if (hasRect) {
            rect[0] = word();
            rect[1] = word();
            rect[2] = word();
            rect[3] = word();
        }
        const std::string_view bytes = in.ReadBytes(count);
        if (count & 1 && in.Remaining() > 0)
            in.Skip(1);
        std::vector<double> advances;
        if (in.Remaining() >= std::size_t(count) * 2) {
            advances.resize(count);
            for (double& advance : advances)
                advance = word();
        }
        text(x, y, bytes, advances, options, hasRect ? rect : nullptr);
        break;
    }
    case POLYGON: case POLYLINE: {
        const uint16_t count = in.ReadU16();
        const std::vector<TPointD> list = points(in, count);
        if (function == POLYGON)
            play_.Polygon(list);
        else
            play_.Polyline(list);
        break;
    }
    case POLYPOLYGON: {
        const uint16_t polygons = in.ReadU16();
        if (polygons > in.Remaining() / 2)
            break;
        std::vector<uint16_t> counts(polygons);
        for (auto& count : counts)
            count = in.ReadU16();
        std::vector<std::vector<TPointD>> list;
        list.reserve(polygons);
        for (uint16_t count : counts)
            list.push_back(points(in, count));
        play_.PolyPolygon(list);
        break;
    }
    case SELECTOBJECT: play_.SelectObject(in.ReadU16()); break;
    case SELECTCLIPREGION: {
        const uint16_t index = in.ReadU16();
        const TPlayObject* object = play_.Object(index);
        if (object && object->kind == TPlayObject::Kind::Region)
            play_.SelectObject(index);
        else
            play_.CombineClip(nullptr, RGN_COPY);
        break;
    }
    case DELETEOBJECT: play_.DeleteObject(in.ReadU16()); break;
    case FILLREGION: case FRAMEREGION: case PAINTREGION: case INVERTREGION: {
        const uint16_t regionIndex = in.ReadU16();
        TLogBrush brush = state.brush;
        int32_t width = 1, height = 1;
        if (function == FILLREGION || function == FRAMEREGION) {
            const TPlayObject* b = play_.Object(in.ReadU16());
            if (b && b->kind == TPlayObject::Kind::Brush)
                brush = b->brush;
            else
                brush = {BS_NULL, clWhite, 0};
        }
        if (function == FRAMEREGION) {
            height = in.ReadI16();
            width = in.ReadI16();
        }
        const TPlayObject* r = play_.Object(regionIndex);
        if (!r || r->kind != TPlayObject::Kind::Region)
            break;
        const QRegion device = play_.LogicalRegion(r->region);
        if (function == INVERTREGION)
            play_.InvertRegion(device);
        else if (function == FRAMEREGION)
            play_.FrameRegion(device, brush, width, height);
        else
            play_.FillRegion(device, brush);
        break;
    }
    case BITBLT: case STRETCHBLT: case DIBBITBLT: case DIBSTRETCHBLT: {
        // Records without a bitmap carry one reserved word in its place.
        const bool stretch = function == STRETCHBLT || function == DIBSTRETCHBLT;
        const std::size_t plainWords = stretch ? 11 : 9;  // rop (2 words) and the coordinates
        const bool noSource = params.size() == plainWords * 2;
        const uint32_t rop = in.ReadU32();
        double sh = 0, sw = 0;
        if (stretch) {
            sh = word();
            sw = word();
        }
        const double sy = word(), sx = word();
        if (noSource)
            in.ReadU16();
        const double h = word(), w = word(), y = word(), x = word();
        if (!stretch) {
            sw = w;
            sh = h;
        }
        if (noSource) {
            play_.Blit(x, y, w, h, nullptr, 0, 0, 0, 0, rop);
            break;
        }
        if (function == BITBLT || function == STRETCHBLT)
            break;  // device-dependent bitmaps of 16-bit Windows are not drawn
        TBitmap bitmap;
        bool bottomUp = true;
        if (dib(in.Rest(), bitmap, bottomUp))
            play_.Blit(x, y, w, h, &bitmap, sx, sy, sw, sh, rop);
        break;
    }
    case STRETCHDIB: case SETDIBTODEV: {
        uint32_t rop = SRCCOPY;
        double sh = 0, sw = 0, sy = 0, sx = 0, h = 0, w = 0, y = 0, x = 0;
        if (function == STRETCHDIB) {
            rop = in.ReadU32();
            in.ReadU16();  // colour usage
            sh = word();
            sw = word();
            sy = word();
            sx = word();
            h = word();
            w = word();
            y = word();
            x = word();
        } else {
            in.ReadU16();  // colour usage
            in.ReadU16();  // scan count
            in.ReadU16();  // start scan
            sy = word();
            sx = word();
            sh = h = word();
            sw = w = word();
            y = word();
            x = word();
        }
        TBitmap bitmap;
        bool bottomUp = true;
        if (!dib(in.Rest(), bitmap, bottomUp))
            break;
        const double top = bottomUp ? bitmap.Height() - sy - sh : sy;
        play_.Blit(x, y, w, h, &bitmap, sx, top, sw, sh, rop);
        break;
    }
    case CREATEPENINDIRECT: {
        TPlayObject object;
        object.kind = TPlayObject::Kind::Pen;
        object.pen.Style = in.ReadU16() & 0xF;
        object.pen.Width = in.ReadI16();
        in.ReadI16();
        object.pen.Color = colour();
        object.pen.Cosmetic = object.pen.Width <= 1;
        play_.AddObject(object);
        break;
    }
    case CREATEBRUSHINDIRECT: {
        TPlayObject object;
        object.kind = TPlayObject::Kind::Brush;
        object.brush.Style = in.ReadU16();
        object.brush.Color = colour();
        object.brush.Hatch = in.ReadU16();
        if (object.brush.Style != BS_SOLID && object.brush.Style != BS_NULL && object.brush.Style != BS_HATCHED)
            object.brush.Style = BS_SOLID;
        play_.AddObject(object);
        break;
    }
    case DIBCREATEPATTERNBRUSH: case CREATEPATTERNBRUSH: {
        // The slot is taken even when the pattern cannot be read, so the
        // indices of later objects stay right.
        TPlayObject object;
        object.kind = TPlayObject::Kind::Brush;
        object.brush = {BS_SOLID, RGB(0x80, 0x80, 0x80), 0};
        if (function == DIBCREATEPATTERNBRUSH) {
            try {
                in.ReadU16();  // style
                in.ReadU16();  // colour usage
                TBitmap pattern;
                bool bottomUp = true;
                if (dib(in.Rest(), pattern, bottomUp))
                    object.brush = PatternBrush(pattern);
            } catch (const std::exception&) {
            }
        }
        play_.AddObject(object);
        break;
    }
    case CREATEFONTINDIRECT: {
        TPlayObject object;
        object.kind = TPlayObject::Kind::Font;
        try {
            TLogFontRecord& font = object.font;
            font.Height = in.ReadI16();
            in.ReadI16();  // width
            font.Escapement = in.ReadI16();
            in.ReadI16();  // orientation
            font.Weight = in.ReadI16();
            font.Italic = in.ReadU8() != 0;
            font.Underline = in.ReadU8() != 0;
            font.StrikeOut = in.ReadU8() != 0;
            font.CharSet = in.ReadU8();
            in.Skip(4);
            std::string_view face = in.ReadBytes(std::min<std::size_t>(32, in.Remaining()));
            face = face.substr(0, face.find('\0'));
            // Face names of Japanese fonts are stored in the code page of the system.
            font.Face = DecodeCp932(face);
        } catch (const std::exception&) {
        }
        play_.AddObject(object);
        break;
    }
    case CREATEREGION: {
        TPlayObject object;
        object.kind = TPlayObject::Kind::Region;
        try {
            in.Skip(10);  // next in chain, object type, object count, region size
            const int16_t scans = in.ReadI16();
            uint32_t rects = 0;
            in.Skip(2 + 8);  // largest scan, bounds
            for (int16_t s = 0; s < scans; ++s) {
                const uint16_t count = in.ReadU16();
                const int16_t top = in.ReadI16(), bottom = in.ReadI16();
                for (uint16_t i = 0; i + 1 < count; i += 2) {
                    const int16_t left = in.ReadI16(), right = in.ReadI16();
                    // Each rectangle costs as much as the region so far.
                    if (right > left && bottom > top && ++rects <= kMaxRegionRects)
                        object.region += QRect(left, top, right - left, bottom - top);
                }
                if (count & 1)
                    in.ReadI16();
                in.ReadU16();  // count again
            }
        } catch (const std::exception&) {
        }
        play_.AddObject(object);
        break;
    }
    case CREATEPALETTE: {
        TPlayObject object;
        object.kind = TPlayObject::Kind::Other;
        play_.AddObject(object);
        break;
    }
    default: break;  // not drawn here: skipped by its size
    }
}

}  // namespace wmf_records

bool PlayWindowsMetafile(TCanvas& canvas, std::string_view bytes, const TRect& destination)
{
    try {
        TByteReader in(bytes);
        if (in.ReadU32() != wmf_records::kPlaceableKey)
            return false;
        in.ReadU16();
        const double left = in.ReadI16(), top = in.ReadI16(), right = in.ReadI16(), bottom = in.ReadI16();
        in.Skip(8);  // units per inch, reserved, checksum
        in.ReadU16();                         // type
        const uint16_t headerWords = in.ReadU16();
        if (headerWords < 9 || std::size_t(headerWords) * 2 > bytes.size() - wmf_records::kPlaceableSize)
            return false;
        if (right == left || bottom == top)
            return false;
        TPlayback playback(canvas, destination, left, top, right - left, bottom - top, true);
        wmf_records::TWmfPlayer(playback, bytes.substr(wmf_records::kPlaceableSize + std::size_t(headerWords) * 2))
            .Run();
    } catch (const std::exception&) {
        return false;
    }
    return true;
}

}  // namespace orvella::metafile
