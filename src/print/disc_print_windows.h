#pragma once
// The windows of printing onto discs live on the window floor; the windows
// that start them (the main window, the print window) stand beside them and
// reach them through this registration, made when the program starts.

#include "print/direct_print.h"

#include <functional>

namespace orvella {

class TLabelData;

struct TDiscPrintWindows {
    // The printer check window; Cancel when none is registered.
    std::function<TConfirmPrinterAnswer()> ConfirmPrinter;
    // The size adjustment dialog on the document; true after OK.
    std::function<bool(TLabelData& document)> AdjustDiscSize;
};

void SetDiscPrintWindows(TDiscPrintWindows windows);
const TDiscPrintWindows& DiscPrintWindows();

}  // namespace orvella
