#include "formats/property_table.h"

#include "objects/lo_deco_line.h"

#include "frame/required_file.h"
#include "graphics/canvas.h"
#include "graphics/bitmap_rotate.h"
#include "graphics/graphic.h"
#include "objects/widened_path.h"

#include <algorithm>
#include <cmath>

namespace orvella {

namespace {

// Logical units are taken as pixels for the strip; a longer strip than this
// is not drawn, so that a damaged document cannot ask for gigabytes.
constexpr int64_t kMaxDecoStripPixels = int64_t(64) << 20;

// The band is a little wider than the line, so that no edge pixel is lost.
constexpr int32_t kDecoBandMargin = 4;

// Pattern pixels are taken at this many per inch.
constexpr int32_t kPatternPixelsPerInch = 180;
constexpr int32_t kCopiesOfNewLine = 6;

}  // namespace

const TClassInfo& TLODecoLine::StaticClassInfo()
{
    static const TClassInfo info = DeclareClass<TLODecoLine, TLOLine>("TLODecoLine", {
        ObjectProperty("Image", &TLODecoLine::image_),
    });
    return info;
}

TLODecoLine::TLODecoLine()
{
    image_.OnChange = [this] {
        forgetRendering();
        ChangedAndRepaint();
    };
}

TLODecoLine::~TLODecoLine() { image_.OnChange = nullptr; }

void TLODecoLine::forgetRendering()
{
    rendered_.SetSize(0, 0, TPixelFormat::pf32bit);
    offset_ = {};
    masked_.Invalidate();
}

void TLODecoLine::SetStartPoint(int32_t x, int32_t y)
{
    if (StartPoint() == TPoint{x, y})
        return;
    forgetRendering();
    TLOLine::SetStartPoint(x, y);
}

void TLODecoLine::SetEndPoint(int32_t x, int32_t y)
{
    if (EndPoint() == TPoint{x, y})
        return;
    forgetRendering();
    TLOLine::SetEndPoint(x, y);
}

void TLODecoLine::SetLineWidth(int32_t width)
{
    width = std::max(width, 1);
    if (width == LineWidth())
        return;
    forgetRendering();
    TLOLine::SetLineWidth(width);
}

int32_t TLODecoLine::CopyCount(int32_t stripWidth, int32_t stripHeight, int32_t patternWidth, int32_t patternHeight)
{
    const int64_t across = int64_t(patternWidth) * stripHeight;
    if (across <= 0)
        return 1;
    return int32_t(std::clamp<int64_t>(int64_t(stripWidth) * patternHeight / across, 1, stripWidth > 0 ? stripWidth : 1));
}

std::vector<TPoint> TLODecoLine::BandCorners() const
{
    const TPoint s = StartPoint();
    const TPoint e = EndPoint();
    const long double dx = (long double)e.x - s.x, dy = (long double)e.y - s.y;
    const long double length = std::sqrt(dx * dx + dy * dy);
    const long double half = (LineWidth() + kDecoBandMargin) / 2.0L;
    // Left of the direction (dx, dy) with y growing downward is (dy, -dx).
    long double lx = 0, ly = -half;
    if (length > 0) {
        lx = dy / length * half;
        ly = -dx / length * half;
    }
    return {{ClampedCoordinate(s.x + lx), ClampedCoordinate(s.y + ly)},
            {ClampedCoordinate(s.x - lx), ClampedCoordinate(s.y - ly)},
            {ClampedCoordinate(e.x - lx), ClampedCoordinate(e.y - ly)},
            {ClampedCoordinate(e.x + lx), ClampedCoordinate(e.y + ly)}};
}

bool TLODecoLine::render()
{
    if (image_.Empty())
        return false;
    const TPoint s = StartPoint();
    const TPoint e = EndPoint();
    const long double dx = (long double)e.x - s.x, dy = (long double)e.y - s.y;
    const long double length = std::round(std::sqrt(dx * dx + dy * dy));
    const int32_t height = LineWidth();
    if (length < 1 || height < 1 || length * height > kMaxDecoStripPixels)
        return false;
    const auto width = int32_t(length);

    // One copy of the pattern, its see-through parts in the band's background.
    const TGraphic& pattern = *image_.Graphic();
    TBitmap tile(pattern.Width(), pattern.Height(), TPixelFormat::pf32bit);
    tile.Canvas().Brush() = TBrush{kDecoLineBackground, TBrushStyle::bsSolid};
    tile.Canvas().FillRect({0, 0, tile.Width(), tile.Height()});
    pattern.Draw(tile.Canvas(), {0, 0, tile.Width(), tile.Height()});

    TBitmap strip(width, height, TPixelFormat::pf32bit);
    TCanvas& canvas = strip.Canvas();
    canvas.SetStretchBltMode(COLORONCOLOR);
    const int32_t n = CopyCount(width, height, pattern.Width(), pattern.Height());
    int32_t x = 0;
    for (int32_t k = 1; k <= n; ++k) {
        const int32_t next = MulDiv(width, k, n);
        canvas.StretchBlt(x, 0, next - x, height, tile.Canvas(), 0, 0, tile.Width(), tile.Height(), SRCCOPY);
        x = next;
    }

    const std::vector<TPoint> p = BandCorners();
    int64_t minX = p[0].x, maxX = p[0].x, minY = p[0].y, maxY = p[0].y;
    for (const TPoint& corner : p) {
        minX = std::min<int64_t>(minX, corner.x), maxX = std::max<int64_t>(maxX, corner.x);
        minY = std::min<int64_t>(minY, corner.y), maxY = std::max<int64_t>(maxY, corner.y);
    }
    if ((maxX - minX + 1) * (maxY - minY + 1) > 4 * kMaxDecoStripPixels)
        return false;
    // The strip's top-left goes to P0, top-right to P3, bottom-right to P2
    // and bottom-left to P1.
    const TRect box = MapBitmapToQuad(rendered_, p[0], p[3], p[2], p[1], strip, {0, 0, width, height},
                                      kDecoLineBackground);
    if (box.IsEmpty())
        return false;
    const TRect span = GetRect();
    offset_ = {span.Left - box.Left, span.Top - box.Top, box.Right - span.Right, box.Bottom - span.Bottom};
    masked_.Invalidate();
    return true;
}

void TLODecoLine::Paint(TCanvas& canvas)
{
    if (rendered_.Width() == 0 && !render())
        return;
    const TRect span = GetRect();
    const TRect target{span.Left - offset_.Left, span.Top - offset_.Top, span.Right + offset_.Right,
                       span.Bottom + offset_.Bottom};
    DrawMasked(canvas, target, masked_.Image(rendered_, kDecoLineBackground),
               masked_.Mask(rendered_, kDecoLineBackground));
}

void TLODecoLine::DrawOutline(TCanvas& canvas)
{
    const std::vector<TPoint> p = BandCorners();
    canvas.Polyline({p[0], p[1], p[2], p[3], p[0]});
}

void TLODecoLine::ChoosePattern(const std::filesystem::path& file)
{
    TPictureEx picture;
    picture.LoadFromFile(file.string());
    BeginUpdate();
    try {
        SetImage(picture);
        if (!Parent() && !picture.Empty()) {
            SetStartPoint(0, 0);
            SetEndPoint(kCopiesOfNewLine * MulDiv(picture.Width(), 254, kPatternPixelsPerInch), 0);
            SetLineWidth(MulDiv(picture.Height(), 254, kPatternPixelsPerInch));
        }
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TLODecoLine::Assign(const TDrawObject& source)
{
    if (&source == this)
        return;
    BeginUpdate();
    try {
        TLOLine::Assign(source);
        if (const auto* line = dynamic_cast<const TLODecoLine*>(&source)) {
            image_.Assign(line->image_);
            // The copy shows the same strip without laying it out again.
            if (line->rendered_.Width() > 0) {
                rendered_.SetSize(line->rendered_.Width(), line->rendered_.Height(), line->rendered_.PixelFormat());
                std::copy_n(line->rendered_.Row(0), line->rendered_.ByteCount(), rendered_.Bits());
                offset_ = line->offset_;
                masked_.Invalidate();
            }
        }
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

std::vector<std::filesystem::path> DecoLinePatternFiles()
{
    std::vector<std::filesystem::path> files;
    const std::filesystem::path folder = FindRequiredFile(kDecoLineFolder, kDecoLineDisplayName);
    if (folder.empty())
        return files;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error))
        if (entry.is_regular_file(error))
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

}  // namespace orvella
