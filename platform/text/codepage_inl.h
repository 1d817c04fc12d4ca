#pragma once

#include "platform/text/utf8.h"

namespace rv {

template <typename OnMissing>
std::string EncodeCodePage(CodePage page, std::string_view utf8, OnMissing&& onMissing) {
    std::string out;
    out.reserve(utf8.size());
    size_t pos = 0;
    while (pos < utf8.size()) {
        const auto c = static_cast<unsigned char>(utf8[pos]);
        if (c < 0x80) {  // ASCII is the same in every supported code page
            out.push_back(static_cast<char>(c));
            ++pos;
            continue;
        }
        const char32_t cp = DecodeUtf8(utf8, pos);
        if (auto byte = UnicodeToCodePage(page, cp))
            out.push_back(static_cast<char>(*byte));
        else
            out += onMissing(cp);
    }
    return out;
}

}  // namespace rv
