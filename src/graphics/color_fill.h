#pragma once
// How a fillable thing is filled: a solid colour with a hatch, a picture
// stretched or tiled, or a gradient of several colours. Owned by the object
// that publishes it; assigning copies.

#include "formats/component.h"
#include "formats/persistent.h"
#include "graphics/canvas_tools.h"
#include "graphics/change_notify.h"
#include "graphics/grad_fill.h"
#include "graphics/gradation_colors.h"
#include "graphics/image_data.h"

#include <functional>
#include <memory>

namespace orvella {

class TCanvas;

enum class TColorSpecKind : uint8_t { cskSolid, cskBitmap, cskGradation };

// The direction model of older documents, mapped onto kind and angle.
enum class TGradDir : uint8_t {
    rgdLeftToRight,
    rgdRightToLeft,
    rgdTopToBottom,
    rgdBottomToTop,
    rgdLeftTopToRightBottom,
    rgdRightTopToLeftBottom,
    rgdRightBottomToLeftTop,
    rgdLeftBottomToRightTop,
    rgdCenterToRim,
    rgdRimToCenter
};

class TColorSpec : public TPersistent {
    ORVELLA_PERSISTENT(TColorSpec)

public:
    TColorSpec();
    ~TColorSpec() override;

    TColor Color() const { return color_; }
    void SetColor(TColor color);
    TBrushStyle Style() const { return style_; }
    void SetStyle(TBrushStyle style);
    bool Tile() const { return tile_; }
    void SetTile(bool tile);
    // Reads cskSolid while a picture fill has no picture.
    TColorSpecKind Kind() const;
    void SetKind(TColorSpecKind kind);
    bool TileShift() const { return tileShift_; }
    void SetTileShift(bool shift);
    TImageData& ImageData() { return imageData_; }
    const TImageData& ImageData() const { return imageData_; }
    int32_t GradAngle() const { return gradAngle_; }
    void SetGradAngle(int32_t angle);
    TGradKind GradKind() const { return gradKind_; }
    void SetGradKind(TGradKind kind);
    TGradationColors& GradColors() { return gradColors_; }
    const TGradationColors& GradColors() const { return gradColors_; }

    // The picture as a bitmap; assigning an empty bitmap to an empty picture
    // does nothing, anything else replaces the picture.
    void SetBitmap(const TBitmap& bitmap);

    // Older documents' direction, colour count and stops.
    TGradDir GradDir() const;
    void SetGradDir(TGradDir direction);
    int32_t GradColNum() const { return gradColors_.Count(); }
    void SetGradColNum(int32_t count) { gradColors_.SetCount(count); }
    TColor GradColor(int32_t index) const;
    // Ignored for an index at or beyond the current count.
    void SetGradColor(int32_t index, TColor color);

    void Assign(const TColorSpec& source);

    // Fills r (logical units of a prepared canvas); the canvas's pen, brush,
    // font and copy mode are restored afterwards. invert combines the fill
    // with the canvas by XOR.
    void Fill(TCanvas& canvas, const TRect& r, bool invert = false);
    // A grey checker board under the fill; a tiled picture is shown scaled.
    void DrawPreview(TCanvas& canvas, const TRect& r);
    // A solid, unhatched colour the canvas's device shows exactly.
    bool IsPureColor(TCanvas& canvas) const;

    TChangeNotify& Notifier() { return notifier_; }
    // Raised after every change.
    std::function<void()> OnChange;

private:
    class TBitmapFiler;

    void changed() { notifier_.Changed(); }
    void fillGradient(TCanvas& canvas, const TRect& r);
    void fillPicture(TCanvas& canvas, const TRect& r, bool tile, bool tileShift, int32_t scaleTo);

    TColor color_ = 0;
    TBrushStyle style_ = TBrushStyle::bsSolid;
    bool tile_ = false;
    TColorSpecKind kind_ = TColorSpecKind::cskSolid;
    bool tileShift_ = false;
    TImageData imageData_;
    int32_t gradAngle_ = 270;
    TGradKind gradKind_ = TGradKind::rgkSimple;
    TGradationColors gradColors_;
    TChangeNotify notifier_{this};
    // What a stored "Bitmap.Data" entry of an older writer reads into.
    std::unique_ptr<TBitmapFiler> bitmapFiler_;
    // Declared last: they leave what they listen to before it goes.
    TListener colorsListener_;
    TListener imageListener_;
};

// Streams a colour fill on its own (the history's entries).
class TColorSpecWrapper : public TComponent {
    ORVELLA_PERSISTENT(TColorSpecWrapper)

public:
    TColorSpec& ColorSpec() { return colorSpec_; }

private:
    TColorSpec colorSpec_;
};

}  // namespace orvella
