#include "platform/transfer/media_bytes.h"

#include <cstdio>
#include <cstdlib>

#include "platform/text/utf16.h"
#include "platform/transfer/clipboard_format_names.h"

namespace rv {

namespace {

enum class Kind { Raw, Text, Utf16Text, Html };

Kind KindOf(TClipFormat format) {
    const std::string type = FormatMediaType(format);
    if (type == "text/plain;charset=utf-8") return Kind::Utf16Text;
    if (type == "text/html") return Kind::Html;
    if (type.starts_with("text/")) return Kind::Text;
    return Kind::Raw;
}

std::string_view UpToNul(std::string_view bytes) {
    return bytes.substr(0, bytes.find('\0'));
}

// The value after `label` in the description at the start of an HTML clipboard document; -1
// when it is missing or not a number.
long DescriptionValue(std::string_view doc, std::string_view label) {
    const std::size_t at = doc.find(label);
    if (at == std::string_view::npos || at > 512) return -1;
    std::size_t p = at + label.size();
    long value = 0;
    bool digits = false;
    while (p < doc.size() && doc[p] >= '0' && doc[p] <= '9' && value < 100000000) {
        value = value * 10 + (doc[p++] - '0');
        digits = true;
    }
    return digits ? value : -1;
}

std::string HtmlFromDescription(std::string_view doc) {
    doc = UpToNul(doc);
    const long start = DescriptionValue(doc, "StartHTML:");
    long end = DescriptionValue(doc, "EndHTML:");
    if (end < 0 || std::size_t(end) > doc.size()) end = long(doc.size());
    if (start < 0 || start > end) return std::string(doc);
    return std::string(doc.substr(std::size_t(start), std::size_t(end - start)));
}

// An HTML clipboard document whose fragment is the whole document given.
std::string DescriptionAround(std::string_view html) {
    const char* const layout =
        "Version:0.9\r\nStartHTML:%010zu\r\nEndHTML:%010zu\r\nStartFragment:%010zu\r\n"
        "EndFragment:%010zu\r\n";
    char probe[160];
    const int headerSize = std::snprintf(probe, sizeof probe, layout, std::size_t(0),
                                         std::size_t(0), std::size_t(0), std::size_t(0));
    const std::size_t start = std::size_t(headerSize), end = start + html.size();
    std::snprintf(probe, sizeof probe, layout, start, end, start, end);
    std::string doc = probe;
    doc += html;
    doc += '\0';
    return doc;
}

}  // namespace

std::string ToMediaBytes(TClipFormat format, std::string_view bytes) {
    switch (KindOf(format)) {
        case Kind::Text:
            return std::string(UpToNul(bytes));
        case Kind::Utf16Text: {
            std::u16string units;
            for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
                const auto unit =
                    char16_t(std::uint8_t(bytes[i]) | std::uint8_t(bytes[i + 1]) << 8);
                if (unit == 0) break;
                units.push_back(unit);
            }
            return Utf16ToUtf8(units);
        }
        case Kind::Html:
            return HtmlFromDescription(bytes);
        case Kind::Raw:
            break;
    }
    return std::string(bytes);
}

std::string FromMediaBytes(TClipFormat format, std::string_view bytes) {
    switch (KindOf(format)) {
        case Kind::Text:
            return std::string(UpToNul(bytes)) + '\0';
        case Kind::Utf16Text: {
            std::string out;
            for (char16_t unit : Utf8ToUtf16(UpToNul(bytes))) {
                out += char(unit & 0xFF);
                out += char(unit >> 8);
            }
            out.append(2, '\0');
            return out;
        }
        case Kind::Html:
            return DescriptionAround(UpToNul(bytes));
        case Kind::Raw:
            break;
    }
    return std::string(bytes);
}

}  // namespace rv
