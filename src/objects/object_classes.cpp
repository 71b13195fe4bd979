#include "objects/object_classes.h"

#include "document/document_classes.h"
#include "drawing/designer.h"
#include "formats/class_registry.h"
#include "objects/coons_distortion.h"
#include "objects/lo_deco_line.h"
#include "objects/lo_line.h"
#include "objects/lo_rect.h"

namespace orvella {

namespace {

// Lines and shapes are drawn out on the face; a decorative line first asks
// for its pattern. The editor's captions name the same commands.
void RegisterShapeClasses()
{
    RegisterClasses({
        &TLOLine::StaticClassInfo(),
        &TLOCurve::StaticClassInfo(),
        &TLODecoLine::StaticClassInfo(),
        &TLORect::StaticClassInfo(),
        &TLOCircle::StaticClassInfo(),
    });
    TLOCreator& creator = LabelObjectCreator();
    TCreationCommand decoLine;
    decoLine.EditFirst = true;
    decoLine.PlaceByDragging = false;
    creator.AddCommand("TLODecoLine", decoLine);
    creator.AddCommand("飾り罫線", decoLine);
    creator.AddAlias("直線", "TLOLine");
    creator.AddAlias("円弧", "TLOCurve");
    creator.AddAlias("四角", "TLORect");
    creator.AddAlias("円", "TLOCircle");
    creator.AddAlias("飾り罫線", "TLODecoLine");
}

}  // namespace

void RegisterObjectClasses()
{
    RegisterDocumentClasses();
    RegisterClasses({
        &TCoonsDistortion::StaticClassInfo(),
    });
    RegisterShapeClasses();
}

}  // namespace orvella
