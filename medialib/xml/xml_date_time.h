#pragma once

#include <string>
#include <string_view>

namespace rv {

// Date-times are day counts since 1899-12-30 (midnight), the fraction being the time of day;
// before that day the whole part counts back while the fraction still runs forward.
struct XmlDateTimeParts {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
};

// Raises EXmlError for an impossible date or time (month 13, 30 February, hour 24 ...).
double EncodeXmlDateTime(const XmlDateTimeParts& parts);
// Meaningful for values whose year lies within 1..9999.
XmlDateTimeParts DecodeXmlDateTime(double value);

// "2003-04-05T06-07-08"; a value outside the years 1..9999 is written as its number.
std::string DateTimeToText(double value);
// Reads the form above field by field; a field without digits counts 0 and a field not followed
// by its separator ends the reading (later fields 0), so "2003-04-05" is midnight of that day.
double TextToDateTime(std::string_view text);

}  // namespace rv
