#include "paper/face_shape.h"

namespace orvella {

namespace {

constexpr const char* kFaceShapeIdents[] = {"fsRect", "fsDoughnut", "fsEllipse", "fsRoundRect", "fsRectCD", "fsBarrelCD"};
constexpr const char* kCenterShapeIdents[] = {"csEllipse", "csBarrel"};
constexpr const char* kFaceShapeNames[] = {"角ラベル", "CDラベル", "丸ラベル", "角丸ラベル", "名刺CDラベル", "樽CDラベル"};

}  // namespace

std::span<const char* const> FaceShapeIdents() noexcept { return kFaceShapeIdents; }
std::span<const char* const> CenterShapeIdents() noexcept { return kCenterShapeIdents; }

std::string GetFaceShapeNames()
{
    std::string names;
    for (const char* name : kFaceShapeNames) {
        if (!names.empty())
            names += ',';
        names += name;
    }
    return names;
}

std::string FaceShapeName(TFaceShape shape) { return kFaceShapeNames[ClampFaceShape(shape)]; }

bool ShapeHasCenterHole(TFaceShape shape) noexcept
{
    return shape == fsDoughnut || shape == fsRectCD || shape == fsBarrelCD;
}

bool ShapeHasRoundCorners(TFaceShape shape) noexcept { return shape == fsRoundRect || shape == fsRectCD; }

TFaceShape ClampFaceShape(int64_t value) noexcept
{
    return value >= 0 && value < kFaceShapeCount ? TFaceShape(value) : fsRect;
}

TCenterShape ClampCenterShape(int64_t value) noexcept { return value == csBarrel ? csBarrel : csEllipse; }

std::optional<TLegacyFaceType> LegacyFaceType(int32_t code) noexcept
{
    switch (code) {
    case 0: return TLegacyFaceType{fsRect, ""};
    case 1: return TLegacyFaceType{fsDoughnut, "CD"};
    case 2: return TLegacyFaceType{fsRect, "CDCover"};
    case 3: return TLegacyFaceType{fsRect, "CDCaseTray"};
    case 4:
    case 5: return TLegacyFaceType{fsRect, "MOSquare"};
    case 6: return TLegacyFaceType{fsEllipse, ""};
    case 7: return TLegacyFaceType{fsRoundRect, ""};
    default: return std::nullopt;
    }
}

}  // namespace orvella
