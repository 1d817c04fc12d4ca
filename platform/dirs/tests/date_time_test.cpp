#include "platform/dirs/date_time.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

namespace rv {
namespace {

TEST(DateTime, EncodesDaysFromTheEndOf1899) {
    EXPECT_EQ(EncodeDate(1899, 12, 30), 0);
    EXPECT_EQ(EncodeDate(1900, 3, 1), 61);
    EXPECT_EQ(EncodeDate(2000, 1, 1), 36526);
    EXPECT_EQ(EncodeDate(2024, 2, 29), 45351);
    EXPECT_EQ(EncodeDate(1899, 12, 29), -1);
    EXPECT_EQ(EncodeDate(2023, 2, 29), 0);  // no such day
    EXPECT_EQ(EncodeDate(2023, 13, 1), 0);
    EXPECT_DOUBLE_EQ(EncodeTime(12, 0, 0), 0.5);
    EXPECT_DOUBLE_EQ(EncodeTime(6, 0, 0), 0.25);
    EXPECT_EQ(EncodeTime(24, 0, 0), 0);
}

TEST(DateTime, SplitsIntoDayAndTimeOfDayAlsoBefore1900) {
    const TDateTime before = JoinDateTime(-1, 0.25);
    EXPECT_DOUBLE_EQ(before, -1.25);
    EXPECT_EQ(DatePart(before), -1);
    EXPECT_DOUBLE_EQ(TimePart(before), 0.25);
    const TDateTime after = JoinDateTime(EncodeDate(2000, 1, 1), EncodeTime(18, 0, 0));
    EXPECT_EQ(DatePart(after), 36526);
    EXPECT_DOUBLE_EQ(TimePart(after), 0.75);
}

TEST(DateTime, ConvertsSystemTimeToLocalTime) {
    const char* old = std::getenv("TZ");
    const std::string saved = old ? old : "";
    setenv("TZ", "UTC", 1);
    tzset();
    EXPECT_DOUBLE_EQ(LocalDateTimeFromUnix(0), 25569);  // 1 January 1970
    EXPECT_DOUBLE_EQ(LocalDateTimeFromUnix(946684800 + 6 * 3600), 36526.25);
    setenv("TZ", "CET-1", 1);  // an hour ahead of UTC, no summer time
    tzset();
    EXPECT_DOUBLE_EQ(LocalDateTimeFromUnix(946684800 + 23 * 3600), 36527);  // midnight, 2 Jan
    if (old)
        setenv("TZ", saved.c_str(), 1);
    else
        unsetenv("TZ");
    tzset();
}

}  // namespace
}  // namespace rv
