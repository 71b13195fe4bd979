#include "graphics/bitmap.h"
#include "graphics/canvas.h"
#include "graphics/encoded_images.h"
#include "graphics/graphic.h"
#include "graphics/image_filter.h"
#include "graphics/picture_ex.h"
#include "graphics/metafile_player.h"
#include "metafile_test_bytes.h"
#include "platform/cp932.h"
#include "support/oracle.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

namespace orvella::test {
namespace {

constexpr TColor kRed = clRed, kBlue = clBlue, kWhite = clWhite, kBlack = clBlack;

// Plays bytes onto a white 24-bit bitmap of the size, filling it.
void Play(const std::string& bytes, TBitmap& target, int32_t width = 40, int32_t height = 40)
{
    target.SetSize(width, height, TPixelFormat::pf24bit);
    std::memset(target.Bits(), 0xFF, target.ByteCount());
    EXPECT_TRUE(PlayMetafile(target.Canvas(), bytes, {0, 0, width, height}));
}

struct Probe {
    int32_t x, y;
    TColor colour;
};

struct PlayCase {
    const char* name;
    std::string bytes;
    std::vector<Probe> probes;
};

void PrintTo(const PlayCase& c, std::ostream* out) { *out << c.name; }

class MetafilePlays : public ::testing::TestWithParam<PlayCase> {};

TEST_P(MetafilePlays, PixelsAreWhereTheRecordsPutThem)
{
    TBitmap bitmap;
    Play(GetParam().bytes, bitmap);
    for (const Probe& p : GetParam().probes)
        EXPECT_EQ(bitmap.GetPixelColor(p.x, p.y), p.colour) << "at " << p.x << "," << p.y;
}

// Enhanced records used below.
enum : uint32_t {
    EMR_POLYGON16 = 86, EMR_POLYPOLYGON16 = 91, EMR_SETWINDOWEXTEX = 9, EMR_SETWINDOWORGEX = 10,
    EMR_SETVIEWPORTEXTEX = 11, EMR_SETMAPMODE = 17, EMR_SETBKMODE = 18, EMR_SETBKCOLOR = 25, EMR_SAVEDC = 33,
    EMR_RESTOREDC = 34, EMR_SETWORLDTRANSFORM = 35, EMR_SELECTOBJECT = 37, EMR_CREATEPEN = 38,
    EMR_CREATEBRUSHINDIRECT = 39, EMR_DELETEOBJECT = 40, EMR_ELLIPSE = 42, EMR_RECTANGLE = 43, EMR_PIE = 47,
    EMR_CHORD = 46, EMR_INTERSECTCLIPRECT = 30, EMR_EXCLUDECLIPRECT = 29, EMR_BEGINPATH = 59, EMR_ENDPATH = 60,
    EMR_FILLPATH = 62, EMR_SELECTCLIPPATH = 67, EMR_EXTSELECTCLIPRGN = 75, EMR_STRETCHDIBITS = 81,
    EMR_MOVETOEX = 27, EMR_LINETO = 54, EMR_POLYBEZIER16 = 85, EMR_STROKEPATH = 64, EMR_SETPOLYFILLMODE = 19,
    EMR_BITBLT = 76, EMR_SETROP2 = 20
};
constexpr int32_t kStock = int32_t(0x80000000u);
constexpr int32_t kNullPen = kStock | 8, kNullBrush = kStock | 5;

std::string Brush(int32_t slot, TColor colour, int32_t style = 0, int32_t hatch = 0)
{
    return EmfRecord(EMR_CREATEBRUSHINDIRECT, {slot, style, int32_t(colour), hatch}) +
           EmfRecord(EMR_SELECTOBJECT, {slot});
}

std::string NoPen() { return EmfRecord(EMR_SELECTOBJECT, {kNullPen}); }

std::string Polygon16(std::initializer_list<int16_t> xy)
{
    std::string body(16, '\0');
    PutLe(body, uint32_t(xy.size() / 2));
    for (int16_t v : xy)
        PutLe(body, uint16_t(v), 2);
    return EmfRecordBytes(EMR_POLYGON16, body);
}

// Two squares as one poly-polygon: the inner one is a hole.
std::string FramedSquare()
{
    std::string body(16, '\0');
    PutLe(body, 2);
    PutLe(body, 8);
    PutLe(body, 4);
    PutLe(body, 4);
    for (int16_t v : {5, 5, 35, 5, 35, 35, 5, 35, 15, 15, 25, 15, 25, 25, 15, 25})
        PutLe(body, uint16_t(v), 2);
    return EmfRecordBytes(EMR_POLYPOLYGON16, body);
}

// A 2 x 2 picture: red, blue on top; blue, red below; stretched to 20 x 20 at (10, 10).
std::string StretchedDib()
{
    std::string bits;
    const std::string header = Dib24(2, 2, {kRed, kBlue, kBlue, kRed}, &bits);
    std::string body(16, '\0');
    const uint32_t offHeader = 80, offBits = offHeader + uint32_t(header.size());
    for (int32_t v : {10, 10, 0, 0, 2, 2})
        PutLe(body, uint32_t(v));
    PutLe(body, offHeader);
    PutLe(body, uint32_t(header.size()));
    PutLe(body, offBits);
    PutLe(body, uint32_t(bits.size()));
    PutLe(body, 0);           // RGB colours
    PutLe(body, 0x00CC0020);  // SRCCOPY
    PutLe(body, 20);
    PutLe(body, 20);
    return EmfRecordBytes(EMR_STRETCHDIBITS, body + header + bits);
}

// The 2 x 2 picture of StretchedDib through a transparent colour (type 116)
// or with its opacity (type 114, 32 bits, alpha 0 where blue).
std::string SeeThroughBlit(uint32_t type)
{
    std::string header, bits;
    if (type == 116) {
        header = Dib24(2, 2, {kRed, kBlue, kBlue, kRed}, &bits);
    } else {
        for (uint32_t v : {40u, 2u, 2u})
            PutLe(header, v);
        PutLe(header, 1, 2);
        PutLe(header, 32, 2);
        for (int i = 0; i < 6; ++i)
            PutLe(header, 0);
        // Bottom-up rows of B, G, R, A: blue see-through, red opaque.
        for (uint32_t pixel : {0x00000000u, 0xFFFF0000u, 0xFFFF0000u, 0x00000000u})
            PutLe(bits, pixel);
    }
    std::string body(16, '\0');
    const uint32_t operation = type == 116 ? kBlue : 0x01FF0000;  // AC_SRC_ALPHA, fully opaque
    for (uint32_t v : {10u, 10u, 20u, 20u, operation, 0u, 0u})
        PutLe(body, v);
    body += std::string(24 + 8, '\0');
    PutLe(body, 108);
    PutLe(body, uint32_t(header.size()));
    PutLe(body, 108 + uint32_t(header.size()));
    PutLe(body, uint32_t(bits.size()));
    PutLe(body, 2);
    PutLe(body, 2);
    return EmfRecordBytes(type, body + header + bits);
}

// A clip region of one rectangle, in device units.
std::string ClipRegion(int32_t l, int32_t t, int32_t r, int32_t b, int32_t mode = 5)
{
    std::string region;
    for (int32_t v : {32, 1, 1, 16, l, t, r, b, l, t, r, b})
        PutLe(region, uint32_t(v));
    std::string body;
    PutLe(body, uint32_t(region.size()));
    PutLe(body, uint32_t(mode));
    return EmfRecordBytes(EMR_EXTSELECTCLIPRGN, body + region);
}

std::string FillAll() { return EmfRecord(EMR_RECTANGLE, {-10, -10, 60, 60}); }

// A 2 x 2 checker of red and blue as a DIB pattern brush in slot 1.
std::string CheckerBrush()
{
    std::string bits;
    const std::string header = Dib24(2, 2, {kRed, kBlue, kBlue, kRed}, &bits);
    std::string body;
    for (uint32_t v : {1u, 0u, 32u, uint32_t(header.size()), 32u + uint32_t(header.size()), uint32_t(bits.size())})
        PutLe(body, v);
    return EmfRecordBytes(94, body + header + bits) + EmfRecord(EMR_SELECTOBJECT, {1});
}

INSTANTIATE_TEST_SUITE_P(Enhanced, MetafilePlays, ::testing::Values(
    // Without a pen a rectangle's fill leaves out one more column and row.
    PlayCase{"Rectangle", Emf(40, 40, {Brush(1, kRed), NoPen(), EmfRecord(EMR_RECTANGLE, {10, 10, 20, 20})}),
             {{10, 10, kRed}, {18, 18, kRed}, {19, 15, kWhite}, {9, 15, kWhite}}},
    PlayCase{"OutlinedWithPen", Emf(40, 40, {EmfRecord(EMR_CREATEPEN, {2, 0, 1, 0, int32_t(kBlue)}),
                                             EmfRecord(EMR_SELECTOBJECT, {2}), Brush(1, kRed),
                                             EmfRecord(EMR_RECTANGLE, {10, 10, 20, 20})}),
             {{10, 15, kBlue}, {15, 10, kBlue}, {15, 15, kRed}}},
    PlayCase{"Polygon16", Emf(40, 40, {Brush(1, kBlue), NoPen(), Polygon16({0, 0, 30, 0, 0, 30})}),
             {{2, 2, kBlue}, {25, 2, kBlue}, {30, 30, kWhite}}},
    PlayCase{"PolyPolygonHole", Emf(40, 40, {Brush(1, kRed), NoPen(), FramedSquare()}),
             {{8, 8, kRed}, {20, 20, kWhite}, {30, 30, kRed}}},
    PlayCase{"Ellipse", Emf(40, 40, {Brush(1, kRed), NoPen(), EmfRecord(EMR_ELLIPSE, {0, 0, 40, 40})}),
             {{20, 20, kRed}, {1, 1, kWhite}, {38, 38, kWhite}}},
    // The window of 400 units shows on the 40-pixel viewport: a tenth.
    PlayCase{"Anisotropic", Emf(40, 40, {EmfRecord(EMR_SETMAPMODE, {8}), EmfRecord(EMR_SETWINDOWEXTEX, {400, 400}),
                                         EmfRecord(EMR_SETVIEWPORTEXTEX, {40, 40}),
                                         EmfRecord(EMR_SETWINDOWORGEX, {100, 100}), Brush(1, kRed), NoPen(),
                                         EmfRecord(EMR_RECTANGLE, {100, 100, 300, 300})}),
             {{1, 1, kRed}, {18, 18, kRed}, {20, 20, kWhite}}},
    // 0.01 mm units with y upward: 10 pixels are 254 units on this device.
    PlayCase{"Himetric", Emf(40, 40, {EmfRecord(EMR_SETMAPMODE, {3}), Brush(1, kBlue), NoPen(),
                                      EmfRecord(EMR_RECTANGLE, {0, 0, 254, -254})}),
             {{5, 5, kBlue}, {15, 5, kWhite}, {5, 15, kWhite}}},
    PlayCase{"WorldScale", Emf(40, 40, {EmfRecordBytes(EMR_SETWORLDTRANSFORM, [] {
                                             std::string x;
                                             for (float f : {2.0f, 0.0f, 0.0f, 2.0f, 0.0f, 0.0f}) {
                                                 uint32_t u;
                                                 std::memcpy(&u, &f, 4);
                                                 PutLe(x, u);
                                             }
                                             return x;
                                         }()),
                                         Brush(1, kRed), NoPen(), EmfRecord(EMR_RECTANGLE, {5, 5, 10, 10})}),
             {{10, 10, kRed}, {18, 18, kRed}, {20, 20, kWhite}}},
    // A quarter turn: (x, y) goes to (40 - y, x); the rectangle becomes a polygon.
    PlayCase{"WorldTurn", Emf(40, 40, {EmfRecordBytes(EMR_SETWORLDTRANSFORM, [] {
                                            std::string x;
                                            for (float f : {0.0f, 1.0f, -1.0f, 0.0f, 40.0f, 0.0f}) {
                                                uint32_t u;
                                                std::memcpy(&u, &f, 4);
                                                PutLe(x, u);
                                            }
                                            return x;
                                        }()),
                                        Brush(1, kRed), NoPen(), EmfRecord(EMR_RECTANGLE, {5, 5, 15, 10})}),
             {{32, 10, kRed}, {10, 7, kWhite}, {32, 20, kWhite}}},
    // The brush selected after SaveDC is gone after RestoreDC.
    PlayCase{"RestoreDC", Emf(40, 40, {Brush(1, kRed), NoPen(), EmfRecord(EMR_SAVEDC, {}), Brush(2, kBlue),
                                       EmfRecord(EMR_RESTOREDC, {-1}), EmfRecord(EMR_RECTANGLE, {0, 0, 10, 10})}),
             {{5, 5, kRed}}},
    PlayCase{"IntersectClip", Emf(40, 40, {EmfRecord(EMR_INTERSECTCLIPRECT, {10, 10, 20, 20}), Brush(1, kRed),
                                           NoPen(), FillAll()}),
             {{15, 15, kRed}, {5, 5, kWhite}, {25, 25, kWhite}}},
    PlayCase{"ExcludeClip", Emf(40, 40, {EmfRecord(EMR_EXCLUDECLIPRECT, {10, 10, 20, 20}), Brush(1, kRed), NoPen(),
                                         FillAll()}),
             {{15, 15, kWhite}, {5, 5, kRed}}},
    PlayCase{"ClipRegion", Emf(40, 40, {ClipRegion(0, 0, 10, 40), Brush(1, kBlue), NoPen(), FillAll()}),
             {{5, 20, kBlue}, {15, 20, kWhite}}},
    // A null region lifts the clip again.
    PlayCase{"ClipRegionReset", Emf(40, 40, {ClipRegion(0, 0, 10, 40), EmfRecord(EMR_EXTSELECTCLIPRGN, {0, 5}),
                                             Brush(1, kBlue), NoPen(), FillAll()}),
             {{30, 20, kBlue}}},
    PlayCase{"FillPath", Emf(40, 40, {Brush(1, kRed), EmfRecord(EMR_BEGINPATH, {}), Polygon16({0, 0, 20, 0, 20, 20, 0, 20}),
                                      EmfRecord(EMR_ENDPATH, {}), EmfRecord(EMR_FILLPATH, {0, 0, 0, 0})}),
             {{10, 10, kRed}, {30, 30, kWhite}}},
    PlayCase{"ClipPath", Emf(40, 40, {EmfRecord(EMR_BEGINPATH, {}), EmfRecord(EMR_ELLIPSE, {0, 0, 40, 40}),
                                      EmfRecord(EMR_ENDPATH, {}), EmfRecord(EMR_SELECTCLIPPATH, {5}),
                                      Brush(1, kBlue), NoPen(), FillAll()}),
             {{20, 20, kBlue}, {1, 1, kWhite}}},
    // A quarter pie from 3 o'clock counter-clockwise to 12 o'clock: upper right.
    PlayCase{"Pie", Emf(40, 40, {Brush(1, kRed), NoPen(), EmfRecord(EMR_PIE, {0, 0, 40, 40, 40, 20, 20, 0})}),
             {{28, 12, kRed}, {12, 28, kWhite}, {12, 12, kWhite}}},
    PlayCase{"Chord", Emf(40, 40, {Brush(1, kRed), NoPen(), EmfRecord(EMR_CHORD, {0, 0, 40, 40, 40, 20, 20, 0})}),
             {{33, 7, kRed}, {22, 18, kWhite}}},
    PlayCase{"StretchDIBits", Emf(40, 40, {StretchedDib()}),
             {{12, 12, kRed}, {27, 12, kBlue}, {12, 27, kBlue}, {27, 27, kRed}, {5, 5, kWhite}}},
    // What a transparent colour or a zero opacity marks leaves the black below.
    PlayCase{"TransparentBlt", Emf(40, 40, {Brush(1, kBlack), NoPen(), FillAll(), SeeThroughBlit(116)}),
             {{12, 12, kRed}, {27, 12, kBlack}, {12, 27, kBlack}, {27, 27, kRed}}},
    PlayCase{"AlphaBlend", Emf(40, 40, {Brush(1, kBlack), NoPen(), FillAll(), SeeThroughBlit(114)}),
             {{12, 12, kRed}, {27, 12, kBlack}, {12, 27, kBlack}, {27, 27, kRed}}},
    PlayCase{"Lines", Emf(40, 40, {EmfRecord(EMR_CREATEPEN, {2, 0, 1, 0, int32_t(kBlue)}), EmfRecord(EMR_SELECTOBJECT, {2}),
                                   EmfRecord(EMR_MOVETOEX, {0, 5}), EmfRecord(EMR_LINETO, {40, 5})}),
             {{0, 5, kBlue}, {39, 5, kBlue}, {20, 6, kWhite}}},
    // A black pattern-less block transfer, then an inverting one over part of it.
    PlayCase{"RasterOps", Emf(40, 40, {Brush(1, kBlack), EmfRecord(EMR_BITBLT, {0, 0, 0, 0, 0, 0, 20, 20, 0x00F00021,
                                                                               0, 0, 0x10000, 0, 0, 0x10000, 0, 0, 0, 0,
                                                                               0, 0, 0, 0}),
                                       EmfRecord(EMR_BITBLT, {0, 0, 0, 0, 10, 10, 20, 20, 0x00550009, 0, 0, 0x10000, 0,
                                                              0, 0x10000, 0, 0, 0, 0, 0, 0, 0, 0})}),
             {{5, 5, kBlack}, {15, 15, kWhite}, {25, 25, kBlack}, {35, 35, kWhite}}},
    // A pattern brush repeats its pixels from the device origin, inside the shape only.
    PlayCase{"PatternBrush", Emf(40, 40, {CheckerBrush(), NoPen(), EmfRecord(EMR_ELLIPSE, {0, 0, 40, 40})}),
             {{20, 20, kRed}, {21, 20, kBlue}, {20, 21, kBlue}, {21, 21, kRed}, {1, 1, kWhite}}},
    PlayCase{"PatternPolyPolygon", Emf(40, 40, {CheckerBrush(), NoPen(), FramedSquare()}),
             {{8, 8, kRed}, {9, 8, kBlue}, {20, 20, kWhite}}},
    PlayCase{"PatternFillPath", Emf(40, 40, {CheckerBrush(), EmfRecord(EMR_BEGINPATH, {}),
                                             Polygon16({0, 0, 20, 0, 20, 20, 0, 20}), EmfRecord(EMR_ENDPATH, {}),
                                             EmfRecord(EMR_FILLPATH, {0, 0, 0, 0})}),
             {{10, 10, kRed}, {11, 10, kBlue}, {30, 30, kWhite}}},
    // A hatched brush: a horizontal hatch every eighth row on the background colour.
    PlayCase{"Hatch", Emf(40, 40, {EmfRecord(EMR_SETBKCOLOR, {int32_t(kBlue)}), Brush(1, kRed, 2, 0), NoPen(),
                                   EmfRecord(EMR_RECTANGLE, {0, 0, 40, 40})}),
             {{3, 0, kRed}, {3, 8, kRed}, {3, 3, kBlue}}}),
    [](const auto& info) { return std::string(info.param.name); });

// Windows metafile functions used below.
enum : uint16_t {
    META_SETWINDOWORG = 0x020B, META_SETWINDOWEXT = 0x020C, META_RECTANGLE = 0x041B, META_POLYGON = 0x0324,
    META_SELECTOBJECT = 0x012D, META_DELETEOBJECT = 0x01F0, META_CREATEPENINDIRECT = 0x02FA,
    META_CREATEBRUSHINDIRECT = 0x02FC, META_ELLIPSE = 0x0418, META_STRETCHDIB = 0x0F43, META_SAVEDC = 0x001E,
    META_RESTOREDC = 0x0127, META_INTERSECTCLIPRECT = 0x0416, META_EXTTEXTOUT = 0x0A32,
    META_CREATEFONTINDIRECT = 0x02FB, META_SETTEXTCOLOR = 0x0209, META_SETBKMODE = 0x0102, META_TEXTOUT = 0x0521,
    META_POLYPOLYGON = 0x0538
};

std::string WmfBrush(TColor colour, int style = 0)
{
    return WmfRecord(META_CREATEBRUSHINDIRECT, {style, int32_t(colour & 0xFFFF), int32_t(colour >> 16), 0});
}
std::string WmfNullPen() { return WmfRecord(META_CREATEPENINDIRECT, {5, 0, 0, 0, 0}); }

// A picture of red and blue quarters, side pixels across, stretched onto (x, y, width, height).
std::string WmfStretchedDib(int x = 10, int y = 10, int width = 20, int height = 20, int side = 2)
{
    std::vector<uint32_t> colours;
    for (int row = 0; row < side; ++row)
        for (int column = 0; column < side; ++column)
            colours.push_back((row < side / 2) == (column < side / 2) ? kRed : kBlue);
    std::string bits;
    const std::string header = Dib24(side, side, colours, &bits);
    std::string body;
    PutLe(body, 0x00CC0020);
    PutLe(body, 0, 2);
    for (int v : {side, side, 0, 0, height, width, y, x})
        PutLe(body, uint32_t(v), 2);
    return WmfRecordBytes(META_STRETCHDIB, body + header + bits);
}

INSTANTIATE_TEST_SUITE_P(Windows, MetafilePlays, ::testing::Values(
    // Objects take the lowest free slot: the pen 0, the brush 1.
    PlayCase{"Rectangle", Wmf(40, 40, {WmfNullPen(), WmfBrush(kRed), WmfRecord(META_SELECTOBJECT, {0}),
                                       WmfRecord(META_SELECTOBJECT, {1}), WmfRecord(META_RECTANGLE, {20, 20, 10, 10})}),
             {{10, 10, kRed}, {18, 18, kRed}, {19, 19, kWhite}}},
    // A deleted slot is the next object's: the blue brush lands in slot 0.
    PlayCase{"SlotReuse", Wmf(40, 40, {WmfBrush(kRed), WmfNullPen(), WmfRecord(META_DELETEOBJECT, {0}),
                                       WmfBrush(kBlue), WmfRecord(META_SELECTOBJECT, {0}),
                                       WmfRecord(META_SELECTOBJECT, {1}), WmfRecord(META_RECTANGLE, {20, 20, 0, 0})}),
             {{5, 5, kBlue}}},
    // The window is what maps onto the picture: 400 units across 40 pixels.
    PlayCase{"Window", Wmf(40, 40, {WmfRecord(META_SETWINDOWORG, {-200, -200}), WmfRecord(META_SETWINDOWEXT, {400, 400}),
                                    WmfNullPen(), WmfBrush(kBlue), WmfRecord(META_SELECTOBJECT, {0}),
                                    WmfRecord(META_SELECTOBJECT, {1}), WmfRecord(META_ELLIPSE, {200, 200, 0, 0})}),
             {{30, 30, kBlue}, {10, 10, kWhite}, {30, 22, kBlue}, {21, 21, kWhite}}},
    PlayCase{"Polygon", Wmf(40, 40, {WmfNullPen(), WmfBrush(kRed), WmfRecord(META_SELECTOBJECT, {0}),
                                     WmfRecord(META_SELECTOBJECT, {1}), WmfRecord(META_POLYGON, {3, 0, 0, 30, 0, 0, 30})}),
             {{2, 2, kRed}, {30, 30, kWhite}}},
    PlayCase{"PolyPolygonHole", Wmf(40, 40, {WmfNullPen(), WmfBrush(kRed), WmfRecord(META_SELECTOBJECT, {0}),
                                             WmfRecord(META_SELECTOBJECT, {1}),
                                             WmfRecord(META_POLYPOLYGON, {2, 4, 4, 5, 5, 35, 5, 35, 35, 5, 35, 15, 15,
                                                                          25, 15, 25, 25, 15, 25})}),
             {{8, 8, kRed}, {20, 20, kWhite}}},
    PlayCase{"ClipAndRestore", Wmf(40, 40, {WmfNullPen(), WmfBrush(kRed), WmfRecord(META_SELECTOBJECT, {0}),
                                            WmfRecord(META_SELECTOBJECT, {1}), WmfRecord(META_SAVEDC, {}),
                                            WmfRecord(META_INTERSECTCLIPRECT, {10, 10, 0, 0}),
                                            WmfRecord(META_RECTANGLE, {40, 40, 0, 0}), WmfRecord(META_RESTOREDC, {-1}),
                                            WmfBrush(kBlue), WmfRecord(META_SELECTOBJECT, {2}),
                                            WmfRecord(META_RECTANGLE, {40, 40, 30, 30})}),
             {{5, 5, kRed}, {15, 15, kWhite}, {35, 35, kBlue}}},
    PlayCase{"PatternBrush", Wmf(40, 40, {WmfNullPen(), [] {
                                              std::string bits;
                                              const std::string header = Dib24(2, 2, {kRed, kBlue, kBlue, kRed}, &bits);
                                              std::string body;
                                              PutLe(body, 5, 2);
                                              PutLe(body, 0, 2);
                                              return WmfRecordBytes(0x0142, body + header + bits);
                                          }(),
                                          WmfRecord(META_SELECTOBJECT, {0}), WmfRecord(META_SELECTOBJECT, {1}),
                                          WmfRecord(META_RECTANGLE, {30, 30, 10, 10})}),
             {{20, 20, kRed}, {21, 20, kBlue}, {5, 5, kWhite}}},
    PlayCase{"StretchDib", Wmf(40, 40, {WmfStretchedDib()}),
             {{12, 12, kRed}, {27, 12, kBlue}, {12, 27, kBlue}, {27, 27, kRed}}}),
    [](const auto& info) { return std::string(info.param.name); });

// Counts pixels of a colour inside and outside a box.
struct Ink {
    int inside = 0;
    int outside = 0;
    TRect box{1 << 30, 1 << 30, -1, -1};
};

Ink InkOf(const TBitmap& bitmap, const TRect& area, auto isInk)
{
    Ink ink;
    for (int32_t y = 0; y < bitmap.Height(); ++y) {
        for (int32_t x = 0; x < bitmap.Width(); ++x) {
            if (!isInk(bitmap.GetPixelColor(x, y)))
                continue;
            const bool in = x >= area.Left && x < area.Right && y >= area.Top && y < area.Bottom;
            (in ? ink.inside : ink.outside)++;
            ink.box.Left = std::min(ink.box.Left, x);
            ink.box.Top = std::min(ink.box.Top, y);
            ink.box.Right = std::max(ink.box.Right, x + 1);
            ink.box.Bottom = std::max(ink.box.Bottom, y + 1);
        }
    }
    return ink;
}

bool Reddish(TColor c) { return GetRValue(c) > 160 && GetGValue(c) < 120 && GetBValue(c) < 120; }

std::string WideFont(int32_t slot, int32_t height, int32_t escapement, const std::u16string& face)
{
    std::string body;
    for (int32_t v : {slot, height, 0, escapement, escapement, 400})
        PutLe(body, uint32_t(v));
    body += std::string("\0\0\0\x80", 4);  // italic, underline, strike-out, Shift-JIS
    body += std::string(4, '\0');
    for (int i = 0; i < 32; ++i)
        PutLe(body, i < int(face.size()) ? face[std::size_t(i)] : 0, 2);
    return EmfRecordBytes(82, body);
}

std::string WideText(int32_t x, int32_t y, const std::u16string& text)
{
    std::string body(16, '\0');
    PutLe(body, 1);  // compatible graphics mode
    PutLe(body, 0);
    PutLe(body, 0);
    PutLe(body, uint32_t(x));
    PutLe(body, uint32_t(y));
    PutLe(body, uint32_t(text.size()));
    PutLe(body, 76);  // the string follows the fixed part
    PutLe(body, 0);
    for (int i = 0; i < 4; ++i)
        PutLe(body, 0);
    PutLe(body, 0);  // no advances
    for (char16_t c : text)
        PutLe(body, c, 2);
    return EmfRecordBytes(84, body);
}

// Text lands below and right of its reference point in the text colour, and
// an escapement of 90 degrees turns it to run upward.
TEST(MetafileText, WideTextDrawsInItsColourAndTurns)
{
    const std::u16string face = u"ＭＳ ゴシック";
    const std::string across = Emf(200, 200, {EmfRecord(24, {int32_t(kRed)}), EmfRecord(EMR_SETBKMODE, {1}),
                                              WideFont(1, -30, 0, face), EmfRecord(EMR_SELECTOBJECT, {1}),
                                              WideText(20, 100, u"ABC漢字")});
    TBitmap bitmap;
    Play(across, bitmap, 200, 200);
    const Ink flat = InkOf(bitmap, {20, 100, 200, 140}, Reddish);
    EXPECT_GT(flat.inside, 100);
    EXPECT_EQ(flat.outside, 0);
    EXPECT_GT(flat.box.Right - flat.box.Left, 2 * (flat.box.Bottom - flat.box.Top));

    const std::string upward = Emf(200, 200, {EmfRecord(24, {int32_t(kRed)}), EmfRecord(EMR_SETBKMODE, {1}),
                                              WideFont(1, -30, 900, face), EmfRecord(EMR_SELECTOBJECT, {1}),
                                              WideText(100, 180, u"ABC漢字")});
    Play(upward, bitmap, 200, 200);
    const Ink turned = InkOf(bitmap, {100, 0, 140, 181}, Reddish);
    EXPECT_GT(turned.inside, 100);
    EXPECT_EQ(turned.outside, 0);
    EXPECT_GT(turned.box.Bottom - turned.box.Top, 2 * (turned.box.Right - turned.box.Left));
}

// A Windows metafile stores its face name and its text in the system's code
// page: both are read as CP932, and the text comes out as the wide record's.
TEST(MetafileText, Cp932TextDrawsLikeTheSameWideText)
{
    const std::string face = EncodeCp932("ＭＳ ゴシック");
    std::string font;
    for (int v : {-30, 0, 0, 0, 400})
        PutLe(font, uint32_t(v), 2);
    font += std::string("\0\0\0\x80\0\0\0\0", 8);
    font += face;
    font += std::string(32 - face.size(), '\0');
    const std::string text = EncodeCp932("漢字AB");
    std::string textOut;
    PutLe(textOut, uint32_t(text.size()), 2);
    textOut += text;
    if (text.size() % 2)
        textOut += '\0';
    for (int v : {100, 20})
        PutLe(textOut, uint32_t(v), 2);
    const std::string wmf = Wmf(200, 200, {WmfRecord(META_SETTEXTCOLOR, {int32_t(kRed), 0}),
                                           WmfRecord(META_SETBKMODE, {1}), WmfRecordBytes(META_CREATEFONTINDIRECT, font),
                                           WmfRecord(META_SELECTOBJECT, {0}), WmfRecordBytes(META_TEXTOUT, textOut)});
    const std::string emf = Emf(200, 200, {EmfRecord(24, {int32_t(kRed)}), EmfRecord(EMR_SETBKMODE, {1}),
                                           WideFont(1, -30, 0, u"ＭＳ ゴシック"), EmfRecord(EMR_SELECTOBJECT, {1}),
                                           WideText(20, 100, u"漢字AB")});
    TBitmap fromWmf, fromEmf;
    Play(wmf, fromWmf, 200, 200);
    Play(emf, fromEmf, 200, 200);
    const Ink a = InkOf(fromWmf, {0, 0, 200, 200}, Reddish), b = InkOf(fromEmf, {0, 0, 200, 200}, Reddish);
    EXPECT_GT(a.inside, 100);
    EXPECT_EQ(a.inside, b.inside);
    EXPECT_EQ(a.box, b.box);
}

// Damage of every kind: cut short anywhere, sizes and counts that lie,
// bytes flipped at random. The player draws what it can and returns.
TEST(MetafileDamage, NeverReadsPastTheBytes)
{
    const std::vector<std::string> sound = {
        Emf(40, 40, {Brush(1, kRed), NoPen(), FramedSquare(), StretchedDib(), ClipRegion(0, 0, 20, 20),
                     WideFont(3, -12, 450, u"Arial"), EmfRecord(EMR_SELECTOBJECT, {3}), WideText(1, 1, u"Ab"),
                     EmfRecord(EMR_PIE, {0, 0, 40, 40, 40, 20, 20, 0})}),
        Wmf(40, 40, {WmfNullPen(), WmfBrush(kRed), WmfRecord(META_SELECTOBJECT, {1}), WmfStretchedDib(),
                     WmfRecord(META_POLYPOLYGON, {2, 4, 4, 5, 5, 35, 5, 35, 35, 5, 35, 15, 15, 25, 15, 25, 25, 15, 25}),
                     WmfRecord(META_RECTANGLE, {40, 40, 0, 0})})};
    std::mt19937 random(33);
    TBitmap bitmap(40, 40, TPixelFormat::pf24bit);
    for (const std::string& bytes : sound) {
        for (std::size_t cut = 0; cut < bytes.size(); cut += 3)
            PlayMetafile(bitmap.Canvas(), bytes.substr(0, cut), {0, 0, 40, 40});
        for (int round = 0; round < 400; ++round) {
            std::string damaged = bytes;
            for (int flips = 0; flips < 4; ++flips)
                damaged[random() % damaged.size()] = char(random());
            PlayMetafile(bitmap.Canvas(), damaged, {0, 0, 40, 40});
        }
    }
    // Counts far beyond the record: a polygon of a million points, a DIB
    // whose bits lie outside, a region of a million rectangles.
    const std::string lying =
        Emf(40, 40, {EmfRecordBytes(EMR_POLYGON16, std::string(16, '\0') + std::string("\x40\x42\x0F\0", 4)),
                     EmfRecord(EMR_STRETCHDIBITS, {0, 0, 0, 0, 0, 0, 0, 0, 2, 2, 80, 40, 0x7FFFFFF0, 16, 0,
                                                   0x00CC0020, 20, 20}),
                     EmfRecord(EMR_EXTSELECTCLIPRGN, {48, 5, 32, 1, 1000000, 16, 0, 0, 1, 1, 0, 0, 1, 1}),
                     EmfRecord(EMR_RESTOREDC, {-100}), Brush(70000, kBlue), Brush(1, kRed), NoPen(), FillAll()});
    TBitmap after;
    Play(lying, after);
    EXPECT_EQ(after.GetPixelColor(20, 20), kRed) << "records after the damaged ones still play";
    // A clip region of 20,000 rectangles would take seconds to build; it is
    // refused like damage and the fill after it is not clipped.
    std::string many;
    for (int32_t v : {32, 1, 20000, 20000 * 16, 0, 0, 40, 40})
        PutLe(many, uint32_t(v));
    for (int32_t i = 0; i < 20000; ++i)
        for (int32_t v : {i % 40, i / 40 % 40, i % 40 + 1, i / 40 % 40 + 1})
            PutLe(many, uint32_t(v));
    // A pen and a font millions of pixels large are drawn at a bounded size.
    Play(Emf(40, 40, {EmfRecord(EMR_CREATEPEN, {2, 0, 0x7FFFFFF, 0, int32_t(kBlue)}), EmfRecord(EMR_SELECTOBJECT, {2}),
                      EmfRecord(EMR_MOVETOEX, {0, 5}), EmfRecord(EMR_LINETO, {40, 5}), EmfRecord(EMR_SETBKMODE, {1}),
                      WideFont(3, -0x7FFFFFF, 0, u"Arial"),
                      EmfRecord(EMR_SELECTOBJECT, {3}), WideText(1, 1, u"Ab")}),
         after);
    EXPECT_EQ(after.GetPixelColor(20, 20), kBlue);
    std::string header;
    PutLe(header, uint32_t(many.size()));
    PutLe(header, 5);
    Play(Emf(40, 40, {EmfRecordBytes(EMR_EXTSELECTCLIPRGN, header + many), Brush(1, kRed), NoPen(), FillAll()}),
         after);
    EXPECT_EQ(after.GetPixelColor(20, 20), kRed) << "records after the damaged ones still play";
    // The canvas's own state is as it was.
    EXPECT_EQ(bitmap.Canvas().MapMode(), MM_TEXT);
    EXPECT_FALSE(bitmap.Canvas().ClipRegion().has_value());
}

// Drawing stays inside the destination rectangle even when the records
// draw far outside the frame, and the canvas's own clip still holds.
TEST(MetafileDamage, StaysInsideItsRectangleAndTheCanvasClip)
{
    TBitmap bitmap(60, 60, TPixelFormat::pf24bit);
    std::memset(bitmap.Bits(), 0xFF, bitmap.ByteCount());
    bitmap.Canvas().IntersectClipRect({0, 0, 60, 30});
    PlayMetafile(bitmap.Canvas(), Emf(40, 40, {Brush(1, kRed), NoPen(), FillAll()}), {10, 10, 50, 50});
    EXPECT_EQ(bitmap.GetPixelColor(10, 10), kRed);
    EXPECT_EQ(bitmap.GetPixelColor(49, 29), kRed);
    EXPECT_EQ(bitmap.GetPixelColor(5, 5), kWhite);
    EXPECT_EQ(bitmap.GetPixelColor(55, 20), kWhite);
    EXPECT_EQ(bitmap.GetPixelColor(20, 35), kWhite);
}

// The graphic plays its records when rendered, at its own size, and its
// stored bytes stay what was read.
TEST(MetafileGraphic, RendersItsRecordsAndKeepsItsBytes)
{
    // 100 device pixels an inch: 50 pixels are 48 screen pixels.
    const std::string bytes = Emf(50, 50, {Brush(1, kBlue), NoPen(), EmfRecord(EMR_RECTANGLE, {0, 0, 25, 50})});
    TMetafile metafile;
    metafile.LoadFromBytes(bytes);
    TBitmap rendered;
    metafile.RenderTo24(rendered);
    ASSERT_EQ(rendered.Width(), 48);
    EXPECT_EQ(rendered.GetPixelColor(5, 24), kBlue);
    EXPECT_EQ(rendered.GetPixelColor(40, 24), kWhite);
    // What no record paints is see-through.
    ASSERT_TRUE(metafile.HasTransparentParts());
    TBitmap mask;
    metafile.RenderMask(mask);
    EXPECT_EQ(mask.GetPixelColor(5, 24), kBlack);
    EXPECT_EQ(mask.GetPixelColor(40, 24), kWhite);
    EXPECT_EQ(metafile.SaveToBytes(), bytes);
    std::string stored;
    metafile.WriteData(stored);
    EXPECT_EQ(stored.substr(4), bytes);
}

}  // namespace
}  // namespace orvella::test

namespace orvella::test {
namespace {

// A clip-art-like Windows metafile of shapes in several colours (no text:
// the two renderers would pick different fonts).
std::string ShapesWmf()
{
    auto brush = [](TColor c) { return WmfBrush(c); };
    auto pen = [](TColor c, int width) {
        return WmfRecord(META_CREATEPENINDIRECT, {0, width, 0, int32_t(c & 0xFFFF), int32_t(c >> 16)});
    };
    auto select = [](int slot) { return WmfRecord(META_SELECTOBJECT, {slot}); };
    return Wmf(400, 300, {WmfRecord(META_SETWINDOWORG, {0, 0}), WmfRecord(META_SETWINDOWEXT, {3000, 4000}),
                          WmfRecord(META_CREATEPENINDIRECT, {5, 0, 0, 0, 0}), brush(RGB(230, 230, 255)),
                          select(0), select(1), WmfRecord(META_RECTANGLE, {3000, 4000, 0, 0}),
                          pen(RGB(0, 0, 128), 40), brush(RGB(255, 200, 0)), select(2), select(3),
                          WmfRecord(META_RECTANGLE, {2500, 1800, 300, 200}),
                          WmfRecord(META_CREATEBRUSHINDIRECT, {1, 0, 0, 0}), select(4),
                          WmfRecord(META_ELLIPSE, {2800, 3800, 1000, 2000}),
                          brush(RGB(200, 0, 0)), select(5),
                          WmfRecord(META_POLYGON, {3, 2200, 2900, 3800, 2900, 3000, 1200}),
                          WmfRecord(META_POLYPOLYGON, {2, 4, 4, 400, 2000, 1600, 2000, 1600, 2800, 400, 2800,
                                                       700, 2300, 1300, 2300, 1300, 2500, 700, 2500}),
                          WmfStretchedDib(2600, 200, 1200, 800, 16)});
}

// Our render of a Windows metafile agrees with libwmf's apart from edges,
// which the two place up to a pixel apart. (The ellipse is left unfilled:
// libwmf's renderer here leaves filled ellipses white.)
TEST(MetafileOracle, WindowsMetafileMatchesLibwmf)
{
    ORVELLA_REQUIRE_TOOL(HaveProgram("/usr/bin/wmf2gd"), "wmf2gd (libwmf-bin)");
    TempDir dir;
    WriteFile(dir.File("shapes.wmf"), ShapesWmf());
    const ToolRun run = RunProgram("/usr/bin/wmf2gd", {"-t", "png", "-o", dir.File("oracle.png"), dir.File("shapes.wmf")});
    ASSERT_EQ(run.status, 0) << run.err;
    const auto oracle = ReadGraphicFile(dir.File("oracle.png"));
    TBitmap theirs;
    oracle->RenderTo24(theirs);
    ASSERT_GT(theirs.Width(), 50);
    TBitmap ours;
    Play(ShapesWmf(), ours, theirs.Width(), theirs.Height());
    // A pixel differs when no pixel of the other render within one pixel
    // of it is close in colour: edges may move by a pixel, areas may not.
    auto close = [](TColor a, TColor b) {
        return std::max({std::abs(GetRValue(a) - GetRValue(b)), std::abs(GetGValue(a) - GetGValue(b)),
                         std::abs(GetBValue(a) - GetBValue(b))}) <= 64;
    };
    int differing = 0;
    for (int32_t y = 0; y < ours.Height(); ++y) {
        for (int32_t x = 0; x < ours.Width(); ++x) {
            bool matched = false;
            for (int32_t dy = -1; dy <= 1 && !matched; ++dy) {
                for (int32_t dx = -1; dx <= 1 && !matched; ++dx) {
                    const int32_t tx = x + dx, ty = y + dy;
                    if (tx >= 0 && ty >= 0 && tx < theirs.Width() && ty < theirs.Height())
                        matched = close(ours.GetPixelColor(x, y), theirs.GetPixelColor(tx, ty));
                }
            }
            differing += !matched;
        }
    }
    EXPECT_LT(differing, ours.Width() * ours.Height() / 200) << "of " << ours.Width() * ours.Height() << " pixels";
}

}  // namespace
}  // namespace orvella::test

namespace orvella::test {
namespace {

// Left half blue, right half red, on a 100 x 50 device-pixel frame.
std::string HalvesEmf()
{
    return Emf(100, 50, {Brush(1, kBlue), NoPen(), EmfRecord(EMR_RECTANGLE, {0, 0, 51, 51}), Brush(2, kRed),
                         EmfRecord(EMR_RECTANGLE, {50, 0, 101, 51})});
}

std::string HalvesWmf()
{
    return Wmf(100, 50, {WmfNullPen(), WmfBrush(kBlue), WmfBrush(kRed), WmfRecord(META_SELECTOBJECT, {0}),
                         WmfRecord(META_SELECTOBJECT, {1}), WmfRecord(META_RECTANGLE, {51, 51, 0, 0}),
                         WmfRecord(META_SELECTOBJECT, {2}), WmfRecord(META_RECTANGLE, {51, 101, 0, 50})});
}

struct Halves {
    int blue = 0, red = 0;
    double blueX = 0, redX = 0;  // mean column
};

Halves CountHalves(const TBitmap& bitmap)
{
    Halves h;
    for (int32_t y = 0; y < bitmap.Height(); ++y) {
        for (int32_t x = 0; x < bitmap.Width(); ++x) {
            const TColor c = bitmap.GetPixelColor(x, y);
            if (c == kBlue) {
                ++h.blue;
                h.blueX += x;
            } else if (c == kRed) {
                ++h.red;
                h.redX += x;
            }
        }
    }
    if (h.blue)
        h.blueX /= h.blue;
    if (h.red)
        h.redX /= h.red;
    return h;
}

TEST(MetafileTool, ImageConvertDrawsBothKinds)
{
    TempDir dir;
    WriteFile(dir.File("x.emf"), HalvesEmf());
    WriteFile(dir.File("x.wmf"), HalvesWmf());
    for (const char* name : {"x.emf", "x.wmf"}) {
        const ToolRun run = RunTool({"image", "convert", dir.File(name), dir.File("out.png")});
        ASSERT_EQ(run.status, 0) << name << ": " << run.err;
        TBitmap pixels;
        ReadGraphicFile(dir.File("out.png"))->RenderTo24(pixels);
        const Halves h = CountHalves(pixels);
        const int area = pixels.Width() * pixels.Height();
        EXPECT_GT(h.blue, area * 4 / 10) << name;
        EXPECT_GT(h.red, area * 4 / 10) << name;
        EXPECT_LT(h.blueX, h.redX) << name;
    }
}

// A document holding a metafile as a rectangle's picture fill renders it.
TEST(MetafileTool, StoredPictureRendersInTheDocument)
{
    TempDir dir;
    const std::string doc = dir.File("picture.ovd");
    const ToolRun made = RunTool({"doc", "new", "CD・DVDラベル(2面)", "Avery L6015 CD/DVDラベル A4 2面", doc});
    ASSERT_EQ(made.status, 0) << made.err;
    std::string data;
    data += char(9);
    data += "TMetafile";
    const std::string emf = HalvesEmf();
    PutLe(data, uint32_t(emf.size() + 4));
    data += emf;
    std::string hex;
    for (char byte : data) {
        static const char digits[] = "0123456789ABCDEF";
        hex += digits[uint8_t(byte) >> 4];
        hex += digits[uint8_t(byte) & 15];
    }
    WriteFile(dir.File("objects.txt"), "object TLORect\n"
                                       "  Left = 300\n"
                                       "  Top = 300\n"
                                       "  Width = 600\n"
                                       "  Height = 300\n"
                                       "  FillInside = True\n"
                                       "  FillColor.Kind = cskBitmap\n"
                                       "  FillColor.ImageData.Picture.Data = {" + hex + "}\n"
                                       "end\n");
    const ToolRun put = RunTool({"doc", "put", doc, dir.File("objects.txt")});
    ASSERT_EQ(put.status, 0) << put.err;
    const ToolRun render = RunTool({"render", doc, dir.File("page.png"), "--dpi", "150"});
    ASSERT_EQ(render.status, 0) << render.err;
    TBitmap page;
    ReadGraphicFile(dir.File("page.png"))->RenderTo24(page);
    const Halves h = CountHalves(page);
    // 60 x 30 mm at 150 dpi is about 354 x 177 pixels, half of it each colour.
    EXPECT_GT(h.blue, 20000);
    EXPECT_GT(h.red, 20000);
    EXPECT_LT(h.blueX, h.redX);
}

}  // namespace
}  // namespace orvella::test

namespace orvella::test {
namespace {

// Clipping an enhanced metafile picture gives a metafile of the clip
// rectangle's size showing that part; the records are kept.
TEST(MetafileClip, ClipFilterGivesAMetafileOfThePart)
{
    TPictureEx source;
    auto metafile = std::make_unique<TMetafile>();
    metafile->LoadFromBytes(HalvesEmf());  // 96 x 48 screen pixels
    source.SetGraphic(std::move(metafile));
    TClipFilter clip;
    clip.SetClipRect({60, 10, 90, 40});
    TPictureEx result;
    TRect out;
    clip.Apply(source, result, out);
    const auto* part = dynamic_cast<const TMetafile*>(result.Graphic());
    ASSERT_NE(part, nullptr);
    EXPECT_EQ(out, (TRect{0, 0, 30, 30}));
    EXPECT_NE(part->SaveToBytes().find(HalvesEmf().substr(108)), std::string::npos);
    TBitmap pixels;
    part->RenderTo24(pixels);
    ASSERT_EQ(pixels.Width(), 30);
    // The part lies in the red half; nothing of the blue half shows.
    const Halves h = CountHalves(pixels);
    EXPECT_EQ(h.blue, 0);
    EXPECT_GT(h.red, 30 * 30 * 9 / 10);
    // Straddling the halves: blue on the left of the part, red on the right.
    clip.SetClipRect({30, 0, 70, 48});
    clip.Apply(source, result, out);
    result.Graphic()->RenderTo24(pixels);
    const Halves both = CountHalves(pixels);
    EXPECT_GT(both.blue, 0);
    EXPECT_GT(both.red, 0);
    EXPECT_LT(both.blueX, 18.0 + 1);
    EXPECT_GT(both.redX, 18.0 + 1);
}

}  // namespace
}  // namespace orvella::test
