#pragma once

#include <cstdint>

namespace rv {

// A point in time as the catalogue's components count it: days since 30 December 1899, with the
// time of day as the fraction. Days before that date are negative and keep a positive time of
// day (-1.25 is 29 December 1899, 06:00).
using TDateTime = double;

// The date alone (its time of day 00:00), or 0 when the date does not exist.
TDateTime EncodeDate(int year, int month, int day);
// Joins a date and a time of day with the sign rule above.
TDateTime JoinDateTime(TDateTime date, TDateTime time);

// The whole-day part and the time of day of a value (the latter never negative).
double DatePart(TDateTime value);
double TimePart(TDateTime value);

// A moment of the system clock (seconds since 1970 UTC) as a local date-time value.
TDateTime LocalDateTimeFromUnix(std::int64_t seconds, std::uint32_t nanoseconds = 0);

// A moment of the local wall clock, broken down, with the zone it is read in.
struct LocalClock {
    int Year = 0;
    int Month = 0;      // 1..12
    int Day = 0;        // 1..31
    int DayOfWeek = 0;  // 0 Sunday .. 6 Saturday
    int Hour = 0, Minute = 0, Second = 0;
    // Minutes the local time is ahead of UTC at that moment, summer time included; false when
    // the system does not tell.
    bool OffsetKnown = false;
    int UtcOffsetMinutes = 0;
};

// A moment of the system clock (seconds since 1970 UTC) on the local wall clock, and now.
LocalClock LocalClockAt(std::int64_t seconds);
LocalClock LocalClockNow();

}  // namespace rv
