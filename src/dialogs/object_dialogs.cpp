#include "dialogs/object_dialogs.h"

#include "dialogs/background_dialog.h"
#include "dialogs/color_grid_window.h"
#include "dialogs/image_property_dialogs.h"
#include "dialogs/jan_code_dialog.h"
#include "dialogs/qr_code_dialog.h"
#include "dialogs/shape_property_dialogs.h"
#include "dialogs/text_property_dialog.h"
#include "drawing/color_picker.h"
#include "drawing/designer.h"

#include <utility>

namespace orvella {

void RegisterObjectDialogs()
{
    static bool registered = false;
    if (registered)
        return;
    registered = true;
    SetColorPicker([](QWidget* anchor, TColor color, TColorPicked picked) {
        TColorGridWindow::ShowBelow(anchor, color, std::move(picked));
    });
    RegisterShapeDialogs();
    DesignerList().Register(MakeJANCodeDesigner());
    DesignerList().Register(MakeQRCodeDesigner());
    DesignerList().Register(MakeImageDialogDesigner());
    DesignerList().Register(MakeAlphaMaskDialogDesigner());
    DesignerList().Register(MakeBackgroundDialogDesigner());
    // Later designers are asked first: the date dialog before the text one.
    DesignerList().Register(MakeTextDialogDesigner());
    DesignerList().Register(MakeDateDialogDesigner());
}

namespace {

// The windows of the program sit beside the dialogs, not above them: the
// program links this library whole, and its designers register as it starts.
[[maybe_unused]] const bool registeredAtStart = (RegisterObjectDialogs(), true);

}  // namespace

}  // namespace orvella
