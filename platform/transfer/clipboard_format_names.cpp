#include "platform/transfer/clipboard_format_names.h"

#include <algorithm>
#include <cctype>

#include "platform/text/ascii_case.h"

namespace rv {

namespace {

constexpr TClipFormat kFirstRegistered = 0xC000;

std::vector<std::string>& Names() {
    static std::vector<std::string> names;
    return names;
}

// Windows' own names of formats the toolkit has a common type for.
struct KnownType {
    const char* name;
    const char* mediaType;
};
constexpr KnownType kKnownTypes[] = {
    {"HTML Format", "text/html"},
    {"Rich Text Format", "text/rtf"},
    {"Rich Text Format Without Objects", "text/rtf"},
    {"CSV", "text/csv"},
};

std::string OwnMediaType(std::string_view name) {
    std::string type = "application/x-lorvix-reelvault-";
    for (char c : name) {
        const auto u = static_cast<unsigned char>(c);
        if (std::isalnum(u))
            type += char(std::tolower(u));
        else if (c == ' ' || c == '-' || c == '_' || c == '.')
            type += '-';
    }
    return type;
}

}  // namespace

TClipFormat RegisterClipboardFormat(std::string_view name) {
    if (name.empty()) return 0;
    auto& names = Names();
    for (std::size_t i = 0; i < names.size(); ++i)
        if (SameText(names[i], name)) return TClipFormat(kFirstRegistered + i);
    if (names.size() >= 0x10000 - kFirstRegistered) return 0;
    names.emplace_back(name);
    return TClipFormat(kFirstRegistered + names.size() - 1);
}

std::string GetClipboardFormatName(TClipFormat format) {
    const auto& names = Names();
    if (format < kFirstRegistered || std::size_t(format - kFirstRegistered) >= names.size())
        return {};
    return names[format - kFirstRegistered];
}

std::string FormatMediaType(TClipFormat format) {
    if (format == CF_TEXT) return "text/plain";
    if (format == CF_UNICODETEXT) return "text/plain;charset=utf-8";
    const std::string name = GetClipboardFormatName(format);
    if (name.empty()) return {};
    for (const KnownType& known : kKnownTypes)
        if (SameText(name, known.name)) return known.mediaType;
    return OwnMediaType(name);
}

std::vector<TClipFormat> FormatsOfMediaType(std::string_view mediaType) {
    std::vector<TClipFormat> formats;
    for (TClipFormat f : {CF_TEXT, CF_UNICODETEXT})
        if (FormatMediaType(f) == mediaType) formats.push_back(f);
    for (std::size_t i = 0; i < Names().size(); ++i) {
        const auto f = TClipFormat(kFirstRegistered + i);
        if (FormatMediaType(f) == mediaType) formats.push_back(f);
    }
    return formats;
}

}  // namespace rv
