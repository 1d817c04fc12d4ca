#pragma once

#include <string>
#include <string_view>

namespace rv {

// A name split at the last "." into base and extension (the extension keeps its "."); a name
// without a "." has the extension ".".
struct NameParts {
    std::string_view Base;
    std::string_view Extension;
};

NameParts SplitName(std::string_view name);

// `text` against `mask`: "*" stands for any run of characters (none too), "?" for one
// character, and every other character for itself with A-Z and a-z alike. When the text is used
// up, what is left of the mask may only be "*" and "?".
bool WildcardMatch(std::string_view text, std::string_view mask);

// A file-name mask. A mask without extension ("song") looks at the base only; a mask with one
// ("*.mp3") needs both parts to match.
class NameMask {
public:
    explicit NameMask(std::string mask);

    const std::string& Text() const { return text_; }
    bool Matches(const NameParts& name) const;
    bool Matches(std::string_view name) const { return Matches(SplitName(name)); }

private:
    std::string text_;
    std::string base_;
    std::string extension_;
    bool hasExtension_ = false;
    bool anyBase_ = false;  // the base is "*"
};

}  // namespace rv
