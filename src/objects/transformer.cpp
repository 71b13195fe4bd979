#include "objects/transformer.h"

#include "formats/property_table.h"
#include "graphics/stroke.h"
#include "platform/win_math.h"

#include <cmath>
#include <numbers>

namespace orvella {

const TClassInfo& TTransformer::StaticClassInfo()
{
    static const TClassInfo info = DeclareClass<TTransformer, TPersistent>("TTransformer", {});
    return info;
}

const TClassInfo& TRotator::StaticClassInfo()
{
    static const TClassInfo info = DeclareClass<TRotator, TTransformer>("TRotator", {});
    return info;
}

void TTransformer::TransformStroke(TStroke& stroke) const
{
    for (int32_t i = 0; i < stroke.Count(); ++i)
        TransformPoint(stroke.Points(i));
}

TRotator::TRotator(int32_t angle, TPoint centre) : centre_(centre)
{
    SetAngle(angle);
}

void TRotator::SetAngle(int32_t angle)
{
    angle_ = angle;
    // Quarter turns are exact, so a turned rectangle keeps its corners on
    // whole units.
    switch (((angle % 360) + 360) % 360) {
    case 0: sin_ = 0; cos_ = 1; return;
    case 90: sin_ = 1; cos_ = 0; return;
    case 180: sin_ = 0; cos_ = -1; return;
    case 270: sin_ = -1; cos_ = 0; return;
    default: break;
    }
    const long double radians = (long double)angle * std::numbers::pi_v<long double> / 180.0L;
    sin_ = std::sin(radians);
    cos_ = std::cos(radians);
}

void TRotator::TransformPoint(TPoint& point) const
{
    const long double dx = (long double)point.x - centre_.x;
    const long double dy = (long double)point.y - centre_.y;
    point.x = Round(dx * cos_ - dy * sin_) + centre_.x;
    point.y = Round(dx * sin_ + dy * cos_) + centre_.y;
}

}  // namespace orvella
