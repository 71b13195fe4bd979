// The snap grid and the guides: snapping, drawing on exact pixels, the
// guide slots and their limits, clipping to a sheet, and the stored form
// with the binary "Pos" entry, damaged entries included.

#include "document/grid.h"
#include "document/guide.h"

#include "formats/component_stream.h"
#include "formats/object_text.h"
#include "graphics/bitmap.h"
#include "label_test_objects.h"
#include "support/oracle.h"
#include "support/thrown.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <stdexcept>

namespace orvella {
namespace {

// --- grid ------------------------------------------------------------------

struct GridSnapCase {
    int32_t size;
    TPoint point;
    TPoint want;
};

class GridSnap : public ::testing::TestWithParam<GridSnapCase> {};

TEST_P(GridSnap, MovesToTheNearestGridPoint)
{
    TGrid grid;
    grid.SetEnabled(true);
    grid.SetSize(GetParam().size);
    EXPECT_EQ(grid.SnapOffset(GetParam().point), GetParam().want);
}

INSTANTIATE_TEST_SUITE_P(
    Table, GridSnap,
    ::testing::Values(GridSnapCase{50, {74, 76}, {-24, 24}}, GridSnapCase{50, {25, 24}, {25, -24}},
                      GridSnapCase{50, {100, 0}, {0, 0}},
                      // Left of and above zero the nearest point is below zero too.
                      GridSnapCase{50, {-30, -60}, {-20, 10}}, GridSnapCase{50, {-25, -26}, {25, -24}},
                      GridSnapCase{7, {10, 11}, {-3, 3}}, GridSnapCase{1, {-9, 9}, {0, 0}},
                      GridSnapCase{50, {2147483647, -2147483647 - 1}, {3, -2}},
                      // No pitch, as only a damaged file gives, means no snapping.
                      GridSnapCase{0, {74, 76}, {kNoSnap, kNoSnap}},
                      GridSnapCase{-50, {74, 76}, {kNoSnap, kNoSnap}}));

TEST(GridSnapOff, DisabledGridDoesNotSnap)
{
    TGrid grid;
    grid.SetSize(50);
    EXPECT_EQ(grid.SnapOffset({74, 76}), (TPoint{kNoSnap, kNoSnap}));
}

// A 12 x 12 bitmap in pixel mapping, white, with the grid drawn in red.
std::unique_ptr<TBitmap> drawnGrid(int32_t size, bool lines, const TRect& rect)
{
    auto bitmap = std::make_unique<TBitmap>(12, 12);
    TCanvas& canvas = bitmap->Canvas();
    canvas.Brush() = TBrush{clWhite, TBrushStyle::bsSolid};
    canvas.FillRect({0, 0, 12, 12});
    canvas.Pen() = TPen{clRed, 0, TPenStyle::psSolid, R2_COPYPEN};
    TGrid grid;
    grid.SetVisible(true);
    grid.SetLineShape(lines);
    grid.SetSize(size);
    grid.Draw(canvas, rect);
    return bitmap;
}

TEST(GridDrawing, DotsSitOnEveryGridPointInsideTheRectangle)
{
    const std::unique_ptr<TBitmap> bitmap = drawnGrid(4, false, {1, 2, 10, 11});
    for (int32_t y = 0; y < 12; ++y)
        for (int32_t x = 0; x < 12; ++x) {
            const bool dot = x >= 1 && x < 10 && (x - 1) % 4 == 0 && y >= 2 && y < 11 && (y - 2) % 4 == 0;
            EXPECT_EQ(bitmap->GetPixelColor(x, y), dot ? clRed : clWhite) << x << ',' << y;
        }
}

TEST(GridDrawing, LinesCrossTheRectangle)
{
    const std::unique_ptr<TBitmap> bitmap = drawnGrid(5, true, {0, 0, 12, 12});
    for (int32_t y = 0; y < 12; ++y)
        for (int32_t x = 0; x < 12; ++x) {
            const bool line = x % 5 == 0 || y % 5 == 0;
            EXPECT_EQ(bitmap->GetPixelColor(x, y), line ? clRed : clWhite) << x << ',' << y;
        }
}

TEST(GridDrawing, NoPitchOrAPitchBelowTwoPixelsDrawsNothing)
{
    for (int32_t size : {0, -5, 1}) {
        const std::unique_ptr<TBitmap> bitmap = drawnGrid(size, false, {0, 0, 12, 12});
        for (int32_t y = 0; y < 12; ++y)
            for (int32_t x = 0; x < 12; ++x)
                ASSERT_EQ(bitmap->GetPixelColor(x, y), clWhite) << "size " << size;
    }
}

// --- guides -----------------------------------------------------------------

TEST(GuideSlots, TenSlotsAndNoMore)
{
    TGuide guide;
    EXPECT_EQ(guide.Count(), 10);
    EXPECT_TRUE(guide.AllEmpty());
    EXPECT_EQ(guide.FirstFreeSlot(), 0);
    for (int i = 0; i < 10; ++i)
        guide.SetGuide(i, 100 + i, 0);
    EXPECT_EQ(guide.FirstFreeSlot(), -1);
    EXPECT_EQ(guide.Guide(9), (TPoint{109, 0}));
    guide.SetGuide(4, 0, 0);
    EXPECT_EQ(guide.FirstFreeSlot(), 4);
    EXPECT_FALSE(guide.AllEmpty());
    for (int bad : {-1, 10, 1000}) {
        EXPECT_THROW(guide.Guide(bad), std::out_of_range);
        EXPECT_THROW(guide.SetGuide(bad, 1, 1), std::out_of_range);
    }
}

struct GuideSnapCase {
    TPoint point;
    int32_t tolerance;
    TPoint want;
    int hit;
};

class GuideSnap : public ::testing::TestWithParam<GuideSnapCase> {
protected:
    void SetUp() override
    {
        guide_.SetEnabled(true);
        guide_.SetGuide(0, 500, 0);
        guide_.SetGuide(1, 520, 0);
        guide_.SetGuide(2, 0, 300);
        guide_.SetGuide(3, 0, -40);
    }
    TGuide guide_;
};

TEST_P(GuideSnap, TakesTheNearestGuideWithinTolerance)
{
    const GuideSnapCase& c = GetParam();
    EXPECT_EQ(guide_.SnapOffset(c.point, c.tolerance), c.want);
    EXPECT_EQ(guide_.HitTest(c.point, c.tolerance), c.hit);
}

INSTANTIATE_TEST_SUITE_P(
    Table, GuideSnap,
    ::testing::Values(GuideSnapCase{{508, 0}, 15, {-8, kNoSnap}, 0}, GuideSnapCase{{512, 0}, 15, {8, kNoSnap}, 0},
                      GuideSnapCase{{535, 0}, 15, {-15, kNoSnap}, 1},
                      GuideSnapCase{{536, 0}, 15, {kNoSnap, kNoSnap}, -1},
                      GuideSnapCase{{505, 290}, 15, {-5, 10}, 0}, GuideSnapCase{{0, -50}, 15, {kNoSnap, 10}, 3},
                      GuideSnapCase{{510, 500}, 0, {kNoSnap, kNoSnap}, -1}));

TEST(GuideSnapOff, DisabledGuidesNeitherSnapNorHit)
{
    TGuide guide;
    guide.SetGuide(0, 500, 0);
    EXPECT_EQ(guide.SnapOffset({500, 0}, 15), (TPoint{kNoSnap, kNoSnap}));
    EXPECT_EQ(guide.HitTest({500, 0}, 15), -1);
}

TEST(GuideClip, ASmallerSheetEmptiesTheGuidesOutsideIt)
{
    TGuide guide;
    guide.SetEnabled(true);
    guide.SetGuide(0, 1200, 0);  // right of the sheet
    guide.SetGuide(1, 600, 0);   // inside
    guide.SetGuide(2, 0, 900);   // below
    guide.SetGuide(3, 30, 40);   // both set: never a valid guide
    guide.SetGuide(4, 0, 800);   // on the bottom edge
    guide.ClipTo({0, 0, 1000, 800});
    EXPECT_EQ(guide.Guide(0), (TPoint{0, 0}));
    EXPECT_EQ(guide.Guide(1), (TPoint{600, 0}));
    EXPECT_EQ(guide.Guide(2), (TPoint{0, 0}));
    EXPECT_EQ(guide.Guide(3), (TPoint{0, 0}));
    EXPECT_EQ(guide.Guide(4), (TPoint{0, 800}));
    EXPECT_TRUE(guide.Enabled());

    guide.ClipTo({0, 0, 500, 500});
    EXPECT_TRUE(guide.AllEmpty());
    EXPECT_FALSE(guide.Enabled()) << "no guide left to snap to";
}

TEST(GuideDrawing, GuidesCrossTheRectangle)
{
    TBitmap bitmap(12, 12);
    TCanvas& canvas = bitmap.Canvas();
    canvas.Brush() = TBrush{clWhite, TBrushStyle::bsSolid};
    canvas.FillRect({0, 0, 12, 12});
    canvas.Pen() = TPen{clBlue, 0, TPenStyle::psSolid, R2_COPYPEN};
    TGuide guide;
    guide.SetGuide(0, 3, 0);
    guide.SetGuide(5, 0, 7);
    guide.Draw(canvas, {0, 0, 12, 12});
    EXPECT_EQ(bitmap.GetPixelColor(3, 0), clWhite) << "hidden guides are not drawn";
    guide.SetVisible(true);
    guide.Draw(canvas, {1, 1, 10, 10});
    for (int32_t y = 0; y < 12; ++y)
        for (int32_t x = 0; x < 12; ++x) {
            const bool on = (x == 3 && y >= 1 && y < 10) || (y == 7 && x >= 1 && x < 10);
            EXPECT_EQ(bitmap.GetPixelColor(x, y), on ? clBlue : clWhite) << x << ',' << y;
        }
}

// --- stored form ---------------------------------------------------------------

class SheetAidsStream : public ::testing::Test {
protected:
    void SetUp() override { test::RegisterLabelTestClasses(); }

    // The aids read from text whose guide entry holds hex bytes.
    static void readPos(const std::string& hex, test::TSheetAids& aids)
    {
        ReadComponent(ObjectTextToBinary("object TSheetAids\n  Guide.Pos = {" + hex + "}\nend\n"), aids);
    }
};

std::string pairHex(int32_t x, int32_t y)
{
    char text[17];
    const auto le = [](uint32_t v) { return (v & 0xFF) << 24 | (v >> 8 & 0xFF) << 16 | (v >> 16 & 0xFF) << 8 | v >> 24; };
    std::snprintf(text, sizeof text, "%08X%08X", le(uint32_t(x)), le(uint32_t(y)));
    return text;
}

TEST_F(SheetAidsStream, EverythingIsWrittenInOrderAndRoundTripsThroughFreePascal)
{
    ORVELLA_REQUIRE_ORACLES();
    test::TSheetAids aids;
    aids.Grid.SetSize(50);
    aids.Grid.SetVisible(true);
    aids.Guide.SetEnabled(true);
    aids.Guide.SetGuide(0, 500, 0);
    aids.Guide.SetGuide(9, 0, -1);
    const std::string bytes = WriteComponent(aids);

    std::string hex = "0A000000" + pairHex(500, 0);
    for (int i = 1; i < 9; ++i)
        hex += pairHex(0, 0);
    hex += pairHex(0, -1);
    const std::string text = test::FpcToText(bytes);
    EXPECT_EQ(text,
              "object TSheetAids\n"
              "  Grid.LineShape = False\n"
              "  Grid.Visible = True\n"
              "  Grid.Size = 50\n"
              "  Grid.Enabled = False\n"
              "  Guide.Visible = False\n"
              "  Guide.Enabled = True\n"
              "  Guide.Pos = {\n"
              "    " + hex.substr(0, 64) + "\n"
              "    " + hex.substr(64, 64) + "\n"
              "    " + hex.substr(128) + "\n"
              "  }\n"
              "end\n");
    EXPECT_EQ(test::FpcToBinary(text), bytes);

    test::TSheetAids back;
    ReadComponent(bytes, back);
    EXPECT_EQ(WriteComponent(back), bytes);
    EXPECT_EQ(back.Guide.Guide(9), (TPoint{0, -1}));
    EXPECT_EQ(back.Grid.Size(), 50);
}

TEST_F(SheetAidsStream, AStoredCountIsNeverRead)
{
    test::TSheetAids aids;
    EXPECT_EQ(test::Thrown([&] { ReadComponent(ObjectTextToBinary("object TSheetAids\n  Guide.Count = 12\nend\n"), aids); }),
              "orvella::EPropertyReadError: TSheetAids.Guide.Count の読み込み中のエラー : プロパティは書き込み禁止です");
}

struct PosCase {
    const char* what;
    std::string hex;
    int filled;  // slots 0 .. filled-1 hold (i + 1, 0)
};

class DamagedPos : public SheetAidsStream, public ::testing::WithParamInterface<PosCase> {};

std::string pairs(int count)
{
    std::string hex;
    for (int i = 0; i < count; ++i)
        hex += pairHex(i + 1, 0);
    return hex;
}

TEST_P(DamagedPos, ReadsWhatTheEntryHoldsAndNoMore)
{
    test::TSheetAids aids;
    for (int i = 0; i < 10; ++i)
        aids.Guide.SetGuide(i, 0, 77);
    readPos(GetParam().hex, aids);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(aids.Guide.Guide(i), (i < GetParam().filled ? TPoint{i + 1, 0} : TPoint{0, 0}))
            << GetParam().what << ", slot " << i;
}

INSTANTIATE_TEST_SUITE_P(
    Table, DamagedPos,
    ::testing::Values(PosCase{"count 12, twelve pairs", "0C000000" + pairs(12), 10},
                      PosCase{"count 3", "03000000" + pairs(3), 3},
                      PosCase{"count 10, two pairs", "0A000000" + pairs(2), 2},
                      PosCase{"count 10, a pair and a half", "0A000000" + pairs(1) + "05000000", 1},
                      PosCase{"negative count", "FFFFFFFF" + pairs(4), 0},
                      PosCase{"huge count", "FFFFFF7F" + pairs(10), 10},
                      PosCase{"count cut short", "0A00", 0}, PosCase{"empty", "", 0}));

TEST_F(SheetAidsStream, ZeroGridSizeFromAFileMeansNoGrid)
{
    test::TSheetAids aids;
    ReadComponent(ObjectTextToBinary("object TSheetAids\n"
                                     "  Grid.Visible = True\n"
                                     "  Grid.Size = 0\n"
                                     "  Grid.Enabled = True\n"
                                     "end\n"),
                  aids);
    EXPECT_EQ(aids.Grid.SnapOffset({13, 17}), (TPoint{kNoSnap, kNoSnap}));
    TBitmap bitmap(4, 4);
    bitmap.Canvas().Brush() = TBrush{clWhite, TBrushStyle::bsSolid};
    bitmap.Canvas().FillRect({0, 0, 4, 4});
    aids.Grid.Draw(bitmap.Canvas(), {0, 0, 4, 4});
    EXPECT_EQ(bitmap.GetPixelColor(0, 0), clWhite);
}

}  // namespace
}  // namespace orvella
