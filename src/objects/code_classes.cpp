#include "objects/code_classes.h"

#include "document/document_classes.h"
#include "drawing/designer.h"
#include "formats/class_registry.h"
#include "objects/lo_jan_code.h"
#include "objects/lo_qr_code.h"

namespace orvella {

std::span<const std::pair<const char*, const char*>> CodeCreationCommands()
{
    static const std::pair<const char*, const char*> commands[] = {
        {"JANコード(&J)...", "TLOJANCode"},
        {"QRコード(&Q)...", "TLOQRStd"},
    };
    return commands;
}

void RegisterCodeClasses()
{
    RegisterClasses({
        &TLOJANCode::StaticClassInfo(),
        &TLOQRCode::StaticClassInfo(),
        &TLOQRStd::StaticClassInfo(),
    });
    // The layout window's code commands go by their captions; the new
    // object is placed by dragging and its property dialog opens first.
    TLOCreator& creator = LabelObjectCreator();
    for (const auto& [caption, className] : CodeCreationCommands()) {
        TCreationCommand command;
        command.InstanceName = className;
        command.EditFirst = true;
        creator.AddCommand(caption, command);
        command.InstanceName.clear();
        creator.AddCommand(className, command);
    }
}

}  // namespace orvella
