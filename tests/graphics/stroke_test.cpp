#include "graphics/stroke.h"

#include "graphics/recording_canvas.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace orvella {
namespace {

struct FlaggedPoint {
    int32_t x, y;
    uint8_t flag;
    friend bool operator==(const FlaggedPoint&, const FlaggedPoint&) = default;
};

std::vector<FlaggedPoint> contents(const TStroke& stroke)
{
    std::vector<FlaggedPoint> list;
    for (int32_t i = 0; i < stroke.Count(); ++i)
        list.push_back({stroke.Points(i).x, stroke.Points(i).y, stroke.Flags(i)});
    return list;
}

TStroke strokeOf(const std::vector<FlaggedPoint>& list)
{
    TStroke stroke;
    for (const FlaggedPoint& p : list)
        stroke.AddPoint(p.x, p.y, p.flag);
    return stroke;
}

TEST(Stroke, StandardRectangleAndEllipse)
{
    TStroke stroke;
    stroke.SetRect({0, 0, 100, 50});
    EXPECT_EQ(contents(stroke), (std::vector<FlaggedPoint>{{0, 0, 6}, {100, 0, 2}, {100, 50, 2}, {0, 50, 3}}));
    EXPECT_EQ(stroke.Bounds(), (TRect{0, 0, 100, 50}));

    stroke.SetEllipse({0, 0, 200, 100});
    ASSERT_EQ(stroke.Count(), 13);
    EXPECT_EQ(contents(stroke).front(), (FlaggedPoint{200, 50, 6}));
    EXPECT_EQ(contents(stroke).back(), (FlaggedPoint{200, 50, 5}));
    EXPECT_EQ(stroke.Points(1), (TPoint{200, 50 - 28}));
    EXPECT_EQ(stroke.Points(2), (TPoint{100 + 55, 0}));
    for (int i = 1; i < 12; ++i)
        EXPECT_EQ(stroke.Flags(i), 4);
    EXPECT_EQ(stroke.Bounds(), (TRect{0, 0, 200, 100}));
    EXPECT_EQ(TStroke().Bounds(), TRect{});
}

TEST(Stroke, RoundRectangleRunsClockwiseFromTheRightEdge)
{
    TStroke stroke;
    stroke.SetRoundRect({0, 0, 100, 60}, 20);
    ASSERT_EQ(stroke.Count(), 17);
    EXPECT_EQ(contents(stroke).front(), (FlaggedPoint{100, 10, 6}));
    EXPECT_EQ(contents(stroke)[3], (FlaggedPoint{90, 0, 4}));
    EXPECT_EQ(contents(stroke)[4], (FlaggedPoint{10, 0, 2}));
    EXPECT_EQ(contents(stroke).back(), (FlaggedPoint{100, 10, 3}));
}

TEST(Flatten, SplitsEdgesEveryEightUnits)
{
    TStroke stroke = strokeOf({{0, 0, 6}, {20, 0, 2}, {20, 20, 2}, {0, 20, 3}});
    stroke.Flatten();
    EXPECT_EQ(contents(stroke), (std::vector<FlaggedPoint>{{0, 0, 6},   {0, 0, 2},   {8, 0, 2},   {16, 0, 2},
                                                           {20, 0, 2},  {20, 8, 2},  {20, 16, 2}, {20, 20, 2},
                                                           {12, 20, 2}, {4, 20, 2},  {0, 20, 2},  {0, 12, 2},
                                                           {0, 4, 3}}));
}

TEST(Flatten, ShortClosingEdgeKeepsTheLastCorner)
{
    TStroke stroke = strokeOf({{0, 0, 6}, {100, 0, 2}, {4, 4, 3}});
    stroke.Flatten();
    EXPECT_EQ(contents(stroke).back(), (FlaggedPoint{4, 4, 3}));
}

TEST(Flatten, CopiesBeziersAndTruncatedOnesUntouched)
{
    TStroke stroke = strokeOf({{0, 0, 6}, {10, 0, 4}, {20, 10, 4}, {20, 20, 5}, {30, 30, 4}, {40, 40, 4}});
    stroke.Flatten();
    EXPECT_EQ(contents(stroke), (std::vector<FlaggedPoint>{{0, 0, 6}, {10, 0, 4}, {20, 10, 4}, {20, 20, 5},
                                                           {30, 30, 4}, {40, 40, 4}}));
}

TEST(StrokeDraw, EmitsFiguresWithPolylinesAndCloses)
{
    TRecordingCanvas canvas;
    strokeOf({{0, 0, 6}, {10, 0, 2}, {10, 10, 2}, {0, 10, 3}, {50, 50, 6}, {60, 50, 2}}).Draw(canvas);
    EXPECT_EQ(canvas.CallTexts(),
              (std::vector<std::string>{"MoveTo(0,0)", "PolylineTo(10,0 10,10)", "LineTo(0,10)", "LineTo(0,0)",
                                        "CloseFigure()", "MoveTo(50,50)", "PolylineTo(60,50)"}));
}

TEST(StrokeDraw, EmptyStrokeDrawsAPointAtTheOrigin)
{
    TRecordingCanvas canvas;
    TStroke().Draw(canvas);
    EXPECT_EQ(canvas.CallTexts(), (std::vector<std::string>{"MoveTo(0,0)", "LineTo(0,0)", "CloseFigure()"}));
}

struct InvalidCase {
    const char* name;
    std::vector<FlaggedPoint> points;
    std::size_t calls;  // drawing calls before the closing one
};

class StrokeDrawStops : public ::testing::TestWithParam<InvalidCase> {};

TEST_P(StrokeDrawStops, AtAnInvalidFlagWithoutReadingPastTheEnd)
{
    TRecordingCanvas canvas;
    strokeOf(GetParam().points).Draw(canvas);
    const auto calls = canvas.CallTexts();
    ASSERT_EQ(calls.size(), GetParam().calls + 1);
    EXPECT_EQ(calls.back(), "CloseFigure()");
}

INSTANTIATE_TEST_SUITE_P(Table, StrokeDrawStops,
    ::testing::Values(InvalidCase{"unknown flag", {{0, 0, 6}, {5, 5, 9}, {6, 6, 2}}, 1},
                      InvalidCase{"one Bezier point", {{0, 0, 6}, {5, 5, 4}}, 1},
                      InvalidCase{"two Bezier points", {{0, 0, 6}, {5, 5, 4}, {9, 9, 5}}, 1},
                      InvalidCase{"Bezier end first", {{0, 0, 6}, {5, 5, 5}}, 1}),
    [](const auto& info) {
        std::string name = info.param.name;
        std::replace(name.begin(), name.end(), ' ', '_');
        return name;
    });

TEST(StrokeDraw, BezierBecomesOneLinePerNewDevicePixel)
{
    TRecordingCanvas canvas;
    TStroke stroke = strokeOf({{0, 0, 6}, {0, 0, 4}, {3, 0, 4}, {3, 0, 4}});
    stroke.Draw(canvas);
    EXPECT_EQ(canvas.CallTexts(), (std::vector<std::string>{"MoveTo(0,0)", "LineTo(1,0)", "LineTo(2,0)", "LineTo(3,0)"}));

    // At a quarter of the size three logical units share one pixel.
    TRecordingCanvas small;
    small.SetMapMode(MM_ANISOTROPIC);
    small.SetWindowExt({4, 4});
    small.SetViewportExt({1, 1});
    strokeOf({{0, 0, 6}, {0, 0, 4}, {40, 0, 4}, {40, 0, 5}}).Draw(small);
    const auto calls = small.CallTexts();
    EXPECT_EQ(calls.size(), 1 + 10 + 2u);  // move, one line per pixel, back to the start, close
}

TEST(StrokePath, MakePathAndAppendPathKeepTheFigure)
{
    TBitmap bitmap(4, 4);
    TStroke stroke;
    stroke.SetRect({0, 0, 3, 2});
    stroke.MakePath(bitmap.Canvas());
    TStroke copy;
    copy.AddPoint(9, 9, 6);
    copy.AppendPath(bitmap.Canvas());
    // The closing line back to the start is a point of the path.
    EXPECT_EQ(contents(copy), (std::vector<FlaggedPoint>{{9, 9, 6}, {0, 0, 6}, {3, 0, 2}, {3, 2, 2}, {0, 2, 2}, {0, 0, 3}}));
}

TEST(RenderAntiAliased, DrawsTheEdgesIntoTheMask)
{
    TBitmap mask(12, 8, TPixelFormat::pf8bit);
    TStroke stroke;
    stroke.SetRect({1, 1, 10, 6});
    stroke.RenderAntiAliased(mask);
    EXPECT_EQ(mask.Row(1)[5], 255);
    EXPECT_EQ(mask.Row(6)[1], 255);
    EXPECT_EQ(mask.Row(3)[5], 0);
    TStroke().RenderAntiAliased(mask);  // nothing to draw
}

}  // namespace
}  // namespace orvella
