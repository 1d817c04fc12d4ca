#include "net/smtp_message.h"

#include <cstdlib>

#include "net/smtp_types.h"
#include "platform/text/format.h"
#include "platform/text/trim.h"

namespace rv {

namespace {

// Calls `line` for each piece of the text between line breaks.
template <typename F>
void ForEachLine(std::string_view text, F line) {
    while (true) {
        const std::size_t end = text.find_first_of("\r\n");
        line(text.substr(0, end));
        if (end == std::string_view::npos) return;
        const bool crlf = text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n';
        text.remove_prefix(end + (crlf ? 2 : 1));
    }
}

}  // namespace

std::string SmtpPath(std::string_view address) {
    const std::string trimmed = Trim(address);
    const bool bracketed =
        trimmed.find('<') != std::string::npos && trimmed.find('>') != std::string::npos;
    return bracketed ? trimmed : "<" + trimmed + ">";
}

std::string Rfc822Date(const LocalClock& clock) {
    static constexpr const char* kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    static constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                              "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    std::string zone = "-0000";
    if (clock.OffsetKnown) {
        const int minutes = std::abs(clock.UtcOffsetMinutes);
        zone = Format("%c%02d%02d", clock.UtcOffsetMinutes < 0 ? '-' : '+', minutes / 60,
                      minutes % 60);
    }
    return Format("%s, %d %s %04d %02d:%02d:%02d ", kDays[(clock.DayOfWeek % 7 + 7) % 7], clock.Day,
                  kMonths[((clock.Month - 1) % 12 + 12) % 12], clock.Year, clock.Hour, clock.Minute,
                  clock.Second) +
           zone;
}

void AppendDataLine(std::string& out, std::string_view text) {
    ForEachLine(text, [&out](std::string_view line) {
        if (line.size() > kSmtpMaxLineLength)
            throw SmtpException(
                Format("A line of the message is longer than %zu characters", kSmtpMaxLineLength));
        if (!line.empty() && line.front() == '.') out += '.';
        out += line;
        out += "\r\n";
    });
}

std::size_t LongestLine(std::string_view text) {
    std::size_t longest = 0;
    ForEachLine(text,
                [&longest](std::string_view line) { longest = std::max(longest, line.size()); });
    return longest;
}

void CheckNoLineBreak(std::string_view what, std::string_view value) {
    if (value.find_first_of("\r\n") != std::string_view::npos)
        throw SmtpException(std::string(what) + " must not hold CR or LF");
}

std::string QuotedString(std::string_view text) {
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') quoted += '\\';
        quoted += c;
    }
    return quoted + "\"";
}

}  // namespace rv
