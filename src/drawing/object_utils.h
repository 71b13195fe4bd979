#pragma once
// Utilities over drawing objects in logical units. An object takes part when
// it offers IDOEncloseBounds.

#include "graphics/graphics_types.h"

#include <QImage>
#include <QPainterPath>

#include <memory>
#include <optional>

namespace orvella {

class TBitmap;
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

// Renders the objects of a face into an image of imageSize fitted to the
// face (aspect kept); outside the shape is white. Without a target
// resolution the face is drawn at 100 % and then resampled, so thin lines
// and small text keep their weight; with one, at the zoom
// MulDiv(imageSize.cx, targetDpi * 254, face width * screen pixels per inch),
// at most 100 % (100 draws the face imageSize.cx pixels wide). The
// objects are put on a private site for the time of the rendering and given
// back unparented: pass objects that belong to no site.
QImage RenderFaceImage(const TFaceImageSource& face, const TDOList& objects, TSize imageSize, int32_t targetDpi = 0);
// Its two halves: the face drawn at a zoom in percent (on the user-interface
// thread, as objects paint with the program's shared drawing state), and the
// drawing fitted into imageSize (plain pixel work, safe on any thread).
std::unique_ptr<TBitmap> RenderFaceBitmap(const TFaceImageSource& face, const TDOList& objects, int32_t zoom);
QImage FitFaceImage(const TBitmap& bitmap, TSize imageSize);

}  // namespace orvella
