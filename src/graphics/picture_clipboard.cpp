#include "graphics/picture_clipboard.h"

#include "graphics/encoded_images.h"
#include "graphics/picture_error.h"
#include "graphics/picture_ex.h"
#include "graphics/safety_bitmap.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>

#include <cstring>

namespace orvella {

namespace {

// No picture the program can hold needs more; larger payloads are refused
// before a reader looks at them.
constexpr qsizetype kMaxClipPictureBytes = qsizetype(kMaxPicturePixels) * 4 + 4096;

}  // namespace

TClipPictureKind ClipPictureKind(const QString& format)
{
    const QString name = format.trimmed().toLower();
    if (name == QLatin1String("image/bmp") || name == QLatin1String("image/x-bmp") ||
        name == QLatin1String("image/x-ms-bmp") || name == QLatin1String("image/x-win-bitmap"))
        return TClipPictureKind::Bitmap;
    if (name == QLatin1String("image/x-dib") ||
        name == QLatin1String("application/x-qt-windows-mime;value=\"deviceindependentbitmap\""))
        return TClipPictureKind::Dib;
    if (name == QLatin1String("image/emf") || name == QLatin1String("image/x-emf") ||
        name == QLatin1String("application/x-qt-windows-mime;value=\"enhanced metafile\""))
        return TClipPictureKind::EnhancedMetafile;
    if (name == QLatin1String("application/x-qt-image"))
        return TClipPictureKind::QtImage;
    if (name == QLatin1String("image/png") || name == QLatin1String("image/jpeg") ||
        name == QLatin1String("image/gif"))
        return TClipPictureKind::Encoded;
    return TClipPictureKind::None;
}

int FirstPictureFormat(const QStringList& formats)
{
    for (int i = 0; i < formats.size(); ++i)
        if (ClipPictureKind(formats[i]) != TClipPictureKind::None)
            return i;
    return -1;
}

void AssignClipPicture(TPictureEx& picture, TClipPictureKind kind, std::string_view bytes)
{
    if (bytes.size() > std::size_t(kMaxClipPictureBytes))
        throw EInvalidGraphic("クリップボードの画像が大きすぎます");
    switch (kind) {
    case TClipPictureKind::Bitmap:
    case TClipPictureKind::Dib: {
        auto bitmap = std::make_unique<TSafetyBitmap>();
        // Some programs offer a bare DIB under the bitmap name.
        if (kind == TClipPictureKind::Bitmap && bytes.substr(0, 2) == "BM")
            bitmap->LoadFromBytes(bytes);
        else
            bitmap->LoadFromDib(bytes);
        picture.SetGraphic(std::move(bitmap));
        return;
    }
    case TClipPictureKind::EnhancedMetafile: {
        auto metafile = std::make_unique<TMetafile>();
        metafile->LoadFromBytes(bytes);
        if (!metafile->Enhanced())
            throw EInvalidGraphic("不正なメタファイルです: 拡張メタファイルではありません");
        picture.SetGraphic(std::move(metafile));
        return;
    }
    case TClipPictureKind::Encoded:
        // Read by the bytes' own signature, whatever the format's name claims.
        picture.SetGraphic(ReadGraphic(bytes));
        return;
    case TClipPictureKind::QtImage:
    case TClipPictureKind::None: break;
    }
    throw EInvalidGraphic("クリップボードの形式が画像ではありません");
}

void AssignClipImage(TPictureEx& picture, const QImage& image)
{
    if (image.isNull())
        throw EInvalidGraphic("クリップボードの画像が空です");
    CheckPictureSize(image.width(), image.height(), "クリップボードの画像");
    const QImage rgb = image.convertToFormat(QImage::Format_BGR888);
    TBitmap pixels(rgb.width(), rgb.height(), TPixelFormat::pf24bit);
    for (int32_t y = 0; y < pixels.Height(); ++y)
        std::memcpy(pixels.Row(y), rgb.constScanLine(y), std::size_t(pixels.Width()) * 3);
    auto bitmap = std::make_unique<TSafetyBitmap>();
    bitmap->Assign(pixels);
    picture.SetGraphic(std::move(bitmap));
}

bool AssignPictureFromMime(TPictureEx& picture, const QMimeData& data)
{
    const QStringList formats = data.formats();
    const int index = FirstPictureFormat(formats);
    if (index < 0)
        return false;
    const TClipPictureKind kind = ClipPictureKind(formats[index]);
    if (kind == TClipPictureKind::QtImage) {
        AssignClipImage(picture, qvariant_cast<QImage>(data.imageData()));
        return true;
    }
    const QByteArray bytes = data.data(formats[index]);
    AssignClipPicture(picture, kind, std::string_view(bytes.constData(), std::size_t(bytes.size())));
    return true;
}

bool AssignPictureFromClipboard(TPictureEx& picture)
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data && AssignPictureFromMime(picture, *data);
}

}  // namespace orvella
