#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>

// The audio files of make_test_media.sh, made with Debian's encoders and taggers. All test
// processes of this program share one folder of them in the build tree: the first process that
// asks makes it; a changed script or a tool installed or removed since makes it anew.
namespace rv::test {

// Why the files of a group (a sub-folder of the script's) are missing, e.g. "needs lame";
// empty when they are there.
std::string MissingMedia(std::string_view group);

// Path of a made file, "group/name".
std::string MediaPath(std::string_view file);

}  // namespace rv::test

// Skips the current test, with the reason, when the tools that make a group are missing.
#define RV_REQUIRE_MEDIA(group)                                       \
    do {                                                              \
        const std::string missing_ = ::rv::test::MissingMedia(group); \
        if (!missing_.empty()) GTEST_SKIP() << missing_;              \
    } while (false)
