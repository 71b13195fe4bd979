#include "formats/byte_reader.h"
#include "formats/class_registry.h"
#include "formats/component.h"
#include "formats/component_stream.h"
#include "formats/extended_float.h"
#include "formats/object_text.h"
#include "formats/property_table.h"
#include "formats/stream_format.h"
#include "objects/coons_distortion.h"
#include "objects/object_classes.h"
#include "support/oracle.h"

#include <gtest/gtest.h>

#include <cmath>

namespace orvella {

// A component that publishes a distortion, the way a text object does.
class TDistortionHolder : public TComponent {
    ORVELLA_PERSISTENT(TDistortionHolder)
public:
    TCoonsDistortion Distortion;
};

const TClassInfo& TDistortionHolder::StaticClassInfo()
{
    static const TClassInfo info = DeclareClass<TDistortionHolder, TComponent>("TDistortionHolder", {
        ObjectProperty("CoonsDistortion", &TDistortionHolder::Distortion),
    });
    return info;
}

namespace {

using E = TCoonsDistortion;

void setEdge(TCoonsDistortion& pattern, int edge, std::initializer_list<TCoonsPoint> points)
{
    pattern.SetEdgeCount(edge, int32_t(points.size()));
    int32_t i = 0;
    for (const TCoonsPoint& point : points)
        pattern.SetPoint(edge, i++, point);
}

// The unit square with a top edge of three points.
void makePeak(TCoonsDistortion& pattern, bool smoothMiddle)
{
    pattern.SetIdentityPattern();
    setEdge(pattern, E::ceTop, {{0, 0}, {0.5L, -0.2L}, {1, 0}});
    pattern.SetSmooth(E::ceTop, 1, smoothMiddle);
}

void expectNear(TCoonsPoint got, TCoonsPoint want)
{
    EXPECT_NEAR(double(got.x), double(want.x), 1e-12);
    EXPECT_NEAR(double(got.y), double(want.y), 1e-12);
}

using MapCase = std::pair<TPoint, TPoint>;

template <std::size_t N>
void expectMapped(const TCoonsDistortion& pattern, const MapCase (&cases)[N])
{
    for (const auto& [in, out] : cases) {
        TPoint point = in;
        pattern.TransformPoint(point);
        EXPECT_EQ(point, out) << in.x << "," << in.y;
    }
}

TEST(CoonsDistortion, IdentityMapsTheSourceProportionallyOntoTheTarget)
{
    TCoonsDistortion pattern;
    pattern.SetIdentityPattern();
    pattern.SetSourceRect({0, 0, 100, 50});
    pattern.SetTargetRect({200, 100, 400, 300});
    const MapCase cases[] = {
        {{0, 0}, {200, 100}},   {{100, 50}, {400, 300}}, {{50, 25}, {300, 200}},
        {{10, 40}, {220, 260}}, {{100, 0}, {400, 100}},  {{33, 17}, {266, 168}},
        // Outside the source the patch continues along the edge lines.
        {{150, 0}, {500, 100}},
    };
    expectMapped(pattern, cases);
}

TEST(CoonsDistortion, MapsNothingWhenEmptyOrARectangleHasNoSize)
{
    TCoonsDistortion empty;
    empty.SetSourceRect({0, 0, 100, 100});
    empty.SetTargetRect({0, 0, 300, 300});
    TPoint point{50, 50};
    empty.TransformPoint(point);
    EXPECT_EQ(point, (TPoint{50, 50}));

    for (const auto& [source, target] : {std::pair<TRect, TRect>{{0, 0, 0, 100}, {0, 0, 300, 300}},
                                         std::pair<TRect, TRect>{{0, 0, 100, 100}, {0, 0, 300, 0}}}) {
        TCoonsDistortion pattern;
        pattern.SetIdentityPattern();
        pattern.SetSourceRect(source);
        pattern.SetTargetRect(target);
        point = {50, 50};
        pattern.TransformPoint(point);
        EXPECT_EQ(point, (TPoint{50, 50}));
    }
}

TEST(CoonsDistortion, ACornerPeakIsStraightSided)
{
    TCoonsDistortion pattern;
    makePeak(pattern, false);
    const std::pair<long double, TCoonsPoint> cases[] = {
        {0, {0, 0}},          {0.1L, {0.1L, -0.04L}}, {0.25L, {0.25L, -0.1L}},
        {0.5L, {0.5L, -0.2L}}, {0.75L, {0.75L, -0.1L}}, {1, {1, 0}},
    };
    for (const auto& [t, want] : cases)
        expectNear(pattern.EdgePoint(E::ceTop, t), want);
}

TEST(CoonsDistortion, ASmoothPeakIsAParabolaBetweenTheSegmentMiddles)
{
    TCoonsDistortion pattern;
    makePeak(pattern, true);
    const std::pair<long double, TCoonsPoint> cases[] = {
        {0.1L, {0.1L, -0.04L}},          // still the straight first half-segment
        {0.25L, {0.25L, -0.1L}},         // the parabola starts at the middle
        {0.375L, {0.375L, -0.1375L}},
        {0.5L, {0.5L, -0.15L}},          // and stays below the control point
        {0.75L, {0.75L, -0.1L}},
        {0.9L, {0.9L, -0.04L}},
    };
    for (const auto& [t, want] : cases)
        expectNear(pattern.EdgePoint(E::ceTop, t), want);
}

TEST(CoonsDistortion, ThePeakRaisesTheMiddleOfTheTextOnly)
{
    TCoonsDistortion pattern;
    makePeak(pattern, true);
    pattern.SetSourceRect({0, 0, 1000, 1000});
    pattern.SetTargetRect({0, 0, 1000, 1000});
    const MapCase cases[] = {
        {{500, 0}, {500, -149}},    // -150 + 0.01, truncated towards zero
        {{500, 1000}, {500, 1000}}, // the bottom edge is straight
        {{500, 500}, {500, 425}},   // halfway between top and bottom
        {{0, 500}, {0, 500}},
        {{1000, 500}, {1000, 500}},
    };
    expectMapped(pattern, cases);
}

TEST(CoonsDistortion, ApplyRatioBlendsTowardsTheSquare)
{
    const std::pair<int32_t, TCoonsPoint> cases[] = {
        {100, {0.5L, -0.2L}}, {50, {0.5L, -0.1L}}, {0, {0.5L, 0}}, {150, {0.5L, -0.3L}}};
    for (const auto& [ratio, want] : cases) {
        TCoonsDistortion pattern;
    makePeak(pattern, true);
        pattern.ApplyRatio(ratio);
        expectNear(pattern.GetPoint(E::ceTop, 1), want);
        EXPECT_TRUE(pattern.Smooth(E::ceTop, 1));
    }
}

TEST(CoonsDistortion, ApplyRatioZeroMovesEveryCornerHomeOnBothItsEdges)
{
    TCoonsDistortion pattern;
    setEdge(pattern, E::ceTop, {{0.25L, 0}, {1.25L, 0}});
    setEdge(pattern, E::ceRight, {{1.25L, 0}, {1.1L, 0.5L}, {1, 1}});
    setEdge(pattern, E::ceBottom, {{0, 1.2L}, {1, 1}});
    setEdge(pattern, E::ceLeft, {{0.25L, 0}, {-0.1L, 0.5L}, {0, 1.2L}});
    pattern.ApplyRatio(0);
    TCoonsDistortion square;
    square.SetIdentityPattern();
    for (int e = 0; e < E::kEdgeCount; ++e)
        for (int32_t i = 0; i < pattern.EdgeCount(e); ++i) {
            const long double along = (long double)i / (pattern.EdgeCount(e) - 1);
            const TCoonsPoint want = e == E::ceTop      ? TCoonsPoint{along, 0}
                                     : e == E::ceRight  ? TCoonsPoint{1, along}
                                     : e == E::ceBottom ? TCoonsPoint{along, 1}
                                                        : TCoonsPoint{0, along};
            expectNear(pattern.GetPoint(e, i), want);
        }
}

TEST(CoonsDistortion, EndPointsMoveTheCornerOfTheNeighbouringEdge)
{
    struct CornerCase {
        int edge;
        int32_t index;
        int otherEdge;
        int32_t otherIndex;
    };
    const CornerCase cases[] = {
        {E::ceTop, 0, E::ceLeft, 0},       {E::ceTop, 2, E::ceRight, 0},
        {E::ceRight, 0, E::ceTop, 2},      {E::ceRight, 1, E::ceBottom, 1},
        {E::ceBottom, 1, E::ceRight, 1},   {E::ceBottom, 0, E::ceLeft, 1},
        {E::ceLeft, 1, E::ceBottom, 0},    {E::ceLeft, 0, E::ceTop, 0},
    };
    for (const CornerCase& c : cases) {
        TCoonsDistortion pattern;
    makePeak(pattern, false);
        const TCoonsPoint moved{0.7L, 0.3L};
        pattern.SetPoint(c.edge, c.index, moved);
        EXPECT_EQ(pattern.GetPoint(c.edge, c.index), moved);
        EXPECT_EQ(pattern.GetPoint(c.otherEdge, c.otherIndex), moved) << c.edge << "/" << c.index;
    }
    // A middle point has no neighbour, and indices outside are ignored.
    TCoonsDistortion pattern;
    makePeak(pattern, false);
    pattern.SetPoint(E::ceTop, 1, {0.5L, -0.5L});
    pattern.SetPoint(E::ceTop, 3, {9, 9});
    pattern.SetPoint(E::ceTop, -1, {9, 9});
    EXPECT_EQ(pattern.GetPoint(E::ceLeft, 0), (TCoonsPoint{0, 0}));
    EXPECT_EQ(pattern.GetPoint(E::ceRight, 0), (TCoonsPoint{1, 0}));
    EXPECT_EQ(pattern.GetPoint(E::ceTop, 1), (TCoonsPoint{0.5L, -0.5L}));
}

TEST(CoonsDistortion, IndicesOutsideAnEdgeContinueAlongTheOutline)
{
    // Four points per edge, each interior point different, so that a wrong
    // direction on the neighbour shows.
    TCoonsDistortion pattern;
    setEdge(pattern, E::ceTop, {{0, 0}, {0.3L, -0.1L}, {0.6L, -0.2L}, {1, 0}});
    setEdge(pattern, E::ceRight, {{1, 0}, {1.1L, 0.3L}, {1.2L, 0.6L}, {1, 1}});
    setEdge(pattern, E::ceBottom, {{0, 1}, {0.3L, 1.1L}, {0.6L, 1.2L}, {1, 1}});
    setEdge(pattern, E::ceLeft, {{0, 0}, {-0.1L, 0.3L}, {-0.2L, 0.6L}, {0, 1}});
    struct Case {
        int edge;
        int32_t index;
        TCoonsPoint want;
    };
    const Case cases[] = {
        {E::ceTop, -1, {-0.1L, 0.3L}},     {E::ceTop, 4, {1.1L, 0.3L}},
        {E::ceRight, -1, {0.6L, -0.2L}},   {E::ceRight, 4, {0.6L, 1.2L}},
        {E::ceBottom, -1, {-0.2L, 0.6L}},  {E::ceBottom, 4, {1.2L, 0.6L}},
        {E::ceLeft, -1, {0.3L, -0.1L}},    {E::ceLeft, 4, {0.3L, 1.1L}},
        {E::ceTop, -9, {0, 0}},            // further than the neighbour reaches
    };
    for (const Case& c : cases)
        EXPECT_EQ(pattern.GetPoint(c.edge, c.index), c.want) << c.edge << "/" << c.index;
}

TEST(CoonsDistortion, ASmoothCornerRoundsAcrossTheNeighbouringEdge)
{
    // The top-left corner pulled up and made smooth: the top edge begins
    // halfway along the parabola from the middle of the left edge, (0, 0.4),
    // through the corner to the middle of the top edge, (0.5, -0.1); the
    // knot before the corner lies one left-edge step back, at -1.
    TCoonsDistortion pattern;
    pattern.SetIdentityPattern();
    pattern.SetPoint(E::ceTop, 0, {0, -0.2L});
    pattern.SetSmooth(E::ceTop, 0, true);
    expectNear(pattern.EdgePoint(E::ceTop, 0), {0.125L, -0.025L});
    expectNear(pattern.EdgePoint(E::ceTop, 0.25L), {0.28125L, -0.10625L});
}

TEST(CoonsDistortion, ChangingCountsClearsTheFlagsAndAssignCopiesEverything)
{
    TCoonsDistortion pattern;
    makePeak(pattern, true);
    pattern.SetSourceRect({1, 2, 3, 4});
    pattern.SetTargetRect({5, 6, 7, 8});
    TCoonsDistortion copy;
    copy.Assign(pattern);
    EXPECT_TRUE(copy.SamePattern(pattern));
    EXPECT_EQ(copy.SourceRect(), (TRect{1, 2, 3, 4}));
    EXPECT_EQ(copy.TargetRect(), (TRect{5, 6, 7, 8}));

    copy.SetEdgeCount(E::ceTop, 4);
    EXPECT_FALSE(copy.Smooth(E::ceTop, 1));
    EXPECT_EQ(copy.GetPoint(E::ceTop, 3), (TCoonsPoint{0, 0}));
    copy.SetEdgeCount(E::ceTop, -1);
    EXPECT_EQ(copy.EdgeCount(E::ceTop), 4);
    copy.ClearPattern();
    EXPECT_TRUE(copy.IsEmpty());
    EXPECT_EQ(copy.Identifier(), pattern.Identifier());

    // New distortions are different patterns.
    EXPECT_FALSE(TCoonsDistortion().Identifier() == TCoonsDistortion().Identifier());
}

TEST(CoonsDistortionData, AnEmptyPatternIs32BytesAndKeepsItsIdentifier)
{
    TCoonsDistortion empty;
    const std::string bytes = empty.SaveData();
    ASSERT_EQ(bytes.size(), 32u);
    EXPECT_EQ(bytes.substr(16), std::string(16, '\0'));

    TCoonsDistortion back;
    makePeak(back, true);
    back.LoadData(bytes);
    EXPECT_TRUE(back.IsEmpty());
    EXPECT_EQ(back.Identifier(), empty.Identifier());
}

TEST(CoonsDistortionData, PointsAreExtendedValuesFollowedByTheFlags)
{
    TCoonsDistortion pattern;
    makePeak(pattern, true);
    const std::string bytes = pattern.SaveData();
    ASSERT_EQ(bytes.size(), 32u + 9 * 20 + 9);
    TByteReader reader(bytes);
    reader.Skip(16);
    EXPECT_EQ(reader.ReadI32(), 3);
    EXPECT_EQ(reader.ReadI32(), 2);
    EXPECT_EQ(reader.ReadI32(), 2);
    EXPECT_EQ(reader.ReadI32(), 2);
    reader.Skip(20);  // top[0]
    const TExtendedBytes half = EncodeExtended(0.5L);
    EXPECT_EQ(reader.ReadBytes(10), std::string_view(reinterpret_cast<const char*>(half.data()), 10));
    EXPECT_EQ(bytes.substr(bytes.size() - 9), std::string("\0\1\0\0\0\0\0\0\0", 9));

    TCoonsDistortion back;
    back.LoadData(bytes);
    EXPECT_TRUE(back.SamePattern(pattern));
    EXPECT_EQ(back.GetPoint(E::ceTop, 1), (TCoonsPoint{0.5L, -0.2L}));  // bit for bit
}

std::string counts(int32_t top, int32_t right, int32_t bottom, int32_t left)
{
    std::string bytes(16, '\x11');
    for (const int32_t count : {top, right, bottom, left})
        for (int shift = 0; shift < 32; shift += 8)
            bytes += char(uint32_t(count) >> shift & 0xFF);
    return bytes;
}

TEST(CoonsDistortionData, HostilePayloadsAreRefusedAndChangeNothing)
{
    const struct {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"shorter than the header", std::string(31, '\0')},
        {"negative count", counts(-1, 0, 0, 0)},
        {"count beyond the payload", counts(0x7FFFFFFF, 0, 0, 0) + std::string(21, '\0')},
        {"counts that overflow together", counts(0x40000000, 0x40000000, 0x40000000, 0x40000000)},
        {"one flag missing", counts(1, 0, 0, 0) + std::string(20, '\0')},
        {"bytes left over", counts(1, 0, 0, 0) + std::string(22, '\0')},
    };
    for (const auto& c : cases) {
        TCoonsDistortion pattern;
    makePeak(pattern, true);
        const std::string before = pattern.SaveData();
        EXPECT_THROW(pattern.LoadData(c.bytes), EReadError) << c.what;
        EXPECT_EQ(pattern.SaveData(), before) << c.what;
    }
}

// The hex digits of a binary entry in Free Pascal's text form.
std::string entryHex(const std::string& text, const std::string& name)
{
    const std::size_t open = text.find(name + " = {");
    if (open == std::string::npos)
        return "missing";
    const std::size_t close = text.find('}', open);
    std::string hex;
    for (std::size_t i = text.find('{', open) + 1; i < close; ++i)
        if (!std::isspace(static_cast<unsigned char>(text[i])))
            hex += text[i];
    return hex;
}

std::string toHex(const std::string& bytes)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string hex;
    for (const char c : bytes) {
        hex += digits[uint8_t(c) >> 4];
        hex += digits[uint8_t(c) & 15];
    }
    return hex;
}

class CoonsDistortionStream : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        RegisterObjectClasses();
        RegisterClass(TDistortionHolder::StaticClassInfo());
    }
};

TEST_F(CoonsDistortionStream, FreePascalReadsOurDataAndWritesItBackUnchanged)
{
    ORVELLA_REQUIRE_ORACLES();
    for (const bool empty : {true, false}) {
        TDistortionHolder holder;
        if (!empty)
            makePeak(holder.Distortion, true);
        const std::string bytes = WriteComponent(holder);
        const std::string text = test::FpcToText(bytes);
        EXPECT_EQ(text.rfind("object TDistortionHolder\n", 0), 0u) << text;
        EXPECT_EQ(entryHex(text, "CoonsDistortion.Data"), toHex(holder.Distortion.SaveData())) << text;
        EXPECT_EQ(test::FpcToBinary(text), bytes);
    }
}

TEST_F(CoonsDistortionStream, ReadsDataThatFreePascalWrote)
{
    ORVELLA_REQUIRE_ORACLES();
    // Identifier {00112233-4455-6677-8899-AABBCCDDEEFF}; top (0, 0) (0.5,
    // -0.25) (1, 0) with a smooth middle; the other edges the square's.
    const std::string zero = "00000000000000000000";
    const std::string one = "0000000000000080FF3F";
    const std::string half = "0000000000000080FE3F";
    const std::string minusQuarter = "0000000000000080FDBF";
    const std::string hex = "33221100554477668899AABBCCDDEEFF" "03000000020000000200000002000000" +
                            zero + zero + half + minusQuarter + one + zero +  // top
                            one + zero + one + one +                          // right
                            zero + one + one + one +                          // bottom
                            zero + zero + zero + one +                        // left
                            "000100000000000000";
    const std::string bytes =
        test::FpcToBinary("object TDistortionHolder\n  CoonsDistortion.Data = {\n    " + hex + "\n  }\nend\n");
    TDistortionHolder holder;
    ReadComponent(bytes, holder);
    const TCoonsDistortion& read = holder.Distortion;
    EXPECT_EQ(read.Identifier(), MakeGuid("{00112233-4455-6677-8899-AABBCCDDEEFF}"));
    EXPECT_EQ(read.EdgeCount(E::ceTop), 3);
    EXPECT_EQ(read.GetPoint(E::ceTop, 1), (TCoonsPoint{0.5L, -0.25L}));
    EXPECT_TRUE(read.Smooth(E::ceTop, 1));
    EXPECT_FALSE(read.Smooth(E::ceTop, 0));
    EXPECT_EQ(read.GetPoint(E::ceBottom, 1), (TCoonsPoint{1, 1}));
    EXPECT_EQ(read.GetPoint(E::ceLeft, 1), (TCoonsPoint{0, 1}));
}

TEST_F(CoonsDistortionStream, ADocumentWithHostileDataFailsToLoadCleanly)
{
    TDistortionHolder good;
    makePeak(good.Distortion, false);
    std::string bytes = WriteComponent(good);
    // Raise the top edge's count far beyond what the entry holds.
    const std::string data = good.Distortion.SaveData();
    const std::size_t at = bytes.find(data);
    ASSERT_NE(at, std::string::npos);
    bytes[at + 19] = '\x7F';
    TDistortionHolder holder;
    EXPECT_THROW(ReadComponent(bytes, holder), EReadError);
}

}  // namespace
}  // namespace orvella
