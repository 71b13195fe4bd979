#include "app/image_export.h"

#include "document/label_data.h"
#include "document/sheet_painter.h"
#include "graphics/bitmap.h"
#include "graphics/bmp_codec.h"
#include "graphics/jpeg_codec.h"
#include "platform/atomic_file.h"

#include <stdexcept>

namespace orvella {

namespace {

// 180 and 360 dpi against the screen's 96, as whole percents.
constexpr TImageExportType kTypes[] = {
    {"ビットマップ 画面サイズ (*.bmp)", "bmp", 100, false},
    {"ビットマップ 180dpi (*.bmp)", "bmp", 187, false},
    {"ビットマップ 360dpi (*.bmp)", "bmp", 375, false},
    {"JPEG イメージ  画面サイズ (*.jpg)", "jpg", 100, true},
    {"JPEG イメージ 180dpi (*.jpg)", "jpg", 187, true},
    {"JPEG イメージ 360dpi (*.jpg)", "jpg", 375, true},
};

}  // namespace

std::span<const TImageExportType> ImageExportTypes() { return kTypes; }

QString ImageExportFilter()
{
    QStringList parts;
    for (const TImageExportType& type : kTypes)
        parts << QString::fromUtf8(type.Caption) << QLatin1String("*.") + QLatin1String(type.Ext);
    return parts.join(QLatin1Char('|'));
}

void ExportFaceImage(TLabelData& data, int32_t face, const TImageExportType& type, const QString& fileName)
{
    TBitmap bitmap;
    RenderFace(data, face, type.Scale, bitmap);
    const std::string bytes = type.Jpeg ? EncodeJpeg(bitmap) : WriteBmp(bitmap);
    WriteFileAtomically(fileName.toStdString(), bytes);
}

}  // namespace orvella
