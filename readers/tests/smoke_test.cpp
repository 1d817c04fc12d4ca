#include <gtest/gtest.h>
#include "readers/mpeg_audio.h"
TEST(Smoke, Zero) {
    rv::TMPEGaudio m;
    EXPECT_FALSE(m.ReadFromFile("/nonexistent"));
}
