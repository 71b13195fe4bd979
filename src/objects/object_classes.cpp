#include "objects/object_classes.h"

#include "document/document_classes.h"
#include "formats/class_registry.h"
#include "objects/coons_distortion.h"
#include "objects/lo_jan_code.h"
#include "objects/lo_qr_code.h"

namespace orvella {

void RegisterObjectClasses()
{
    RegisterDocumentClasses();
    RegisterClasses({
        &TCoonsDistortion::StaticClassInfo(),
        &TLOJANCode::StaticClassInfo(),
        &TLOQRCode::StaticClassInfo(),
        &TLOQRStd::StaticClassInfo(),
    });
}

}  // namespace orvella
