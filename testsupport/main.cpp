// The main() of every test program.

#include <gtest/gtest.h>

#include <unistd.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "testsupport/sanitizer_defaults.h"

namespace {

// GUI tests never need a display: they run on the toolkit's offscreen screen. It keeps 800 x 800
// logical pixels at any QT_SCALE_FACTOR, as a screen at 200 % has twice the pixels of one at
// 100 %, so that windows fit on it alike at every scale; RV_TEST_SCREEN ("1280x800") gives it
// that many device pixels instead, as a real screen of that size has at any scale.
void UseOffscreenScreen() {
    if (std::getenv("QT_QPA_PLATFORM")) return;
    const char* factor = std::getenv("QT_SCALE_FACTOR");
    const double scale = factor && std::atof(factor) > 0 ? std::atof(factor) : 1;
    int width = int(800 * scale + 0.5), height = width;
    if (const char* screen = std::getenv("RV_TEST_SCREEN"))
        std::sscanf(screen, "%dx%d", &width, &height);
    const char* tmp = std::getenv("TMPDIR");
    static const std::string path = std::string(tmp && *tmp ? tmp : "/tmp") + "/rv-offscreen-" +
                                    std::to_string(getpid()) + ".json";
    std::ofstream(path) << "{\"windowFrameMargins\": true, \"screens\": [{\"name\": \"Offscreen\", "
                        << "\"x\": 0, \"y\": 0, \"width\": " << width << ", \"height\": " << height
                        << ", \"logicalDpi\": 96, \"logicalBaseDpi\": 96, \"dpr\": 1}]}\n";
    std::atexit([] { std::remove(path.c_str()); });
    setenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + path).c_str(), 1);
}

}  // namespace

int main(int argc, char** argv) {
    UseOffscreenScreen();
    std::setlocale(LC_ALL, "C");
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
