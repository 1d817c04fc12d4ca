#include "net/smtp_reply.h"

namespace rv {

TSmtpStatus ParseSmtpStatus(std::string_view line) {
    std::size_t pos = line.find_first_not_of(' ');
    if (pos == std::string_view::npos || line.size() - pos < 3) return {};
    int code = 0;
    for (const std::size_t end = pos + 3; pos < end; ++pos) {
        if (line[pos] < '0' || line[pos] > '9') return {};
        code = code * 10 + (line[pos] - '0');
    }
    if (code < 100) return {};
    if (pos == line.size() || line[pos] == ' ') return {code, false};
    if (line[pos] == '-') return {code, true};
    return {};
}

}  // namespace rv
