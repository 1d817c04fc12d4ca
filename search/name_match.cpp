#include "search/name_match.h"

#include "platform/text/ascii_case.h"

namespace rv {

namespace {

bool IsContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

}  // namespace

NameParts SplitName(std::string_view name) {
    const auto dot = name.rfind('.');
    const auto slash = name.rfind('/');
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash))
        return {name, "."};
    return {name.substr(0, dot), name.substr(dot)};
}

bool WildcardMatch(std::string_view text, std::string_view mask) {
    std::size_t t = 0, m = 0;
    std::size_t starMask = std::string_view::npos, starText = 0;
    while (t < text.size()) {
        if (m < mask.size() && mask[m] == '*') {
            starMask = m++;
            starText = t;
            continue;
        }
        if (m < mask.size() && mask[m] == '?') {
            // One character: a whole UTF-8 sequence.
            ++t;
            while (t < text.size() && IsContinuationByte(text[t])) ++t;
            ++m;
            continue;
        }
        if (m < mask.size() && AsciiUpper(mask[m]) == AsciiUpper(text[t])) {
            ++t;
            ++m;
            continue;
        }
        if (starMask == std::string_view::npos) return false;
        // Let the last "*" swallow one more character and try again from there.
        m = starMask + 1;
        ++starText;
        while (starText < text.size() && IsContinuationByte(text[starText])) ++starText;
        t = starText;
    }
    for (; m < mask.size(); ++m)
        if (mask[m] != '*' && mask[m] != '?') return false;
    return true;
}

NameMask::NameMask(std::string mask) : text_(std::move(mask)) {
    const std::string_view view = text_;
    const auto dot = view.rfind('.');
    const auto slash = view.rfind('/');
    hasExtension_ =
        dot != std::string_view::npos && (slash == std::string_view::npos || dot > slash);
    base_ = hasExtension_ ? view.substr(0, dot) : view;
    if (hasExtension_) extension_ = view.substr(dot);
    anyBase_ = base_ == "*";
}

bool NameMask::Matches(const NameParts& name) const {
    if (hasExtension_ && !WildcardMatch(name.Extension, extension_)) return false;
    return anyBase_ || WildcardMatch(name.Base, base_);
}

}  // namespace rv
