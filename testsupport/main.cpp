// The main() of every test program.

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>

// Sanitizer defaults live here, so that a test program behaves the same run by ctest or by hand.
extern "C" const char* __asan_default_options() {
    return "detect_leaks=1:abort_on_error=0";
}
extern "C" const char* __ubsan_default_options() {
    return "print_stacktrace=1:halt_on_error=1";
}
// Qt keeps a few process-wide allocations until exit on purpose.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig\nleak:libQt6Gui\nleak:libQt6Core\nleak:libdbus\n";
}

int main(int argc, char** argv) {
    // GUI tests never need a display.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    std::setlocale(LC_ALL, "C");
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
