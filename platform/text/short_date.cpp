#include "platform/text/short_date.h"

#include <ctime>

namespace rv {

namespace {

std::optional<CalendarDate> pinnedToday;

}  // namespace

std::string ShortDateText(const CalendarDate& date) {
    std::tm parts{};
    parts.tm_year = date.Year - 1900;
    parts.tm_mon = date.Month - 1;
    parts.tm_mday = date.Day;
    parts.tm_hour = 12;
    parts.tm_isdst = -1;
    std::mktime(&parts);  // fills in the weekday and the day of the year for the format
    char text[128];
    const size_t length = std::strftime(text, sizeof text, "%x", &parts);
    return std::string(text, length);
}

CalendarDate Today() {
    if (pinnedToday) return *pinnedToday;
    const std::time_t now = std::time(nullptr);
    std::tm parts{};
    localtime_r(&now, &parts);
    return {parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday};
}

void PinToday(std::optional<CalendarDate> date) {
    pinnedToday = date;
}

std::string TodayShortDate() {
    return ShortDateText(Today());
}

}  // namespace rv
