#include "readers/tests/asf_bytes.h"

#include "platform/text/utf16.h"
#include "readers/tests/tag_bytes.h"

namespace rv::test {

std::string Utf16LE(std::string_view utf8, bool terminate) {
    std::string bytes;
    for (const char16_t unit : Utf8ToUtf16(utf8)) bytes += LE16(unit);
    if (terminate) bytes += LE16(0);
    return bytes;
}

namespace {

// The 16 bytes of a GUID as a file holds them: the first three groups little-endian.
std::string GUIDBytes(std::string_view text) {
    std::string hex;
    for (const char c : text)
        if (c != '-') hex.push_back(c);
    std::string value;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        value.push_back(static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16)));
    constexpr int kOrder[16] = {3, 2, 1, 0, 5, 4, 7, 6, 8, 9, 10, 11, 12, 13, 14, 15};
    std::string bytes;
    for (const int i : kOrder) bytes.push_back(value[i]);
    return bytes;
}

}  // namespace

std::string ASFObject(std::string_view guid, std::string_view body,
                      std::optional<std::uint64_t> size) {
    return GUIDBytes(guid) + LE64(size.value_or(24 + body.size())) + std::string(body);
}

std::string ASFHeader(const std::vector<std::string>& children, long count) {
    std::string body;
    for (const std::string& child : children) body += child;
    const auto n = static_cast<std::uint32_t>(count < 0 ? children.size() : count);
    return GUIDBytes("75B22630-668E-11CF-A6D9-00AA0062CE6C") + LE64(30 + body.size()) + LE32(n) +
           "\x01\x02" + body;
}

std::string FileProperties(std::uint32_t maxBitRate) {
    // Object offset 100 is body offset 76.
    return ASFObject("8CABDCA1-A947-11CF-8EE4-00C00C205365",
                     std::string(76, '\x11') + LE32(maxBitRate));
}

std::string StreamProperties(std::uint16_t channels, std::uint32_t sampleRate,
                             std::uint32_t byteRate) {
    // The WAVEFORMATEX begins at object offset 78 (body offset 54): format tag 0x161 (WMA 2).
    return ASFObject("B7DC0791-A9B7-11CF-8EE6-00C00C205365",
                     std::string(54, '\x22') + LE16(0x161) + LE16(channels) + LE32(sampleRate) +
                         LE32(byteRate) + LE16(2048) + LE16(16));
}

std::string ContentDescription(const std::vector<std::string>& texts) {
    std::string lengths, strings;
    for (const std::string& text : texts) {
        const std::string stored = text.empty() ? "" : Utf16LE(text);
        lengths += LE16(static_cast<std::uint16_t>(stored.size()));
        strings += stored;
    }
    return ASFObject("75B22633-668E-11CF-A6D9-00AA0062CE6C", lengths + strings);
}

std::string ExtendedContentDescription(const std::vector<Descriptor>& descriptors) {
    std::string body = LE16(static_cast<std::uint16_t>(descriptors.size()));
    for (const Descriptor& d : descriptors) {
        const std::string name = Utf16LE(d.name);
        const std::string value = d.type == 0 ? Utf16LE(d.value) : d.value;
        body += LE16(static_cast<std::uint16_t>(name.size())) + name + LE16(d.type) +
                LE16(static_cast<std::uint16_t>(value.size())) + value;
    }
    return ASFObject("D2D0A440-E307-11D2-97F0-00A0C95EA850", body);
}

}  // namespace rv::test
