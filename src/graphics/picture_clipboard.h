#pragma once
// Pictures from the clipboard: the first offered format, in the clipboard's
// own order, that is a bitmap, a device-independent bitmap or an enhanced
// metafile becomes the picture's graphic. The bytes come from other
// programs and are checked like a picture file's.

#include <QStringList>

#include <functional>
#include <string_view>

class QImage;
class QMimeData;

namespace orvella {

class TPictureEx;

// Encoded: a picture file's bytes (PNG, JPEG, GIF), as programs on Linux
// offer pictures.
enum class TClipPictureKind { None, Bitmap, Dib, EnhancedMetafile, QtImage, Encoded };

// What a clipboard format offers, by its MIME name.
TClipPictureKind ClipPictureKind(const QString& format);
// The first format of the list that gives a picture.
int FirstPictureFormat(const QStringList& formats);

// Reads bytes offered under a format of that kind into the picture; raises
// EInvalidGraphic for bytes no reader accepts, leaving the picture as it was.
void AssignClipPicture(TPictureEx& picture, TClipPictureKind kind, std::string_view bytes);
// A Qt image (what Qt offers for pictures copied by Qt programs) as a bitmap.
void AssignClipImage(TPictureEx& picture, const QImage& image);

// From mime data or the system clipboard: false when nothing there is a
// picture. Bad bytes raise EInvalidGraphic.
bool AssignPictureFromMime(TPictureEx& picture, const QMimeData& data);
bool AssignPictureFromClipboard(TPictureEx& picture);

}  // namespace orvella
