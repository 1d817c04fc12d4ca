#include "platform/windows/screen_fit.h"

#include <gtest/gtest.h>

namespace rv {
namespace {

TEST(ScreenFit, WindowsLandWholeOnTheWorkAreaHoldingMostOfThem) {
    std::vector<TRect> two = {Rect(0, 0, 1920, 1040), Rect(1920, 0, 3840, 1080)};
    EXPECT_EQ(FitOntoScreens(Bounds(2000, 100, 800, 600), two), Bounds(2000, 100, 800, 600));
    // Across two screens: onto the one holding most of it.
    EXPECT_EQ(FitOntoScreens(Bounds(1900, 100, 800, 600), two), Bounds(1920, 100, 800, 600));
    EXPECT_EQ(FitOntoScreens(Bounds(1500, 100, 800, 600), two), Bounds(1120, 100, 800, 600));
    // Title above the top: moved down.
    EXPECT_EQ(FitOntoScreens(Bounds(2000, -50, 800, 600), two), Bounds(2000, 0, 800, 600));
    // Just 20 pixels of a lone screen: moved in whole.
    std::vector<TRect> one = {Rect(0, 0, 1920, 1040)};
    EXPECT_EQ(FitOntoScreens(Bounds(1900, 100, 400, 300), one), Bounds(1520, 100, 400, 300));
    EXPECT_EQ(FitOntoScreens(Bounds(-395, 100, 400, 300), one), Bounds(0, 100, 400, 300));
    EXPECT_EQ(FitOntoScreens(Bounds(1900, 100, 20, 300), one), Bounds(1900, 100, 20, 300));
    // The designed main window, and one placed at 100 % far down the right, on a 1600 x 1000
    // screen at 200 % (800 x 500 logical pixels): shrunk to its height and moved inside.
    std::vector<TRect> scaled = {Rect(0, 0, 800, 500)};
    EXPECT_EQ(FitOntoScreens(Bounds(100, 80, 778, 512), scaled), Bounds(22, 0, 778, 500));
    EXPECT_EQ(FitOntoScreens(Bounds(700, 400, 778, 512), scaled), Bounds(22, 0, 778, 500));
    // Far away from every screen: onto the nearest.
    EXPECT_EQ(FitOntoScreens(Bounds(9000, 300, 400, 300), two), Bounds(3440, 300, 400, 300));
    // Damaged extents: never larger than the work area, never an overflow.
    EXPECT_EQ(FitOntoScreens(Rect(-2147483647, 0, 2147483647, 100), one), Rect(0, 0, 1920, 100));
    EXPECT_EQ(FitOntoScreens(Rect(2147480000, 2147480000, 2147483647, 2147483647), one),
              Rect(0, 0, 1920, 1040));
    EXPECT_EQ(FitOntoScreens(Rect(5, 5, 5, 9), one), Rect(5, 5, 5, 9));
}

}  // namespace
}  // namespace rv
