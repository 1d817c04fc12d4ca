#include "platform/system/os_release.h"

#include "platform/files/read_only_file.h"

namespace rv {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

bool IsKey(std::string_view key) {
    if (key.empty()) return false;
    for (const char c : key) {
        const bool ok =
            (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
        if (!ok) return false;
    }
    return true;
}

// A quoted value runs to the matching quote; one without it is taken to the end of the line.
std::string Unquote(std::string_view value) {
    if (value.empty() || (value.front() != '"' && value.front() != '\'')) return std::string(value);
    const char quote = value.front();
    std::string out;
    for (std::size_t i = 1; i < value.size(); ++i) {
        const char c = value[i];
        if (c == quote) break;
        if (quote == '"' && c == '\\' && i + 1 < value.size()) {
            const char next = value[i + 1];
            if (next == '$' || next == '"' || next == '\\' || next == '`') {
                out += next;
                ++i;
                continue;
            }
        }
        out += c;
    }
    return out;
}

}  // namespace

OsReleaseFields ParseOsRelease(std::string_view text) {
    OsReleaseFields fields;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = TrimBlanks(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (line.empty() || line.front() == '#') continue;
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos) continue;
        const std::string_view key = TrimBlanks(line.substr(0, equals));
        if (!IsKey(key)) continue;
        fields[std::string(key)] = Unquote(TrimBlanks(line.substr(equals + 1)));
    }
    return fields;
}

OsReleaseFields ReadOsRelease() {
    for (const char* path : {"/etc/os-release", "/usr/lib/os-release"}) {
        std::string content;
        if (ReadWholeFile(path, content)) return ParseOsRelease(content);
    }
    return {};
}

}  // namespace rv
