// orvella-icon-generator SOURCE OUTDIR NAME
// Draws the program's icon from its shape list (data/icon/orvella.icon) into
// the hicolor layout: OUTDIR/hicolor/NxN/apps/NAME.png for every size the
// desktop asks for, and OUTDIR/hicolor/scalable/apps/NAME.svg.

#include <QBuffer>
#include <QColor>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QSaveFile>
#include <QTextStream>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr double kGrid = 256.0;
constexpr int kSizes[] = {16, 32, 48, 64, 128, 256};

struct Fill {
    QColor from;
    std::optional<QColor> to;  // a linear gradient when set
    QPointF start, end;
};

struct Shape {
    enum class Kind { Circle, Rect, Hole } kind = Kind::Circle;
    double x = 0, y = 0, w = 0, h = 0, radius = 0;  // circle: centre (x, y) and radius
    Fill fill;
    std::optional<QColor> stroke;
    double strokeWidth = 0;
    std::optional<QRectF> clip;  // the bounding square of a clipping circle
    int minSize = 0;
};

[[noreturn]] void fail(int line, const QString& what)
{
    throw std::runtime_error(QStringLiteral("line %1: %2").arg(line).arg(what).toStdString());
}

QColor colour(const QString& text, int line)
{
    const QColor c(text);
    if (!text.startsWith('#') || text.size() != 7 || !c.isValid())
        fail(line, "not a colour #RRGGBB: " + text);
    return c;
}

double number(const QString& text, int line)
{
    bool ok = false;
    const double value = text.toDouble(&ok);
    if (!ok)
        fail(line, "not a number: " + text);
    return value;
}

Fill parseFill(const QString& text, int line)
{
    Fill fill;
    if (!text.startsWith("linear(")) {
        fill.from = colour(text, line);
        return fill;
    }
    if (!text.endsWith(')'))
        fail(line, "unclosed gradient");
    const QStringList parts = text.mid(7, text.size() - 8).split(',');
    if (parts.size() != 6)
        fail(line, "a gradient has two points, each X,Y,#RRGGBB");
    fill.start = {number(parts[0], line), number(parts[1], line)};
    fill.from = colour(parts[2], line);
    fill.end = {number(parts[3], line), number(parts[4], line)};
    fill.to = colour(parts[5], line);
    return fill;
}

std::vector<Shape> parse(const QString& fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        throw std::runtime_error("cannot read " + fileName.toStdString());
    std::vector<Shape> shapes;
    int line = 0;
    QTextStream in(&file);
    while (!in.atEnd()) {
        ++line;
        const QString text = in.readLine();
        if (text.trimmed().startsWith('#') || text.trimmed().isEmpty())
            continue;
        const QStringList words = text.simplified().split(' ');
        Shape shape;
        std::size_t at = 0;
        auto need = [&](qsizetype count) {
            if (qsizetype(at) + count > words.size())
                fail(line, "too few values");
        };
        const QString kind = words[qsizetype(at++)];
        if (kind == "circle" || kind == "hole") {
            need(3);
            shape.kind = kind == "circle" ? Shape::Kind::Circle : Shape::Kind::Hole;
            shape.x = number(words[qsizetype(at)], line);
            shape.y = number(words[qsizetype(at + 1)], line);
            shape.radius = number(words[qsizetype(at + 2)], line);
            at += 3;
            if (kind == "circle") {
                need(1);
                shape.fill = parseFill(words[qsizetype(at++)], line);
            }
        } else if (kind == "rect") {
            need(6);
            shape.kind = Shape::Kind::Rect;
            shape.x = number(words[qsizetype(at)], line);
            shape.y = number(words[qsizetype(at + 1)], line);
            shape.w = number(words[qsizetype(at + 2)], line);
            shape.h = number(words[qsizetype(at + 3)], line);
            shape.radius = number(words[qsizetype(at + 4)], line);
            shape.fill = parseFill(words[qsizetype(at + 5)], line);
            at += 6;
        } else {
            fail(line, "unknown shape " + kind);
        }
        while (qsizetype(at) < words.size()) {
            const QString option = words[qsizetype(at++)];
            if (option == "stroke") {
                need(2);
                shape.stroke = colour(words[qsizetype(at)], line);
                shape.strokeWidth = number(words[qsizetype(at + 1)], line);
                at += 2;
            } else if (option == "clip") {
                need(3);
                const double cx = number(words[qsizetype(at)], line), cy = number(words[qsizetype(at + 1)], line),
                             r = number(words[qsizetype(at + 2)], line);
                shape.clip = QRectF(cx - r, cy - r, 2 * r, 2 * r);
                at += 3;
            } else if (option == "min") {
                need(1);
                shape.minSize = int(number(words[qsizetype(at++)], line));
            } else {
                fail(line, "unknown option " + option);
            }
        }
        shapes.push_back(shape);
    }
    return shapes;
}

QRectF bounds(const Shape& shape)
{
    if (shape.kind == Shape::Kind::Rect)
        return {shape.x, shape.y, shape.w, shape.h};
    return {shape.x - shape.radius, shape.y - shape.radius, 2 * shape.radius, 2 * shape.radius};
}

QBrush brush(const Fill& fill)
{
    if (!fill.to)
        return fill.from;
    QLinearGradient gradient(fill.start, fill.end);
    gradient.setColorAt(0, fill.from);
    gradient.setColorAt(1, *fill.to);
    return gradient;
}

QImage paint(const std::vector<Shape>& shapes, int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / kGrid, size / kGrid);
    for (const Shape& shape : shapes) {
        if (size < shape.minSize)
            continue;
        painter.save();
        if (shape.clip) {
            QPainterPath clip;
            clip.addEllipse(*shape.clip);
            painter.setClipPath(clip);
        }
        if (shape.kind == Shape::Kind::Hole) {
            painter.setCompositionMode(QPainter::CompositionMode_Clear);
            painter.setPen(Qt::NoPen);
            painter.setBrush(Qt::black);
            painter.drawEllipse(bounds(shape));
        } else {
            // Strokes keep at least one pixel at the small sizes.
            const double width = std::max(shape.strokeWidth, kGrid / size);
            painter.setPen(shape.stroke ? QPen(*shape.stroke, width) : QPen(Qt::NoPen));
            painter.setBrush(brush(shape.fill));
            const QRectF r = shape.stroke ? bounds(shape).adjusted(width / 2, width / 2, -width / 2, -width / 2)
                                          : bounds(shape);
            if (shape.kind == Shape::Kind::Rect)
                painter.drawRoundedRect(r, shape.radius, shape.radius);
            else
                painter.drawEllipse(r);
        }
        painter.restore();
    }
    return image;
}

QString svgColour(const QColor& c) { return c.name(QColor::HexRgb); }

QString svg(const std::vector<Shape>& shapes)
{
    QString defs, body;
    int gradients = 0, clips = 0, holes = 0;
    QString masks;
    for (const Shape& shape : shapes) {
        if (shape.kind == Shape::Kind::Hole) {
            masks += QStringLiteral("<circle cx=\"%1\" cy=\"%2\" r=\"%3\" fill=\"black\"/>")
                         .arg(shape.x)
                         .arg(shape.y)
                         .arg(shape.radius);
            ++holes;
            continue;
        }
        QString fill = svgColour(shape.fill.from);
        if (shape.fill.to) {
            const QString id = QStringLiteral("g%1").arg(++gradients);
            defs += QStringLiteral("<linearGradient id=\"%1\" gradientUnits=\"userSpaceOnUse\" x1=\"%2\" y1=\"%3\" "
                                   "x2=\"%4\" y2=\"%5\"><stop offset=\"0\" stop-color=\"%6\"/>"
                                   "<stop offset=\"1\" stop-color=\"%7\"/></linearGradient>\n")
                        .arg(id)
                        .arg(shape.fill.start.x())
                        .arg(shape.fill.start.y())
                        .arg(shape.fill.end.x())
                        .arg(shape.fill.end.y())
                        .arg(svgColour(shape.fill.from), svgColour(*shape.fill.to));
            fill = "url(#" + id + ")";
        }
        QString attributes = QStringLiteral(" fill=\"%1\"").arg(fill);
        const double inset = shape.stroke ? shape.strokeWidth / 2 : 0;
        if (shape.stroke)
            attributes += QStringLiteral(" stroke=\"%1\" stroke-width=\"%2\"").arg(svgColour(*shape.stroke)).arg(shape.strokeWidth);
        if (shape.clip) {
            const QString id = QStringLiteral("c%1").arg(++clips);
            defs += QStringLiteral("<clipPath id=\"%1\"><circle cx=\"%2\" cy=\"%3\" r=\"%4\"/></clipPath>\n")
                        .arg(id)
                        .arg(shape.clip->center().x())
                        .arg(shape.clip->center().y())
                        .arg(shape.clip->width() / 2);
            attributes += " clip-path=\"url(#" + id + ")\"";
        }
        if (shape.kind == Shape::Kind::Rect)
            body += QStringLiteral("  <rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\" rx=\"%5\"%6/>\n")
                        .arg(shape.x)
                        .arg(shape.y)
                        .arg(shape.w)
                        .arg(shape.h)
                        .arg(shape.radius)
                        .arg(attributes);
        else
            body += QStringLiteral("  <circle cx=\"%1\" cy=\"%2\" r=\"%3\"%4/>\n")
                        .arg(shape.x)
                        .arg(shape.y)
                        .arg(shape.radius - inset)
                        .arg(attributes);
    }
    QString group = "<g>\n" + body + "</g>\n";
    if (holes) {
        defs += "<mask id=\"holes\"><rect width=\"256\" height=\"256\" fill=\"white\"/>" + masks + "</mask>\n";
        group = "<g mask=\"url(#holes)\">\n" + body + "</g>\n";
    }
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\" viewBox=\"0 0 256 256\">\n"
           "<defs>\n" +
           defs + "</defs>\n" + group + "</svg>\n";
}

void save(const QString& fileName, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(fileName).path());
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw std::runtime_error("cannot write " + fileName.toStdString());
}

}  // namespace

int main(int argc, char** argv)
{
    // Shapes and gradients on a QImage need no application object, and so
    // no display and no runtime folder.
    if (argc != 4) {
        std::fprintf(stderr, "usage: orvella-icon-generator SOURCE OUTDIR NAME\n");
        return 2;
    }
    try {
        const std::vector<Shape> shapes = parse(QString::fromLocal8Bit(argv[1]));
        const QString out = QString::fromLocal8Bit(argv[2]) + "/hicolor/";
        const QString name = QString::fromLocal8Bit(argv[3]);
        for (int size : kSizes) {
            QByteArray png;
            QBuffer buffer(&png);
            buffer.open(QIODevice::WriteOnly);
            paint(shapes, size).save(&buffer, "PNG");
            save(QStringLiteral("%1%2x%2/apps/%3.png").arg(out).arg(size).arg(name), png);
        }
        save(out + "scalable/apps/" + name + ".svg", svg(shapes).toUtf8());
    } catch (const std::exception& error) {
        std::fprintf(stderr, "orvella-icon-generator: %s: %s\n", argv[1], error.what());
        return 1;
    }
    return 0;
}
