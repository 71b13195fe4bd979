#include "objects/coons_distortion.h"

#include "document/product_info.h"
#include "formats/byte_reader.h"
#include "formats/byte_writer.h"
#include "formats/extended_float.h"
#include "formats/property_table.h"
#include "formats/stream_format.h"

#include <cmath>
#include <cstring>
#include <limits>

namespace orvella {

namespace {

constexpr std::size_t kHeaderBytes = 32;
constexpr std::size_t kPointBytes = 20;

// Which edge continues the outline before an edge's first point and after
// its last one, and whether the neighbour is walked from its far end.
struct TNeighbour {
    int edge;
    bool fromEnd;
};
constexpr TNeighbour kBefore[4] = {
    {TCoonsDistortion::ceLeft, false},   // top[-k] = left[k]
    {TCoonsDistortion::ceTop, true},     // right[-k] = top[n - 1 - k]
    {TCoonsDistortion::ceLeft, true},    // bottom[-k] = left[n - 1 - k]
    {TCoonsDistortion::ceTop, false},    // left[-k] = top[k]
};
constexpr TNeighbour kAfter[4] = {
    {TCoonsDistortion::ceRight, false},  // top[n - 1 + k] = right[k]
    {TCoonsDistortion::ceBottom, true},  // right[n - 1 + k] = bottom[n - 1 - k]
    {TCoonsDistortion::ceRight, true},   // bottom[n - 1 + k] = right[n - 1 - k]
    {TCoonsDistortion::ceBottom, false}, // left[n - 1 + k] = bottom[k]
};

bool validEdge(int edge) { return edge >= 0 && edge < TCoonsDistortion::kEdgeCount; }

// The parameter distance of one point step along an edge of n points.
long double stepOf(std::size_t n) { return n >= 2 ? 1.0L / (long double)(n - 1) : 1.0L; }

TCoonsPoint mid(const TCoonsPoint& a, const TCoonsPoint& b) { return {(a.x + b.x) / 2, (a.y + b.y) / 2}; }

// Towards zero, saturated to the 32-bit range so that a wild pattern cannot
// make painting fail. The x87 truncation switches the rounding mode for
// every conversion, which costs more than the whole mapping; truncating the
// nearest double and correcting by one gives the exact result cheaply.
int32_t truncSaturated(long double value)
{
    if (std::isnan(value))
        return 0;
    if (value >= (long double)std::numeric_limits<int32_t>::max())
        return std::numeric_limits<int32_t>::max();
    if (value <= (long double)std::numeric_limits<int32_t>::min())
        return std::numeric_limits<int32_t>::min();
    int64_t whole = int64_t(double(value));
    if (value >= 0) {
        if ((long double)whole > value)
            --whole;
        else if ((long double)(whole + 1) <= value)
            ++whole;
    } else {
        if ((long double)whole < value)
            ++whole;
        else if ((long double)(whole - 1) >= value)
            --whole;
    }
    return int32_t(whole);
}

int32_t addSaturated(int32_t a, int32_t b)
{
    const int64_t sum = int64_t(a) + b;
    if (sum > std::numeric_limits<int32_t>::max())
        return std::numeric_limits<int32_t>::max();
    if (sum < std::numeric_limits<int32_t>::min())
        return std::numeric_limits<int32_t>::min();
    return int32_t(sum);
}

void writeGuid(TByteWriter& out, const TGuid& guid)
{
    out.WriteU32(guid.D1);
    out.WriteU16(guid.D2);
    out.WriteU16(guid.D3);
    out.WriteBytes(std::string_view(reinterpret_cast<const char*>(guid.D4), sizeof guid.D4));
}

TGuid readGuid(TByteReader& reader)
{
    TGuid guid;
    guid.D1 = reader.ReadU32();
    guid.D2 = reader.ReadU16();
    guid.D3 = reader.ReadU16();
    const std::string_view tail = reader.ReadBytes(sizeof guid.D4);
    std::memcpy(guid.D4, tail.data(), sizeof guid.D4);
    return guid;
}

[[noreturn]] void refuse(const char* why)
{
    throw EReadError(std::string(stream_message::kReadError) + ": " + why);
}

}  // namespace

const TClassInfo& TCoonsDistortion::StaticClassInfo()
{
    static const TClassInfo info = DeclareClass<TCoonsDistortion, TTransformer>("TCoonsDistortion", {});
    return info;
}

TCoonsDistortion::TCoonsDistortion() : identifier_(NewGuid()) {}

void TCoonsDistortion::changed()
{
    dirty_ = true;
    if (OnChange)
        OnChange();
}

void TCoonsDistortion::ClearPattern()
{
    if (IsEmpty())
        return;
    for (TEdgeData& edge : edges_) {
        edge.points.clear();
        edge.smooth.clear();
    }
    changed();
}

void TCoonsDistortion::SetIdentityPattern()
{
    for (TEdgeData& edge : edges_) {
        edge.points.assign(2, TCoonsPoint{});
        edge.smooth.assign(2, 0);
    }
    edges_[ceTop].points = {{0, 0}, {1, 0}};
    edges_[ceRight].points = {{1, 0}, {1, 1}};
    edges_[ceBottom].points = {{0, 1}, {1, 1}};
    edges_[ceLeft].points = {{0, 0}, {0, 1}};
    changed();
}

bool TCoonsDistortion::IsEmpty() const noexcept
{
    for (const TEdgeData& edge : edges_)
        if (!edge.points.empty())
            return false;
    return true;
}

int32_t TCoonsDistortion::EdgeCount(int edge) const
{
    return validEdge(edge) ? int32_t(edges_[std::size_t(edge)].points.size()) : 0;
}

void TCoonsDistortion::SetEdgeCount(int edge, int32_t count)
{
    if (!validEdge(edge) || count < 0 || count == EdgeCount(edge))
        return;
    TEdgeData& data = edges_[std::size_t(edge)];
    data.points.resize(std::size_t(count));
    data.smooth.assign(std::size_t(count), 0);
    changed();
}

TCoonsPoint TCoonsDistortion::GetPoint(int edge, int32_t index) const
{
    if (!validEdge(edge))
        return {};
    const auto& points = edges_[std::size_t(edge)].points;
    const int64_t n = int64_t(points.size());
    if (index >= 0 && index < n)
        return points[std::size_t(index)];
    if (n == 0)
        return {};
    // One step onto the neighbouring edge; beyond that the outline has no
    // point to offer.
    const bool before = index < 0;
    const int64_t k = before ? -int64_t(index) : int64_t(index) - (n - 1);
    const TNeighbour nb = before ? kBefore[edge] : kAfter[edge];
    const auto& other = edges_[std::size_t(nb.edge)].points;
    const int64_t m = int64_t(other.size());
    const int64_t at = nb.fromEnd ? m - 1 - k : k;
    if (at < 0 || at >= m)
        return {};
    return other[std::size_t(at)];
}

void TCoonsDistortion::SetPoint(int edge, int32_t index, TCoonsPoint point)
{
    if (!validEdge(edge))
        return;
    auto& points = edges_[std::size_t(edge)].points;
    const int64_t n = int64_t(points.size());
    if (index < 0 || index >= n)
        return;
    points[std::size_t(index)] = point;
    // The corner's other edge: at its first point when the neighbour is
    // walked from the start, at its last point otherwise.
    auto share = [&](const TNeighbour& nb) {
        auto& other = edges_[std::size_t(nb.edge)].points;
        if (!other.empty())
            other[nb.fromEnd ? other.size() - 1 : 0] = point;
    };
    if (index == 0)
        share(kBefore[edge]);
    if (index == n - 1)
        share(kAfter[edge]);
    changed();
}

bool TCoonsDistortion::Smooth(int edge, int32_t index) const
{
    if (!validEdge(edge))
        return false;
    const auto& flags = edges_[std::size_t(edge)].smooth;
    return index >= 0 && std::size_t(index) < flags.size() && flags[std::size_t(index)] != 0;
}

void TCoonsDistortion::SetSmooth(int edge, int32_t index, bool smooth)
{
    if (!validEdge(edge))
        return;
    auto& flags = edges_[std::size_t(edge)].smooth;
    if (index < 0 || std::size_t(index) >= flags.size() || (flags[std::size_t(index)] != 0) == smooth)
        return;
    flags[std::size_t(index)] = smooth ? 1 : 0;
    changed();
}

void TCoonsDistortion::ApplyRatio(int32_t ratio)
{
    const long double b = (long double)ratio / 100;
    auto blend = [b](long double identity, long double value) { return identity + b * (value - identity); };
    auto along = [](std::size_t j, std::size_t n) { return n >= 2 ? (long double)j / (long double)(n - 1) : 0.0L; };

    auto& top = edges_[ceTop].points;
    auto& right = edges_[ceRight].points;
    auto& bottom = edges_[ceBottom].points;
    auto& left = edges_[ceLeft].points;
    for (std::size_t c = 1; c + 1 < right.size(); ++c)
        right[c] = {blend(1, right[c].x), blend(along(c, right.size()), right[c].y)};
    for (std::size_t e = 1; e + 1 < left.size(); ++e)
        left[e] = {blend(0, left[e].x), blend(along(e, left.size()), left[e].y)};
    // The corners follow through the top and bottom edges.
    for (std::size_t j = 0; j < top.size(); ++j)
        SetPoint(ceTop, int32_t(j), {blend(along(j, top.size()), top[j].x), blend(0, top[j].y)});
    for (std::size_t k = 0; k < bottom.size(); ++k)
        SetPoint(ceBottom, int32_t(k), {blend(along(k, bottom.size()), bottom[k].x), blend(1, bottom[k].y)});
    changed();
}

TCoonsDistortion::TRectData TCoonsDistortion::makeRectData(const TRect& rect)
{
    TRectData data;
    data.rect = rect;
    data.width = (long double)rect.Right - rect.Left;
    data.height = (long double)rect.Bottom - rect.Top;
    data.invWidth = data.width != 0 ? 1 / data.width : 0;
    data.invHeight = data.height != 0 ? 1 / data.height : 0;
    return data;
}

void TCoonsDistortion::SetSourceRect(const TRect& rect) { source_ = makeRectData(rect); }
void TCoonsDistortion::SetTargetRect(const TRect& rect) { target_ = makeRectData(rect); }

void TCoonsDistortion::prepare() const
{
    if (!dirty_)
        return;
    for (int e = 0; e < kEdgeCount; ++e) {
        const std::size_t n = edges_[std::size_t(e)].points.size();
        // The parameters of points -1 ... n: inside the edge i/(n - 1), the
        // last exactly 1; one point further on each side continues onto the
        // neighbouring edge in that edge's own steps.
        auto& params = params_[std::size_t(e)];
        params.assign(n + 2, 0);
        params[0] = -stepOf(edges_[std::size_t(kBefore[e].edge)].points.size());
        for (std::size_t i = 1; i < n; ++i)
            params[i + 1] = (long double)i / (long double)(n - 1);
        if (n >= 2)
            params[n] = 1;
        params[n + 1] = (n >= 1 ? params[n] : 0) + stepOf(edges_[std::size_t(kAfter[e].edge)].points.size());
    }
    const auto corner = [this](int edge, bool last) {
        const auto& points = edges_[std::size_t(edge)].points;
        return points.empty() ? TCoonsPoint{} : points[last ? points.size() - 1 : 0];
    };
    corners_ = {corner(ceTop, false), corner(ceRight, false), corner(ceBottom, true), corner(ceLeft, true)};
    dirty_ = false;
}

TCoonsPoint TCoonsDistortion::EdgePoint(int edge, long double t) const
{
    if (!validEdge(edge))
        return {};
    prepare();
    return edgePoint(edge, t);
}

TCoonsPoint TCoonsDistortion::edgePoint(int edge, long double t) const
{
    const TEdgeData& data = edges_[std::size_t(edge)];
    const auto& points = data.points;
    const int32_t n = int32_t(points.size());
    if (n < 2)
        return n == 1 ? points[0] : TCoonsPoint{};
    // params[i + 1] is the parameter of point i.
    const long double* params = params_[std::size_t(edge)].data() + 1;

    int32_t j = n - 2;
    for (int32_t i = 0; i <= n - 3; ++i)
        if (params[i + 1] >= t) {
            j = i;
            break;
        }
    const long double atJ = params[j];
    const long double atNext = params[j + 1];
    const int32_t pos = std::fabs(t - atJ) >= std::fabs(t - atNext) ? j + 1 : j;

    if (data.smooth[std::size_t(pos)] != 0) {
        const TCoonsPoint b = points[std::size_t(pos)];
        const TCoonsPoint a = mid(pos > 0 ? points[std::size_t(pos - 1)] : GetPoint(edge, pos - 1), b);
        const TCoonsPoint c = mid(b, pos + 1 < n ? points[std::size_t(pos + 1)] : GetPoint(edge, pos + 1));
        const long double span = params[pos + 1] - params[pos - 1];
        const long double u = span != 0 ? (2 * t - params[pos] - params[pos - 1]) / span : 0.5L;
        const long double wa = (1 - u) * (1 - u), wb = 2 * u * (1 - u), wc = u * u;
        return {wa * a.x + wb * b.x + wc * c.x, wa * a.y + wb * b.y + wc * c.y};
    }
    const TCoonsPoint& p = points[std::size_t(j)];
    const TCoonsPoint& q = points[std::size_t(j + 1)];
    if (atNext == atJ)
        return mid(p, q);
    const long double f = (t - atJ) / (atNext - atJ);
    return {p.x + f * (q.x - p.x), p.y + f * (q.y - p.y)};
}

void TCoonsDistortion::TransformPoint(TPoint& point) const
{
    if (IsEmpty() || source_.width == 0 || source_.height == 0 || target_.width == 0 || target_.height == 0)
        return;
    prepare();
    const long double u = ((long double)point.x - source_.rect.Left) * source_.invWidth;
    const long double v = ((long double)point.y - source_.rect.Top) * source_.invHeight;
    const TCoonsPoint top = edgePoint(ceTop, u);
    const TCoonsPoint bottom = edgePoint(ceBottom, u);
    const TCoonsPoint left = edgePoint(ceLeft, v);
    const TCoonsPoint right = edgePoint(ceRight, v);
    const TCoonsPoint& tl = corners_[0];
    const TCoonsPoint& tr = corners_[1];
    const TCoonsPoint& br = corners_[2];
    const TCoonsPoint& bl = corners_[3];
    auto coons = [&](long double TCoonsPoint::*axis) {
        return (1 - v) * top.*axis + v * bottom.*axis + (1 - u) * left.*axis + u * right.*axis -
               ((1 - u) * (1 - v) * tl.*axis + u * (1 - v) * tr.*axis + u * v * br.*axis + (1 - u) * v * bl.*axis);
    };
    point.x = addSaturated(target_.rect.Left, truncSaturated(coons(&TCoonsPoint::x) * target_.width + 0.01L));
    point.y = addSaturated(target_.rect.Top, truncSaturated(coons(&TCoonsPoint::y) * target_.height + 0.01L));
}

void TCoonsDistortion::Assign(const TCoonsDistortion& source)
{
    if (&source == this)
        return;
    identifier_ = source.identifier_;
    edges_ = source.edges_;
    source_ = source.source_;
    target_ = source.target_;
    changed();
}

bool TCoonsDistortion::SamePattern(const TCoonsDistortion& other) const
{
    for (int e = 0; e < kEdgeCount; ++e)
        if (edges_[std::size_t(e)].points != other.edges_[std::size_t(e)].points ||
            edges_[std::size_t(e)].smooth != other.edges_[std::size_t(e)].smooth)
            return false;
    return identifier_ == other.identifier_;
}

std::string TCoonsDistortion::SaveData() const
{
    std::string bytes;
    TByteWriter out(bytes);
    writeGuid(out, identifier_);
    for (const TEdgeData& edge : edges_)
        out.WriteI32(int32_t(edge.points.size()));
    for (const TEdgeData& edge : edges_)
        for (const TCoonsPoint& point : edge.points) {
            const TExtendedBytes x = EncodeExtended(point.x);
            const TExtendedBytes y = EncodeExtended(point.y);
            out.WriteBytes(std::string_view(reinterpret_cast<const char*>(x.data()), x.size()));
            out.WriteBytes(std::string_view(reinterpret_cast<const char*>(y.data()), y.size()));
        }
    for (const TEdgeData& edge : edges_)
        for (uint8_t flag : edge.smooth)
            out.WriteU8(flag);
    return bytes;
}

void TCoonsDistortion::LoadData(std::string_view bytes)
{
    TByteReader reader(bytes);
    ReadData(reader);
}

void TCoonsDistortion::ReadData(TByteReader& reader)
{
    if (reader.Remaining() < kHeaderBytes)
        refuse("distortion data shorter than its header");
    const TGuid identifier = readGuid(reader);
    std::array<int32_t, kEdgeCount> counts{};
    uint64_t total = 0;
    for (int32_t& count : counts) {
        count = reader.ReadI32();
        if (count < 0)
            refuse("negative point count in distortion data");
        total += uint64_t(count);
    }
    // Check the counts against the payload before anything is allocated.
    if (total > reader.Remaining() / (kPointBytes + 1) || total * (kPointBytes + 1) != reader.Remaining())
        refuse("point counts of distortion data do not match its length");

    std::array<TEdgeData, kEdgeCount> edges;
    for (int e = 0; e < kEdgeCount; ++e) {
        auto& points = edges[std::size_t(e)].points;
        points.resize(std::size_t(counts[std::size_t(e)]));
        for (TCoonsPoint& point : points) {
            TExtendedBytes x, y;
            std::memcpy(x.data(), reader.ReadBytes(x.size()).data(), x.size());
            std::memcpy(y.data(), reader.ReadBytes(y.size()).data(), y.size());
            point = {DecodeExtended(x), DecodeExtended(y)};
        }
    }
    for (int e = 0; e < kEdgeCount; ++e) {
        auto& flags = edges[std::size_t(e)].smooth;
        flags.resize(std::size_t(counts[std::size_t(e)]));
        for (uint8_t& flag : flags)
            flag = reader.ReadU8();
    }
    identifier_ = identifier;
    edges_ = std::move(edges);
    changed();
}

void TCoonsDistortion::DefineProperties(TFiler& filer)
{
    TTransformer::DefineProperties(filer);
    filer.DefineBinaryProperty(
        "Data", [this](TByteReader& reader) { ReadData(reader); },
        [this](std::string& bytes) { bytes = SaveData(); }, true);
}

}  // namespace orvella
