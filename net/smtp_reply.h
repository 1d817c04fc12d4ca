#pragma once

#include <string_view>

namespace rv {

// The status of an SMTP reply line.
struct TSmtpStatus {
    // 100 to 999; 0 when the line has none: anything but leading blanks and three digits,
    // followed by the end, a blank or a "-".
    int code = 0;
    // A "-" after the digits: more lines of the reply follow.
    bool continued = false;
};

TSmtpStatus ParseSmtpStatus(std::string_view line);

}  // namespace rv
