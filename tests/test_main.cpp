// GoogleTest main with a Qt application on the offscreen platform.

#include <gtest/gtest.h>

#ifdef ORVELLA_TEST_WIDGETS
#include <QApplication>
using TestApplication = QApplication;
#else
#include <QGuiApplication>
using TestApplication = QGuiApplication;
#endif

#include <cstdlib>

// Sanitizer settings travel with the test binaries, so a test run by hand
// behaves as under ctest.
extern "C" const char* __lsan_default_suppressions()
{
    // Allocations that system libraries keep for the life of the process.
    return "leak:libfontconfig.so\nleak:libdbus-1.so\n";
}

extern "C" const char* __ubsan_default_options() { return "print_stacktrace=1:halt_on_error=1"; }

int main(int argc, char* argv[])
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ::testing::InitGoogleTest(&argc, argv);
    TestApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
