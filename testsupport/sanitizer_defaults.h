#pragma once
// The sanitizer defaults of every test program, so that it behaves the same run by ctest or by
// hand. They are definitions: only the source with a program's main() includes this.

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
