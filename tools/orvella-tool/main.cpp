// orvella-tool COMMAND ARGS...: see Commands() for the list.

#include "commands.h"

#include <QGuiApplication>

#include <cstdlib>
#include <cstring>
#include <exception>
#include <iostream>
#include <memory>

namespace {

// Qt's chatter (a missing runtime folder on a headless machine, say) would
// mix with what scripts read from the tool; only real failures get through.
void quietMessageHandler(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::cerr << "orvella-tool: " << message.toStdString() << '\n';
}

void printHelp(std::ostream& out)
{
    out << "usage: orvella-tool COMMAND [ARGS...]\n\ncommands:\n";
    for (const auto& command : orvella::tool::Commands())
        out << "  " << command.name << ' ' << command.usage << '\n';
}

}  // namespace

int main(int argc, char* argv[])
{
    // The tool renders and measures text but never needs a display.
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    qInstallMessageHandler(quietMessageHandler);

    if (argc < 2 || std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
        printHelp(argc < 2 ? std::cerr : std::cout);
        return argc < 2 ? 2 : 0;
    }
    for (const auto& command : orvella::tool::Commands()) {
        if (std::strcmp(argv[1], command.name) != 0)
            continue;
        const orvella::tool::Arguments args(argv + 2, argv + argc);
        std::unique_ptr<QGuiApplication> application;
        if (command.needsGui)
            application = std::make_unique<QGuiApplication>(argc, argv);
        try {
            return command.run(args);
        } catch (const std::exception& error) {
            std::cerr << "orvella-tool: " << error.what() << '\n';
            return 1;
        }
    }
    std::cerr << "orvella-tool: unknown command '" << argv[1] << "'\n";
    printHelp(std::cerr);
    return 2;
}
