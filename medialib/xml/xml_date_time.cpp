#include "medialib/xml/xml_date_time.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>

#include "medialib/xml/number_text.h"
#include "medialib/xml/xml_error.h"
#include "medialib/xml/xml_messages.h"
#include "platform/text/format.h"

namespace rv {

namespace {

constexpr std::int64_t kDaysFrom1899To1970 = 25569;
constexpr double kMsPerDay = 86400000.0;
// Day numbers of 0001-01-01 and 9999-12-31.
constexpr double kMinDay = -693593;
constexpr double kMaxDay = 2958466;

// Days since 1970-01-01 of a civil date (proleptic Gregorian calendar).
std::int64_t DaysFromCivil(std::int64_t year, unsigned month, unsigned day) {
    year -= month <= 2;
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(year - era * 400);
    const unsigned doy = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

void CivilFromDays(std::int64_t z, int& year, int& month, int& day) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(static_cast<std::int64_t>(yoe) + era * 400 + (month <= 2));
}

bool IsLeapYear(int year) {
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

int DaysInMonth(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

}  // namespace

double EncodeXmlDateTime(const XmlDateTimeParts& p) {
    const bool dateOk = p.year >= 1 && p.year <= 9999 && p.month >= 1 && p.month <= 12 &&
                        p.day >= 1 && p.day <= DaysInMonth(p.year, p.month);
    const bool timeOk = p.hour >= 0 && p.hour < 24 && p.minute >= 0 && p.minute < 60 &&
                        p.second >= 0 && p.second < 60 && p.millisecond >= 0 &&
                        p.millisecond < 1000;
    if (!dateOk || !timeOk) {
        throw EXmlError(
            Format(xml_messages::kBadDate, Format("%.4d-%.2d-%.2dT%.2d-%.2d-%.2d", p.year, p.month,
                                                  p.day, p.hour, p.minute, p.second)
                                               .c_str()));
    }
    const double days = static_cast<double>(
        DaysFromCivil(p.year, static_cast<unsigned>(p.month), static_cast<unsigned>(p.day)) +
        kDaysFrom1899To1970);
    const double time = ((p.hour * 60.0 + p.minute) * 60.0 + p.second) * 1000.0 + p.millisecond;
    // Before 1899-12-30 the time still counts forward from the (negative) day.
    return days >= 0 ? days + time / kMsPerDay : days - time / kMsPerDay;
}

XmlDateTimeParts DecodeXmlDateTime(double value) {
    XmlDateTimeParts parts;
    if (!std::isfinite(value) || std::fabs(value) > 1e8) return parts;
    const double whole = std::trunc(value);
    long long ms = std::llround(std::fabs(value - whole) * kMsPerDay);
    if (ms >= 86400000) ms = 86399999;
    CivilFromDays(static_cast<std::int64_t>(whole) - kDaysFrom1899To1970, parts.year, parts.month,
                  parts.day);
    parts.hour = static_cast<int>(ms / 3600000);
    parts.minute = static_cast<int>(ms / 60000 % 60);
    parts.second = static_cast<int>(ms / 1000 % 60);
    parts.millisecond = static_cast<int>(ms % 1000);
    return parts;
}

std::string DateTimeToText(double value) {
    if (!std::isfinite(value) || value < kMinDay || value >= kMaxDay + 1) return FloatToText(value);
    const XmlDateTimeParts p = DecodeXmlDateTime(value);
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.4d-%.2d-%.2dT%.2d-%.2d-%.2d", p.year, p.month, p.day,
                  p.hour, p.minute, p.second);
    return buffer;
}

double TextToDateTime(std::string_view text) {
    int fields[6] = {};
    static constexpr char kSeparators[] = {'-', '-', 'T', '-', '-', '-'};
    size_t pos = 0;
    for (int i = 0; i < 6; ++i) {
        int value = 0;
        // A value beyond any field's range stays beyond it without overflowing.
        for (; pos < text.size() && text[pos] >= '0' && text[pos] <= '9'; ++pos)
            value = std::min(value * 10 + (text[pos] - '0'), 1000000);
        fields[i] = value;
        if (pos >= text.size() || text[pos] != kSeparators[i]) break;
        ++pos;
    }
    return EncodeXmlDateTime({fields[0], fields[1], fields[2], fields[3], fields[4], fields[5]});
}

}  // namespace rv
