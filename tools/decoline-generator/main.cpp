// orvella-decoline-generator OUT_DIR PATTERN_SOURCE
// Draws the decorative line patterns described in data/decoline into one
// PNG file each under OUT_DIR/ILLUST/DecoLine, where the program looks for
// them. Run by the build; the source format is data/decoline/README.md.

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <numbers>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

// The colour the decorative line keys its see-through pixels on.
constexpr QRgb kKeyColour = qRgb(0xF0, 0xF0, 0xF0);
constexpr int kMaxSide = 512;

class ESourceError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct Command {
    int line = 0;
    std::string verb;
    std::vector<std::string> words;
};

struct Pattern {
    std::string name;
    int line = 0;
    int width = 0;
    int height = 0;
    std::vector<Command> commands;
};

[[noreturn]] void fail(int line, const std::string& message)
{
    throw ESourceError("line " + std::to_string(line) + ": " + message);
}

double number(const Command& c, const std::string& word)
{
    std::size_t used = 0;
    double value = 0;
    try {
        value = std::stod(word, &used);
    } catch (const std::exception&) {
        fail(c.line, "not a number: " + word);
    }
    if (used != word.size() || !std::isfinite(value))
        fail(c.line, "not a number: " + word);
    return value;
}

std::vector<double> numbers(const Command& c, std::size_t count)
{
    if (c.words.size() != count)
        fail(c.line, c.verb + " takes " + std::to_string(count) + " numbers");
    std::vector<double> values;
    for (const std::string& word : c.words)
        values.push_back(number(c, word));
    return values;
}

QPointF point(const Command& c, const std::string& word)
{
    const std::size_t comma = word.find(',');
    if (comma == std::string::npos)
        fail(c.line, "a point is x,y: " + word);
    return {number(c, word.substr(0, comma)), number(c, word.substr(comma + 1))};
}

QPolygonF points(const Command& c, std::size_t atLeast)
{
    if (c.words.size() < atLeast)
        fail(c.line, c.verb + " needs at least " + std::to_string(atLeast) + " points");
    QPolygonF polygon;
    for (const std::string& word : c.words)
        polygon << point(c, word);
    return polygon;
}

QColor colour(const Command& c, const std::string& word)
{
    const QColor value(QString::fromStdString(word));
    if (word.size() != 7 || word[0] != '#' || !value.isValid())
        fail(c.line, "a colour is #RRGGBB: " + word);
    return value;
}

std::vector<Pattern> readSource(const std::string& path)
{
    std::ifstream in(path);
    if (!in)
        throw ESourceError("cannot read " + path);
    std::vector<Pattern> patterns;
    std::string text;
    for (int line = 1; std::getline(in, text); ++line) {
        const std::size_t first = text.find_first_not_of(" \t\r");
        if (first == std::string::npos || text[first] == '#')
            continue;
        const std::size_t colon = text.find(':');
        if (colon == std::string::npos)
            fail(line, "expected key: value");
        Command command;
        command.line = line;
        std::istringstream head(text.substr(0, colon));
        head >> command.verb;
        std::istringstream rest(text.substr(colon + 1));
        for (std::string word; rest >> word;)
            command.words.push_back(word);
        if (command.verb == "pattern") {
            if (command.words.size() != 1)
                fail(line, "pattern: takes one name");
            patterns.push_back({command.words[0], line, 0, 0, {}});
            continue;
        }
        if (patterns.empty())
            fail(line, "a pattern: line comes first");
        Pattern& pattern = patterns.back();
        if (command.verb == "size") {
            const std::vector<double> size = numbers(command, 2);
            pattern.width = int(size[0]);
            pattern.height = int(size[1]);
            if (pattern.width < 1 || pattern.height < 1 || pattern.width > kMaxSide || pattern.height > kMaxSide)
                fail(line, "a size lies between 1 and " + std::to_string(kMaxSide));
            continue;
        }
        pattern.commands.push_back(std::move(command));
    }
    return patterns;
}

QPainterPath star(double cx, double cy, double outer, double inner, int tips)
{
    QPainterPath path;
    for (int i = 0; i < 2 * tips; ++i) {
        const double angle = -std::numbers::pi / 2 + i * std::numbers::pi / tips;
        const double radius = i % 2 == 0 ? outer : inner;
        const QPointF p(cx + radius * std::cos(angle), cy + radius * std::sin(angle));
        if (i == 0)
            path.moveTo(p);
        else
            path.lineTo(p);
    }
    path.closeSubpath();
    return path;
}

QPainterPath heart(double cx, double cy, double size)
{
    // Two lobes meeting in a point, inside a size x size box centred on (cx, cy).
    const double h = size / 2;
    QPainterPath path;
    path.moveTo(cx, cy + h);
    path.cubicTo(cx - 1.2 * h, cy + 0.1 * h, cx - 1.1 * h, cy - 1.1 * h, cx, cy - 0.45 * h);
    path.cubicTo(cx + 1.1 * h, cy - 1.1 * h, cx + 1.2 * h, cy + 0.1 * h, cx, cy + h);
    path.closeSubpath();
    return path;
}

void draw(QPainter& painter, const Pattern& pattern, const Command& c)
{
    if (c.verb == "pen") {
        if (c.words.size() == 1 && c.words[0] == "none") {
            painter.setPen(Qt::NoPen);
            return;
        }
        if (c.words.size() != 2)
            fail(c.line, "pen: takes a colour and a width, or none");
        QPen pen(colour(c, c.words[0]), number(c, c.words[1]));
        pen.setCapStyle(Qt::RoundCap);
        pen.setJoinStyle(Qt::RoundJoin);
        painter.setPen(pen);
    } else if (c.verb == "brush") {
        if (c.words.size() != 1)
            fail(c.line, "brush: takes a colour or none");
        painter.setBrush(c.words[0] == "none" ? QBrush(Qt::NoBrush) : QBrush(colour(c, c.words[0])));
    } else if (c.verb == "rect") {
        const std::vector<double> v = numbers(c, 4);
        painter.drawRect(QRectF(v[0], v[1], v[2], v[3]));
    } else if (c.verb == "roundrect") {
        const std::vector<double> v = numbers(c, 5);
        painter.drawRoundedRect(QRectF(v[0], v[1], v[2], v[3]), v[4], v[4]);
    } else if (c.verb == "ellipse") {
        const std::vector<double> v = numbers(c, c.words.size() == 5 ? 5 : 4);
        painter.save();
        painter.translate(v[0], v[1]);
        if (v.size() == 5)
            painter.rotate(v[4]);
        painter.drawEllipse(QPointF(0, 0), v[2], v[3]);
        painter.restore();
    } else if (c.verb == "line") {
        const std::vector<double> v = numbers(c, 4);
        painter.drawLine(QPointF(v[0], v[1]), QPointF(v[2], v[3]));
    } else if (c.verb == "polyline") {
        painter.drawPolyline(points(c, 2));
    } else if (c.verb == "polygon") {
        painter.drawPolygon(points(c, 3));
    } else if (c.verb == "curve") {
        const QPolygonF p = points(c, 4);
        if (p.size() != 4)
            fail(c.line, "curve: takes a start, two controls and an end");
        QPainterPath path(p[0]);
        path.cubicTo(p[1], p[2], p[3]);
        painter.drawPath(path);
    } else if (c.verb == "star") {
        const std::vector<double> v = numbers(c, 5);
        if (v[4] < 3 || v[4] > 24)
            fail(c.line, "a star has 3 to 24 tips");
        painter.drawPath(star(v[0], v[1], v[2], v[3], int(v[4])));
    } else if (c.verb == "heart") {
        const std::vector<double> v = numbers(c, 3);
        painter.drawPath(heart(v[0], v[1], v[2]));
    } else if (c.verb == "wave") {
        // wave: middle amplitude periods - one sine across the whole width.
        const std::vector<double> v = numbers(c, 3);
        QPolygonF polyline;
        for (int x = 0; x <= pattern.width * 4; ++x) {
            const double px = x / 4.0;
            polyline << QPointF(px, v[0] - v[1] * std::sin(2 * std::numbers::pi * v[2] * px / pattern.width));
        }
        painter.drawPolyline(polyline);
    } else {
        fail(c.line, "unknown drawing: " + c.verb);
    }
}

// Edges drawn smooth, then every pixel either kept whole or made see-through:
// the decorative line keys on one colour, so half-covered pixels would
// leave a grey fringe.
QImage render(const Pattern& pattern)
{
    if (pattern.width == 0)
        fail(pattern.line, "pattern " + pattern.name + " has no size:");
    QImage image(pattern.width, pattern.height, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::NoBrush);
        for (const Command& command : pattern.commands)
            draw(painter, pattern, command);
    }
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            if (qAlpha(pixel) < 128) {
                image.setPixel(x, y, qRgba(0, 0, 0, 0));
                continue;
            }
            QRgb opaque = qRgb(qRed(pixel), qGreen(pixel), qBlue(pixel));
            if (opaque == kKeyColour)
                opaque = qRgb(0xF0, 0xF0, 0xEF);
            image.setPixel(x, y, opaque);
        }
    return image;
}

int generate(const std::filesystem::path& outDir, const std::string& sourcePath)
{
    const std::vector<Pattern> patterns = readSource(sourcePath);
    if (patterns.empty())
        throw ESourceError(sourcePath + " describes no patterns");
    const std::filesystem::path folder = outDir / "ILLUST" / "DecoLine";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    std::map<std::string, int> seen;
    for (const Pattern& pattern : patterns) {
        if (seen.count(pattern.name))
            fail(pattern.line, "pattern " + pattern.name + " appears twice");
        seen[pattern.name] = pattern.line;
        const std::filesystem::path file = folder / (pattern.name + ".png");
        if (!render(pattern).save(QString::fromStdString(file.string()), "PNG"))
            throw ESourceError("cannot write " + file.string());
    }
    return 0;
}

}  // namespace

int main(int argc, char* argv[])
{
    if (argc != 3) {
        std::cerr << "usage: orvella-decoline-generator OUT_DIR PATTERN_SOURCE\n";
        return 2;
    }
    try {
        return generate(argv[1], argv[2]);
    } catch (const std::exception& error) {
        std::cerr << "orvella-decoline-generator: " << argv[2] << ": " << error.what() << '\n';
        return 1;
    }
}
