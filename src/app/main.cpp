// The program entry: the application object, the data module and its
// start-up sequence, the event loop.

#include "app/application.h"
#include "app/data_main.h"
#include "app/startup_probe.h"
#include "print/direct_print.h"
#include "print/gutenprint_backend.h"
#include "print/printer_configuration.h"

int main(int argc, char* argv[])
{
    orvella::TOrvellaApplication application(argc, argv);
    orvella::InstallStartupProbe(application);
    orvella::TStartupOptions options;
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() > 1)
        options.Document = arguments[1];
    // Disc printing asks the CUPS drivers that print discs (Gutenprint's).
    orvella::SetDriverBackend(orvella::GutenprintDriverBackend());
    orvella::InstallDirectPrintSupport(orvella::CupsPrinterQuery());
    orvella::TdataMain dataMain(std::move(options));
    if (!dataMain.Start())
        return 1;
    return QApplication::exec();
}
