#pragma once
// The Qt application the painting benchmarks need for fonts and images,
// made once on the offscreen platform so they run without a display.

#include <QGuiApplication>

#include <cstdlib>

namespace orvella::bench {

inline QGuiApplication& OffscreenApplication()
{
    static int argc = 1;
    static char name[] = "bench";
    static char* argv[] = {name, nullptr};
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static QGuiApplication app(argc, argv);
    return app;
}

}  // namespace orvella::bench
