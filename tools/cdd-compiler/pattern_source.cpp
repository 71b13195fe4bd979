#include "pattern_source.h"

#include <array>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>

namespace orvella::cddc {

namespace {

std::string trimmed(const std::string& text)
{
    const std::size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

TGuid parseGuid(const std::string& text)
{
    const std::optional<TGuid> guid = ParseGuid(text);
    if (!guid)
        throw ESourceError("not a GUID: " + text);
    return *guid;
}

long double parseNumber(const std::string& text)
{
    char* end = nullptr;
    const long double value = std::strtold(text.c_str(), &end);
    if (text.empty() || end != text.c_str() + text.size() || !std::isfinite(value) || value < -1 || value > 2)
        throw ESourceError("a coordinate is a number from -1 to 2: '" + text + "'");
    return value;
}

struct TPointSource {
    TCoonsPoint point;
    bool smooth = false;
};

// "x,y" or "x,y~" (smooth), separated by blanks.
std::vector<TPointSource> parseEdge(const std::string& text)
{
    std::vector<TPointSource> points;
    std::istringstream tokens(text);
    for (std::string token; tokens >> token;) {
        TPointSource point;
        if (!token.empty() && token.back() == '~') {
            point.smooth = true;
            token.pop_back();
        }
        const std::size_t comma = token.find(',');
        if (comma == std::string::npos)
            throw ESourceError("a point is 'x,y' or 'x,y~': '" + token + "'");
        point.point = {parseNumber(token.substr(0, comma)), parseNumber(token.substr(comma + 1))};
        points.push_back(point);
    }
    if (points.size() < 2)
        throw ESourceError("an edge needs at least two points: '" + text + "'");
    return points;
}

class TBlock {
public:
    explicit TBlock(std::string name) : name_(std::move(name)) {}

    void Set(const std::string& key, const std::string& value)
    {
        static const std::array<const char*, 4> edgeKeys = {"top", "right", "bottom", "left"};
        if (key == "id") {
            if (hasId_)
                fail("a second id");
            identifier_ = parseGuid(value);
            hasId_ = true;
            return;
        }
        for (std::size_t e = 0; e < edgeKeys.size(); ++e)
            if (key == edgeKeys[e]) {
                if (!edges_[e].empty())
                    fail("a second '" + key + "' edge");
                edges_[e] = parseEdge(value);
                return;
            }
        fail("unknown key '" + key + "'");
    }

    TPatternSource Finish() const
    {
        if (!hasId_)
            fail("no id");
        TPatternSource source;
        source.Name = name_;
        source.Pattern = std::make_unique<TCoonsDistortion>();
        TCoonsDistortion& pattern = *source.Pattern;
        pattern.SetIdentifier(identifier_);
        for (int e = 0; e < TCoonsDistortion::kEdgeCount; ++e) {
            const auto& points = edges_[std::size_t(e)];
            if (points.empty())
                fail("no edge " + std::to_string(e));
            pattern.SetEdgeCount(e, int32_t(points.size()));
        }
        // Interior points first, so that the corners below are the ones the
        // top and bottom edges name; the check then sees disagreements.
        for (int e = 0; e < TCoonsDistortion::kEdgeCount; ++e) {
            const auto& points = edges_[std::size_t(e)];
            for (std::size_t i = 0; i < points.size(); ++i) {
                const bool end = i == 0 || i + 1 == points.size();
                if (!end || e == TCoonsDistortion::ceTop || e == TCoonsDistortion::ceBottom)
                    pattern.SetPoint(e, int32_t(i), points[i].point);
                pattern.SetSmooth(e, int32_t(i), points[i].smooth);
            }
        }
        using E = TCoonsDistortion;
        const auto& top = edges_[E::ceTop];
        const auto& right = edges_[E::ceRight];
        const auto& bottom = edges_[E::ceBottom];
        const auto& left = edges_[E::ceLeft];
        if (!(top.front().point == left.front().point) || !(top.back().point == right.front().point) ||
            !(right.back().point == bottom.back().point) || !(left.back().point == bottom.front().point))
            fail("edges that meet at a corner must name the same point there");
        return source;
    }

private:
    [[noreturn]] void fail(const std::string& why) const { throw ESourceError("pattern '" + name_ + "': " + why); }

    std::string name_;
    TGuid identifier_;
    bool hasId_ = false;
    std::array<std::vector<TPointSource>, 4> edges_;
};

}  // namespace

std::vector<TPatternSource> ReadPatternFile(const std::string& path)
{
    std::ifstream file(path);
    if (!file)
        throw ESourceError("cannot read " + path);
    std::vector<TPatternSource> patterns;
    std::unique_ptr<TBlock> block;
    std::set<std::string> names;
    int lineNumber = 0;
    auto finish = [&] {
        if (block)
            patterns.push_back(block->Finish());
        block.reset();
    };
    try {
        for (std::string line; std::getline(file, line);) {
            ++lineNumber;
            line = trimmed(line);
            if (line.empty() || line[0] == '#')
                continue;
            const std::size_t colon = line.find(':');
            if (colon == std::string::npos)
                throw ESourceError("a line is 'key: value'");
            const std::string key = trimmed(line.substr(0, colon));
            const std::string value = trimmed(line.substr(colon + 1));
            if (key == "pattern") {
                finish();
                if (value.empty() || !names.insert(value).second)
                    throw ESourceError("a pattern needs a name of its own: '" + value + "'");
                block = std::make_unique<TBlock>(value);
            } else if (!block) {
                throw ESourceError("'" + key + "' before the first pattern");
            } else {
                block->Set(key, value);
            }
        }
        finish();
    } catch (const ESourceError& error) {
        throw ESourceError(path + ":" + std::to_string(lineNumber) + ": " + error.what());
    }
    for (std::size_t i = 0; i < patterns.size(); ++i)
        for (std::size_t j = 0; j < i; ++j)
            if (patterns[i].Pattern->Identifier() == patterns[j].Pattern->Identifier())
                throw ESourceError(path + ": patterns '" + patterns[j].Name + "' and '" + patterns[i].Name +
                                   "' share an id");
    return patterns;
}

}  // namespace orvella::cddc
