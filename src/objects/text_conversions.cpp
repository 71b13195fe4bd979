#include "objects/text_conversions.h"

namespace orvella {

QString HanToZenConvert(const QString& text, QChar) { return text; }
QString NumToKnjConvert(const QString& text) { return text; }

}  // namespace orvella
