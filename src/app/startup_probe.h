#pragma once
// A measuring aid for start-up: with ORVELLA_STARTUP_PROBE set in the
// environment, the program prints the wall-clock time (nanoseconds since
// the epoch) when the layout editor's face has first been painted, and
// quits. scripts/measure-startup compares it with the time of launch.

class QApplication;

namespace orvella {

void InstallStartupProbe(QApplication& application);

}  // namespace orvella
