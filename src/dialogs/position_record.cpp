#include "dialogs/position_record.h"

#include "document/label_object.h"
#include "drawing/do_interfaces.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace orvella {

TPositionRecord ReadPositionRecord(TDrawObject& object)
{
    TPositionRecord record;
    record.Lock = !object.Movable();
    if (auto* label = dynamic_cast<TLabelObject*>(&object))
        record.DontPrint = label->DontPrint();
    if (const TIntfRef<IDORotate> rotate = Supports<IDORotate>(&object)) {
        record.HasRotation = true;
        record.Rotation = rotate->GetAngle();
    }
    if (const TIntfRef<IDOAutoSize> autoSize = Supports<IDOAutoSize>(&object)) {
        record.HasAutoSize = true;
        record.AutoSize = autoSize->GetAutoSize();
    }
    if (const TIntfRef<IDOBlend> blend = Supports<IDOBlend>(&object)) {
        record.HasBlend = true;
        record.Blend = blend->GetBlendRatio();
    }
    if (const TIntfRef<IDOPosition> position = Supports<IDOPosition>(&object)) {
        record.Left = position->GetLeft();
        record.Top = position->GetTop();
        record.Width = position->GetWidth();
        record.Height = position->GetHeight();
    }
    return record;
}

void WritePositionRecord(TDrawObject& object, const TPositionRecord& record)
{
    object.SetMovable(!record.Lock);
    if (auto* label = dynamic_cast<TLabelObject*>(&object))
        label->SetDontPrint(record.DontPrint);
    if (const TIntfRef<IDORotate> rotate = Supports<IDORotate>(&object))
        rotate->SetAngle(record.Rotation);
    if (const TIntfRef<IDOPosition> position = Supports<IDOPosition>(&object)) {
        position->SetLeft(record.Left);
        position->SetTop(record.Top);
        position->SetWidth(record.Width);
        position->SetHeight(record.Height);
    }
    if (const TIntfRef<IDOAutoSize> autoSize = Supports<IDOAutoSize>(&object))
        autoSize->SetAutoSize(record.AutoSize);
    if (const TIntfRef<IDOBlend> blend = Supports<IDOBlend>(&object))
        blend->SetBlendRatio(record.Blend);
}

int32_t ReadMillimetres(const QString& text, int32_t minimum, int32_t maximum)
{
    bool ok = false;
    double millimetres = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(millimetres))
        millimetres = 0;
    const double units = std::nearbyint(std::clamp(millimetres * 10.0, double(minimum), double(maximum)));
    return std::clamp(int32_t(units), minimum, maximum);
}

QString ShowMillimetres(int32_t units)
{
    char text[32];
    std::snprintf(text, sizeof text, "%g", double(units) / 10.0);
    return QString::fromLatin1(text);
}

}  // namespace orvella
