#include "platform/registry/registry_error.h"

#include "platform/text/utf8.h"

namespace rv {

namespace {

constexpr std::size_t kQuotedChars = 40;

}  // namespace

std::string QuoteName(std::string_view name) {
    std::string text = SanitizeUtf8(name);
    for (char& c : text)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '?';
    const std::string shown = CutToChars(text, kQuotedChars);
    return "'" + shown + (shown.size() < text.size() ? "...'" : "'");
}

}  // namespace rv
