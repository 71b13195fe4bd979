#pragma once
// Utilities over drawing objects in logical units. An object takes part when
// it offers IDOEncloseBounds.

#include "graphics/graphics_types.h"

#include <QImage>
#include <QPainterPath>

#include <optional>

namespace orvella {

class TDOList;
class TDrawObject;
class TDrawSite;

// Moves each object so that its centre stays at least 10 units inside rect.
void KeepCentresInside(const TDOList& list, const TRect& rect);
// Maps each object's corners proportionally from one rectangle to another.
// Nothing happens when the rectangles are equal or from is empty.
void RemapObjects(const TDOList& list, const TRect& from, const TRect& to);
// A pasted picture is taken at 180 pixels per inch, never below 3 mm.
TSize GraphicLogicalSize(TSize pixels);
// Fits a new object to the site and centres it in the visible part.
void PlaceNewObject(TDrawObject& object, TDrawSite& site);
// Two device pixels on the object's site in logical units, at least width.
int32_t MinimumLineWidth(const TDrawObject& object, int32_t width);

// What a face thumbnail is made from: the face's bounds and, when it is not
// a rectangle, its shape in logical units relative to the bounds' top-left.
struct TFaceImageSource {
    TRect Bounds;
    std::optional<QPainterPath> Shape;
};

// Renders the objects of a face into an image of at most imageSize (fitted,
// aspect kept); outside the shape is white. The objects are put on a
// private site for the time of the rendering and given back unparented:
// pass objects that belong to no site.
QImage RenderFaceImage(const TFaceImageSource& face, const TDOList& objects, TSize imageSize);

}  // namespace orvella
