#include "platform/dirs/date_time.h"

#include <algorithm>
#include <cmath>
#include <ctime>

namespace rv {

namespace {

// Days from 1 March of year 0 in the proleptic Gregorian calendar; shifting the year start to
// March puts the leap day last.
std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe);
}

const std::int64_t kDay1899 = DaysFromCivil(1899, 12, 30);

bool IsLeap(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

}  // namespace

TDateTime EncodeDate(int year, int month, int day) {
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1) return 0;
    const int last = kDays[month - 1] + (month == 2 && IsLeap(year) ? 1 : 0);
    if (day > last) return 0;
    return static_cast<double>(
        DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) - kDay1899);
}

TDateTime JoinDateTime(TDateTime date, TDateTime time) {
    return date < 0 ? date - time : date + time;
}

double DatePart(TDateTime value) {
    return std::trunc(value);
}

double TimePart(TDateTime value) {
    return std::fabs(value - std::trunc(value));
}

TDateTime LocalDateTimeFromUnix(std::int64_t seconds, std::uint32_t nanoseconds) {
    const std::time_t t = static_cast<std::time_t>(seconds);
    std::tm local{};
    if (!localtime_r(&t, &local)) return 0;
    const std::int64_t days =
        DaysFromCivil(local.tm_year + 1900LL, static_cast<unsigned>(local.tm_mon + 1),
                      static_cast<unsigned>(local.tm_mday)) -
        kDay1899;
    const double time = ((local.tm_hour * 60.0 + local.tm_min) * 60.0 + std::min(local.tm_sec, 59) +
                         nanoseconds / 1e9) /
                        86400.0;
    return JoinDateTime(static_cast<double>(days), std::min(time, 86399.999 / 86400.0));
}

LocalClock LocalClockAt(std::int64_t seconds) {
    const std::time_t t = static_cast<std::time_t>(seconds);
    std::tm local{};
    LocalClock clock;
    if (!localtime_r(&t, &local)) return clock;
    clock.Year = local.tm_year + 1900;
    clock.Month = local.tm_mon + 1;
    clock.Day = local.tm_mday;
    clock.DayOfWeek = local.tm_wday;
    clock.Hour = local.tm_hour;
    clock.Minute = local.tm_min;
    clock.Second = std::min(local.tm_sec, 59);
    clock.OffsetKnown = true;
    clock.UtcOffsetMinutes = static_cast<int>(local.tm_gmtoff / 60);
    return clock;
}

LocalClock LocalClockNow() {
    return LocalClockAt(std::time(nullptr));
}

}  // namespace rv
