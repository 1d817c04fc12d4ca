#include "platform/text/utf8_to_wide.h"

#include <cstdint>

#include "platform/text/utf16.h"

namespace rv {

namespace {

// Continuation bytes that follow a lead byte: 0x00-0xBF none, then 1, 2, 3; the old five- and
// six-byte forms (0xF8-0xFF) announce 4 and 5.
int TrailingCount(unsigned char lead) {
    if (lead < 0xC0) return 0;
    if (lead < 0xE0) return 1;
    if (lead < 0xF0) return 2;
    if (lead < 0xF8) return 3;
    if (lead < 0xFC) return 4;
    return 5;
}

// The smallest value each length may carry; anything less is an overlong form.
constexpr std::uint32_t kMinimum[4] = {0, 0x80, 0x800, 0x10000};

}  // namespace

std::u16string UTF8ToWideString(std::string_view utf8) {
    std::u16string out;
    out.reserve(utf8.size());
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const auto lead = static_cast<unsigned char>(utf8[pos]);
        const int trailing = TrailingCount(lead);
        if (pos + trailing >= utf8.size() && trailing > 0) {
            // Cut short by the end of the input, unless a byte before the end already shows
            // that the sequence is malformed.
            bool continuation = true;
            for (std::size_t k = pos + 1; k < utf8.size(); ++k)
                continuation = continuation && (static_cast<unsigned char>(utf8[k]) & 0xC0) == 0x80;
            if (continuation) break;
        }
        if (lead >= 0x80 && lead < 0xC0) {  // a continuation byte with no lead
            out.push_back(0xFFFD);
            ++pos;
            continue;
        }
        std::uint32_t v = trailing == 0 ? lead : lead & (0x3F >> trailing);
        std::size_t next = pos + 1;
        bool ok = true;
        for (int k = 0; k < trailing; ++k, ++next) {
            const auto byte = static_cast<unsigned char>(utf8[next]);
            if ((byte & 0xC0) != 0x80) {
                ok = false;
                break;
            }
            v = (v << 6) | (byte & 0x3F);
        }
        if (!ok || trailing > 3 || v < kMinimum[trailing] || v > 0x10FFFF ||
            (v >= 0xD800 && v <= 0xDFFF)) {
            out.push_back(0xFFFD);
            pos = next;  // a broken sequence resumes at the byte that broke it
            continue;
        }
        AppendUtf16(out, v);
        pos = next;
    }
    return out;
}

}  // namespace rv
