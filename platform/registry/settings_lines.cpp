#include "platform/registry/settings_lines.h"

#include "platform/registry/registry_text.h"
#include "platform/text/utf8.h"

namespace rv {

std::string_view TrimBlanks(std::string_view line) {
    while (!line.empty() && IsLineBlank(line.front())) line.remove_prefix(1);
    while (!line.empty() && IsLineBlank(line.back())) line.remove_suffix(1);
    return line;
}

bool ReadSettingsLines(std::string_view text,
                       const std::function<bool(std::string_view line, std::string& reason)>& read,
                       std::string& error) {
    if (text.size() > kMaxSettingsFileBytes) return error = "the file is too large", false;
    // Bytes that are not UTF-8 are never written as they are.
    if (!IsValidUtf8(text)) return error = "the file is not UTF-8 text", false;
    if (text.starts_with(kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());
    std::size_t lineNumber = 0;
    while (!text.empty()) {
        ++lineNumber;
        const auto end = text.find('\n');
        const std::string_view line = TrimBlanks(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (line.empty()) continue;
        std::string reason;
        if (!read(line, reason)) {
            error = "line ";
            error += std::to_string(lineNumber);
            error += ": ";
            error += reason;
            return false;
        }
    }
    return true;
}

}  // namespace rv
