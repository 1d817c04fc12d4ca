#include "net/http_reply.h"

#include "platform/text/ascii_case.h"
#include "platform/text/trim.h"

namespace rv {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

bool ParseStatusLine(std::string_view line, int& code, std::string& reason) {
    if (line.size() < 12 || line.substr(0, 5) != "HTTP/" || !IsDigit(line[5]) || line[6] != '.' ||
        !IsDigit(line[7]) || line[8] != ' ' || !IsDigit(line[9]) || !IsDigit(line[10]) ||
        !IsDigit(line[11]) || (line.size() > 12 && line[12] != ' '))
        return false;
    code = (line[9] - '0') * 100 + (line[10] - '0') * 10 + (line[11] - '0');
    reason = line.size() > 13 ? line.substr(13) : std::string_view();
    return true;
}

bool SplitHeaderField(std::string_view line, std::string& name, std::string& value) {
    const std::size_t colon = line.find(':');
    if (colon == std::string_view::npos) return false;
    name = LowerCase(line.substr(0, colon));
    std::string_view rest = line.substr(colon + 1);
    while (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
    value = rest;
    return true;
}

bool ParseContentLength(std::string_view value, std::int64_t& length) {
    const std::string digits = Trim(value);
    if (digits.empty() || digits.size() > 18) return false;  // 18 digits stay below 2^63
    std::int64_t number = 0;
    for (const char c : digits) {
        if (!IsDigit(c)) return false;
        number = number * 10 + (c - '0');
    }
    length = number;
    return true;
}

void ParseContentRange(std::string_view value, std::string& first, std::string& last) {
    const std::size_t dash = value.find('-');
    const std::string_view head = value.substr(0, dash);
    const std::string_view tail =
        dash == std::string_view::npos ? std::string_view() : value.substr(dash + 1);
    first = head.size() > 6 ? head.substr(6) : std::string_view();
    last = tail.substr(0, tail.find('/'));
}

}  // namespace rv
