#pragma once

#include <optional>
#include <string>

namespace rv {

struct CalendarDate {
    int Year = 0;
    int Month = 0;  // 1..12
    int Day = 0;    // 1..31

    bool operator==(const CalendarDate&) const = default;
};

// The date in the current locale's short date form (LC_TIME), as dates stamped into files are
// written.
std::string ShortDateText(const CalendarDate& date);

// Today's local date; or the date pinned by PinToday, so that files stamped with it can be
// compared byte for byte.
CalendarDate Today();
void PinToday(std::optional<CalendarDate> date);

// ShortDateText(Today()).
std::string TodayShortDate();

}  // namespace rv
