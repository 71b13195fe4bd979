#include "graphics/color_fill.h"

#include "formats/byte_reader.h"
#include "formats/ident_tables.h"
#include "formats/property_table.h"
#include "graphics/bitmap_resample.h"
#include "graphics/canvas.h"
#include "graphics/canvas_guards.h"
#include "graphics/rect_utils.h"
#include "graphics/safety_bitmap.h"
#include "graphics/scaler.h"
#include "graphics/system_colors.h"

#include <algorithm>

namespace orvella {

namespace {

const char* const kBrushStyleNames[] = {"bsSolid",     "bsClear",     "bsHorizontal", "bsVertical",
                                        "bsFDiagonal", "bsBDiagonal", "bsCross",      "bsDiagCross"};
const char* const kKindNames[] = {"cskSolid", "cskBitmap", "cskGradation"};
const char* const kGradKindNames[] = {"rgkSimple",         "rgkBoxToRim",      "rgkBoxToCenter",
                                      "rgkCircleToRim",    "rgkCircleToCenter", "rgkConeClockwise",
                                      "rgkConeCounterClockwise"};
const char* const kGradDirNames[] = {"rgdLeftToRight",          "rgdRightToLeft",          "rgdTopToBottom",
                                     "rgdBottomToTop",          "rgdLeftTopToRightBottom", "rgdRightTopToLeftBottom",
                                     "rgdRightBottomToLeftTop", "rgdLeftBottomToRightTop", "rgdCenterToRim",
                                     "rgdRimToCenter"};

// The angles of the eight straight directions, in their order.
constexpr int32_t kDirectionAngles[] = {270, 90, 0, 180, 315, 45, 135, 225};

constexpr TColor kPreviewGrey = 8421504;

// The render target and the printing scratch bitmap, shared by every
// gradient fill: gradients are drawn on the user-interface thread only.
TBitmap& gradientTarget()
{
    static TBitmap bitmap;
    return bitmap;
}

TBitmap& gradientScratch()
{
    static TBitmap bitmap;
    return bitmap;
}

}  // namespace

// The bitmap of a colour fill as a stored object: a bitmap's stored form is its
// "Data" entry, the 32-bit size and the bitmap file. Never written; a
// reader assigns what it holds to the colour fill.
class TColorSpec::TBitmapFiler : public TPersistent {
    ORVELLA_PERSISTENT(TBitmapFiler)

public:
    explicit TBitmapFiler(TColorSpec& colorFill) : colorFill_(colorFill) {}

    void DefineProperties(TFiler& filer) override
    {
        TPersistent::DefineProperties(filer);
        filer.DefineBinaryProperty(
            "Data",
            [this](TByteReader& in) {
                TSafetyBitmap bitmap;
                bitmap.ReadData(in.ReadBytes(in.Remaining()));
                colorFill_.SetBitmap(bitmap.Bitmap());
            },
            [](std::string&) {}, false);
    }

private:
    TColorSpec& colorFill_;
};

const TClassInfo& TColorSpec::TBitmapFiler::StaticClassInfo()
{
    static const TClassInfo info = DeclareClass<TBitmapFiler, TPersistent>("TBitmap", {});
    return info;
}

const TClassInfo& TColorSpec::StaticClassInfo()
{
    auto gradColor = [](const char* name, int index) {
        TPropInfo info;
        info.Name = name;
        info.Kind = TPropKind::Integer;
        info.GetOrdinal = [index](const TPersistent& o) {
            const auto& colorFill = static_cast<const TColorSpec&>(o);
            return std::int64_t(index < colorFill.GradColNum() ? colorFill.GradColor(index) : 0);
        };
        info.SetOrdinal = [index](TPersistent& o, std::int64_t value) {
            static_cast<TColorSpec&>(o).SetGradColor(index, TColor(value));
        };
        info.IdentTable = ColorIdents();
        return std::move(info).NotStored();
    };
    static const TClassInfo info = DeclareClass<TColorSpec, TPersistent>("TColorSpec", {
        IntegerProperty("Color", &TColorSpec::Color, &TColorSpec::SetColor).Idents(ColorIdents()).Default(0),
        EnumProperty("Style", kBrushStyleNames, &TColorSpec::Style, &TColorSpec::SetStyle).Default(0),
        ObjectProperty("Bitmap", &TColorSpec::bitmapFiler_).NotStored(),
        BooleanProperty("Tile", &TColorSpec::Tile, &TColorSpec::SetTile).Default(0),
        EnumProperty("Kind", kKindNames, &TColorSpec::Kind, &TColorSpec::SetKind).Default(0),
        BooleanProperty("TileShift", &TColorSpec::TileShift, &TColorSpec::SetTileShift).Default(0),
        ObjectProperty("ImageData", &TColorSpec::imageData_),
        IntegerProperty("GradAngle", &TColorSpec::GradAngle, &TColorSpec::SetGradAngle).Default(270),
        EnumProperty("GradKind", kGradKindNames, &TColorSpec::GradKind, &TColorSpec::SetGradKind).Default(0),
        ObjectProperty("GradColors", &TColorSpec::gradColors_),
        EnumProperty("GradDir", kGradDirNames, &TColorSpec::GradDir, &TColorSpec::SetGradDir).NotStored(),
        IntegerProperty("GradColNum", &TColorSpec::GradColNum, &TColorSpec::SetGradColNum).NotStored(),
        gradColor("GradColor0", 0), gradColor("GradColor1", 1), gradColor("GradColor2", 2),
        gradColor("GradColor3", 3), gradColor("GradColor4", 4), gradColor("GradColor5", 5),
        gradColor("GradColor6", 6), gradColor("GradColor7", 7),
    });
    return info;
}

TColorSpec::TColorSpec() : bitmapFiler_(std::make_unique<TBitmapFiler>(*this))
{
    notifier_.OnChanged = [this] {
        if (OnChange)
            OnChange();
    };
    colorsListener_.SetHandler([this](TPersistent*, const TGuid& kind) {
        if (kind == ObjectChanged)
            changed();
    });
    colorsListener_.Listen(gradColors_.Notifier());
    imageListener_.SetHandler([this](TPersistent*, const TGuid& kind) {
        if (kind == ObjectChanged)
            changed();
    });
    imageListener_.Listen(imageData_.Notifier());
}

TColorSpec::~TColorSpec() = default;

void TColorSpec::SetColor(TColor color)
{
    if (color == color_)
        return;
    color_ = color;
    changed();
}

void TColorSpec::SetStyle(TBrushStyle style)
{
    if (style == style_)
        return;
    style_ = style;
    changed();
}

void TColorSpec::SetTile(bool tile)
{
    if (tile == tile_)
        return;
    tile_ = tile;
    changed();
}

TColorSpecKind TColorSpec::Kind() const
{
    if (kind_ == TColorSpecKind::cskBitmap && imageData_.Picture().Empty())
        return TColorSpecKind::cskSolid;
    return kind_;
}

void TColorSpec::SetKind(TColorSpecKind kind)
{
    if (kind == kind_)
        return;
    kind_ = kind;
    changed();
}

void TColorSpec::SetTileShift(bool shift)
{
    if (shift == tileShift_)
        return;
    tileShift_ = shift;
    changed();
}

void TColorSpec::SetGradAngle(int32_t angle)
{
    if (angle == gradAngle_)
        return;
    gradAngle_ = angle;
    changed();
}

void TColorSpec::SetGradKind(TGradKind kind)
{
    if (kind == gradKind_)
        return;
    gradKind_ = kind;
    changed();
}

void TColorSpec::SetBitmap(const TBitmap& bitmap)
{
    const bool emptyBitmap = bitmap.Width() == 0 || bitmap.Height() == 0;
    if (emptyBitmap && imageData_.Picture().Empty())
        return;
    if (emptyBitmap) {
        imageData_.Picture().Clear();
        return;
    }
    auto graphic = std::make_unique<TSafetyBitmap>();
    graphic->Assign(bitmap);
    imageData_.Picture().SetGraphic(std::move(graphic));
}

TGradDir TColorSpec::GradDir() const
{
    switch (gradKind_) {
    case TGradKind::rgkBoxToRim: return TGradDir::rgdCenterToRim;
    case TGradKind::rgkBoxToCenter: return TGradDir::rgdRimToCenter;
    case TGradKind::rgkSimple: break;
    default: return TGradDir::rgdLeftToRight;
    }
    for (std::size_t i = 0; i < std::size(kDirectionAngles); ++i)
        if (gradAngle_ == kDirectionAngles[i])
            return TGradDir(i);
    return TGradDir::rgdLeftToRight;
}

void TColorSpec::SetGradDir(TGradDir direction)
{
    notifier_.BeginUpdate();
    if (direction == TGradDir::rgdCenterToRim || direction == TGradDir::rgdRimToCenter) {
        SetGradKind(direction == TGradDir::rgdCenterToRim ? TGradKind::rgkBoxToRim : TGradKind::rgkBoxToCenter);
        SetGradAngle(0);
    } else {
        SetGradKind(TGradKind::rgkSimple);
        SetGradAngle(kDirectionAngles[std::size_t(direction)]);
    }
    notifier_.EndUpdate();
}

TColor TColorSpec::GradColor(int32_t index) const { return gradColors_.Color(index); }

void TColorSpec::SetGradColor(int32_t index, TColor color)
{
    if (index >= 0 && index < gradColors_.Count())
        gradColors_.SetColor(index, color);
}

void TColorSpec::Assign(const TColorSpec& source)
{
    if (&source == this)
        return;
    notifier_.BeginUpdate();
    SetKind(source.Kind());
    SetColor(source.color_);
    SetStyle(source.style_);
    imageData_.Assign(source.imageData_);
    SetTile(source.tile_);
    SetTileShift(source.tileShift_);
    if (Kind() == TColorSpecKind::cskGradation) {
        SetGradAngle(source.gradAngle_);
        SetGradKind(source.gradKind_);
        gradColors_.Assign(source.gradColors_);
    }
    notifier_.EndUpdate();
}

void TColorSpec::Fill(TCanvas& canvas, const TRect& r, bool invert)
{
    const TColorSpecKind kind = Kind();
    if (kind == TColorSpecKind::cskBitmap && imageData_.GetFilteredPicture().Empty())
        return;
    const auto saved = SaveCanvasState(canvas);
    if (invert)
        canvas.SetCopyMode(SRCINVERT);
    switch (kind) {
    case TColorSpecKind::cskGradation:
        fillGradient(canvas, r);
        break;
    case TColorSpecKind::cskBitmap:
        fillPicture(canvas, r, tile_, tileShift_, 0);
        break;
    case TColorSpecKind::cskSolid:
        canvas.Brush() = {ColorToRGB(color_), style_};
        if (invert)
            canvas.PatBlt(r.Left, r.Top, RectWidth(r), RectHeight(r), PATINVERT);
        else
            canvas.FillRect(r);
        break;
    }
}

void TColorSpec::fillGradient(TCanvas& canvas, const TRect& r)
{
    const std::vector<TColor> colors = gradColors_.ExpandColors();
    if (colors.empty())
        return;
    TBitmap& rendered = gradientTarget();
    CreateGradFill(gradKind_, gradAngle_, colors)->Render(rendered);
    const int32_t width = RectWidth(r), height = RectHeight(r);
    if (width <= 0 || height <= 0)
        return;
    if (IsPrintingCanvas(canvas)) {
        // One bitmap pixel per logical unit, smoothed, so that a printed
        // gradient shows no steps.
        TBitmap& scratch = gradientScratch();
        scratch.SetSize(width, height, TPixelFormat::pf24bit);
        ResampleWhole(scratch, rendered, TResampleQuality::Linear);
        canvas.StretchBlt(r.Left, r.Top, width, height, scratch.Canvas(), 0, 0, width, height, canvas.CopyMode());
        return;
    }
    canvas.StretchBlt(r.Left, r.Top, width, height, rendered.Canvas(), 0, 0, kGradMapSize, kGradMapSize,
                      canvas.CopyMode());
}

void TColorSpec::fillPicture(TCanvas& canvas, const TRect& r, bool tile, bool tileShift, int32_t scaleTo)
{
    TPictureEx& picture = imageData_.GetFilteredPicture();
    const TGraphic* graphic = picture.Graphic();
    if (!graphic || graphic->Empty())
        return;
    TBitmap image;
    graphic->RenderTo24(image);
    const bool seeThrough = graphic->HasTransparentParts();
    const auto drawAt = [&](const TRect& place) {
        if (seeThrough)
            graphic->Draw(canvas, place);
        else
            canvas.StretchBlt(place.Left, place.Top, RectWidth(place), RectHeight(place), image.Canvas(), 0, 0,
                              image.Width(), image.Height(), canvas.CopyMode());
    };
    if (!tile) {
        drawAt(r);
        return;
    }
    // Tiles are the picture's pixel size taken as logical units, or for a
    // preview a share of the rectangle with the aspect kept.
    int32_t tileWidth = image.Width(), tileHeight = image.Height();
    if (scaleTo > 0) {
        if (tileWidth > tileHeight) {
            tileHeight = std::max(1, MulDiv(tileHeight, scaleTo, tileWidth));
            tileWidth = scaleTo;
        } else {
            tileWidth = std::max(1, MulDiv(tileWidth, scaleTo, tileHeight));
            tileHeight = scaleTo;
        }
    }
    bool shiftedRow = false;
    for (int32_t y = r.Top; y < r.Bottom; y += tileHeight) {
        const int32_t start = tileShift && shiftedRow ? r.Left - (tileWidth + 1) / 2 : r.Left;
        for (int32_t x = start; x < r.Right; x += tileWidth)
            drawAt({x, y, x + tileWidth, y + tileHeight});
        shiftedRow = !shiftedRow;
    }
}

void TColorSpec::DrawPreview(TCanvas& canvas, const TRect& r)
{
    {
        const auto saved = SaveCanvasState(canvas);
        canvas.Brush() = {clWhite, TBrushStyle::bsSolid};
        canvas.FillRect(r);
        canvas.Brush().Color = kPreviewGrey;
        bool offsetRow = false;
        for (int32_t y = r.Top; y < r.Bottom; y += 8) {
            for (int32_t x = r.Left + (offsetRow ? 8 : 0); x < r.Right; x += 16)
                canvas.FillRect({x, y, std::min(x + 8, r.Right), std::min(y + 8, r.Bottom)});
            offsetRow = !offsetRow;
        }
    }
    if (Kind() == TColorSpecKind::cskBitmap && tile_) {
        TPictureEx& picture = imageData_.GetFilteredPicture();
        if (picture.Empty())
            return;
        // Filling leaves clipping to its caller; a preview stays in its box.
        const auto saved = SaveCanvasState(canvas, true);
        canvas.IntersectClipRect(r);
        const int32_t share = picture.Width() > picture.Height() ? RectWidth(r) : RectHeight(r);
        fillPicture(canvas, r, true, tileShift_, std::max(1, share * 2 / 5));
        return;
    }
    Fill(canvas, r);
}

bool TColorSpec::IsPureColor(TCanvas& canvas) const
{
    if (Kind() != TColorSpecKind::cskSolid || style_ != TBrushStyle::bsSolid)
        return false;
    const TColor color = ColorToRGB(color_);
    TPixelSurface* surface = canvas.CurrentSurface();
    if (!surface || surface->PixelFormat() != TPixelFormat::pf8bit)
        return true;
    return surface->Palette()[surface->NearestIndex(color)] == color;
}

const TClassInfo& TColorSpecWrapper::StaticClassInfo()
{
    static const TClassInfo info = DeclareClass<TColorSpecWrapper, TComponent>("TColorSpecWrapper", {
        ObjectProperty("ColorSpec", &TColorSpecWrapper::colorSpec_),
    });
    return info;
}

}  // namespace orvella
