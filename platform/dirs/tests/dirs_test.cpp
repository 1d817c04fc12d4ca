// Listing, attributes, links, sizes and folder identity are shown through the folder search's
// tests.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <ctime>

#include "platform/dirs/date_time.h"
#include "platform/dirs/full_path.h"
#include "testsupport/temp_dir.h"

namespace rv {
namespace {

TEST(Dirs, DateTimesCountDaysFrom1899InLocalTime) {
    EXPECT_EQ(EncodeDate(2024, 2, 29), 45351);
    EXPECT_EQ(EncodeDate(2023, 2, 29), 0);  // no such day
    EXPECT_DOUBLE_EQ(JoinDateTime(-1, 0.25), -1.25);
    EXPECT_DOUBLE_EQ(TimePart(-1.25), 0.25);

    const char* old = std::getenv("TZ");
    const std::string saved = old ? old : "";
    setenv("TZ", "CET-1", 1);  // an hour ahead of UTC, no summer time
    tzset();
    EXPECT_DOUBLE_EQ(LocalDateTimeFromUnix(946684800 + 23 * 3600), 36527);  // 2 Jan 2000, 00:00
    EXPECT_DOUBLE_EQ(LocalDateTimeFromUnix(946684800 + 5 * 3600), 36526.25);
    old ? setenv("TZ", saved.c_str(), 1) : unsetenv("TZ");
    tzset();
}

TEST(Dirs, FullPathsResolveDotsByText) {
    EXPECT_EQ(ExpandFileName("/a/b/../c/./d"), "/a/c/d");
    EXPECT_EQ(ExpandFileName("/a//b/.."), "/a/");
    EXPECT_EQ(ExpandFileName("/../.."), "/");
    char cwd[4096];
    ASSERT_TRUE(getcwd(cwd, sizeof cwd));
    EXPECT_EQ(ExpandFileName("x/../y"), ExpandFileName(std::string(cwd) + "/y"));

    // This test program's own file.
    std::string exe = ExecutableFileName();
    EXPECT_TRUE(exe.ends_with("/platform_dirs_tests")) << exe;
}

}  // namespace
}  // namespace rv
