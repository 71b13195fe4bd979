#include "objects/object_classes.h"

#include "document/document_classes.h"
#include "formats/class_registry.h"
#include "objects/code_classes.h"
#include "objects/coons_distortion.h"

namespace orvella {

void RegisterObjectClasses()
{
    RegisterDocumentClasses();
    RegisterClasses({
        &TCoonsDistortion::StaticClassInfo(),
    });
    RegisterCodeClasses();
}

}  // namespace orvella
