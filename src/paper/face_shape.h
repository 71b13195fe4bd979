#pragma once
// The outlines a face may have, the hole shapes, and the legacy face type
// codes that older catalogs store instead of a shape and a purpose.

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace orvella {

enum TFaceShape : uint8_t {
    fsRect = 0,
    fsDoughnut = 1,
    fsEllipse = 2,
    fsRoundRect = 3,
    fsRectCD = 4,
    fsBarrelCD = 5,
};
constexpr int kFaceShapeCount = 6;

enum TCenterShape : uint8_t {
    csEllipse = 0,
    csBarrel = 1,
};

// A set of face shapes: bit n stands for the shape of value n.
using TFaceShapes = uint32_t;
constexpr TFaceShapes FaceShapeBit(TFaceShape shape) { return TFaceShapes(1) << shape; }

// The stored identifiers ("fsRect", ...; "csEllipse", "csBarrel").
std::span<const char* const> FaceShapeIdents() noexcept;
std::span<const char* const> CenterShapeIdents() noexcept;

// The six display names in value order, separated by commas.
std::string GetFaceShapeNames();
// The display name of one shape ("CDラベル").
std::string FaceShapeName(TFaceShape shape);

bool ShapeHasCenterHole(TFaceShape shape) noexcept;
bool ShapeHasRoundCorners(TFaceShape shape) noexcept;

// A stored shape or hole shape may be any number; out-of-range values read
// as the plain shape so that no caller ever indexes past a table.
TFaceShape ClampFaceShape(int64_t value) noexcept;
TCenterShape ClampCenterShape(int64_t value) noexcept;

struct TLegacyFaceType {
    TFaceShape Shape;
    const char* Purpose;
};
// The shape and purpose a legacy "FaceType" code stands for; nothing for an
// unknown code, which leaves shape and purpose as they were.
std::optional<TLegacyFaceType> LegacyFaceType(int32_t code) noexcept;

}  // namespace orvella
