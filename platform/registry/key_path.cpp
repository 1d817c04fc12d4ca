#include "platform/registry/key_path.h"

#include "platform/text/utf8.h"

namespace rv {

bool IsValidKeyName(std::string_view name) {
    if (name.empty() || !IsValidUtf8(name) || Utf8Length(name) > kMaxKeyNameChars) return false;
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F || c == '\\') return false;
    }
    return true;
}

bool ResolveKeyPath(std::string_view text, const KeyPath& current, KeyPath& resolved) {
    KeyPath path;
    if (!text.empty() && text.front() == '\\')
        text.remove_prefix(1);
    else
        path = current;
    if (!text.empty() && text.back() == '\\') text.remove_suffix(1);
    while (!text.empty()) {
        const auto cut = text.find('\\');
        const std::string_view name = text.substr(0, cut);
        if (!IsValidKeyName(name) || path.size() >= kMaxKeyDepth) return false;
        path.emplace_back(name);
        // A "\" at the very end was dropped above, so one found here always has a name after it.
        text = cut == std::string_view::npos ? std::string_view() : text.substr(cut + 1);
        if (cut != std::string_view::npos && text.empty()) return false;
    }
    resolved = std::move(path);
    return true;
}

std::string JoinKeyPath(const KeyPath& path) {
    std::string text;
    for (const auto& name : path) {
        if (!text.empty()) text += '\\';
        text += name;
    }
    return text;
}

}  // namespace rv
