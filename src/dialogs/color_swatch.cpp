#include "dialogs/color_swatch.h"

#include "drawing/draw_site.h"
#include "graphics/bitmap.h"
#include "graphics/canvas.h"
#include "graphics/color_fill.h"

#include <QPainter>

namespace orvella {

namespace {
constexpr TColor kFrameGrey = 8421504;
}

QColor ToQColor(TColor color)
{
    const TColor c = ResolveColor(color);
    return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

TColor FromQColor(const QColor& color) { return RGB(uint8_t(color.red()), uint8_t(color.green()), uint8_t(color.blue())); }

QPixmap ColorFillPicture(TColorSpec& colorFill, int width, int height)
{
    TBitmap picture(std::max(1, width), std::max(1, height), TPixelFormat::pf24bit);
    colorFill.DrawPreview(picture.Canvas(), {0, 0, picture.Width(), picture.Height()});
    return QPixmap::fromImage(picture.AsImage().copy());
}

QPixmap SwatchPicture(TColor color, int width, int height)
{
    QPixmap picture(std::max(1, width), std::max(1, height));
    picture.fill(ToQColor(color));
    QPainter painter(&picture);
    painter.setPen(ToQColor(kFrameGrey));
    painter.drawRect(0, 0, picture.width() - 1, picture.height() - 1);
    return picture;
}

}  // namespace orvella
