#include "platform/text/codepage.h"

#include <array>
#include <cstdint>

#include "platform/text/ascii_case.h"

namespace rv {

namespace {

// Upper halves (0x80..0xFF) of the code pages.
constexpr std::array<char16_t, 128> kWindows1250High = {
    0x20AC, 0x0081, 0x201A, 0x0083, 0x201E, 0x2026, 0x2020, 0x2021,  //
    0x0088, 0x2030, 0x0160, 0x2039, 0x015A, 0x0164, 0x017D, 0x0179,  //
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  //
    0x0098, 0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A,  //
    0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6, 0x00A7,  //
    0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B,  //
    0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7,  //
    0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C,  //
    0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7,  //
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E,  //
    0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7,  //
    0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF,  //
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7,  //
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F,  //
    0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7,  //
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,
};

constexpr std::array<char16_t, 32> kWindows1252C1 = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  //
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  //
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  //
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

struct Table {
    std::array<char16_t, 256> toUnicode{};
    // UTF-8 form of every byte, for decoding without branching on the value.
    std::array<std::array<char, 4>, 256> utf8{};  // [0] = length
    // Reverse map for U+0000..U+22FF, which holds every character of the three pages;
    // 0 means "missing" (NUL itself is handled before the look-up).
    std::array<std::uint8_t, 0x2300> fromUnicode{};
};

Table MakeTable(CodePage page) {
    Table t;
    for (int b = 0; b < 256; ++b) {
        char16_t cp = static_cast<char16_t>(b);
        if (b >= 0x80 && page == CodePage::Windows1250) cp = kWindows1250High[b - 0x80];
        if (b >= 0x80 && b < 0xA0 && page == CodePage::Windows1252) cp = kWindows1252C1[b - 0x80];
        t.toUnicode[b] = cp;
        std::string bytes;
        AppendUtf8(bytes, cp);
        t.utf8[b][0] = static_cast<char>(bytes.size());
        for (size_t i = 0; i < bytes.size(); ++i) t.utf8[b][i + 1] = bytes[i];
        t.fromUnicode[cp] = static_cast<std::uint8_t>(b);
    }
    return t;
}

const Table& TableOf(CodePage page) {
    static const Table w1250 = MakeTable(CodePage::Windows1250);
    static const Table w1252 = MakeTable(CodePage::Windows1252);
    static const Table latin1 = MakeTable(CodePage::Iso8859_1);
    switch (page) {
        case CodePage::Windows1250:
            return w1250;
        case CodePage::Windows1252:
            return w1252;
        case CodePage::Iso8859_1:
            break;
    }
    return latin1;
}

}  // namespace

std::optional<CodePage> CodePageFromName(std::string_view name) {
    const std::string n = LowerCase(name);
    if (n == "windows-1250" || n == "cp1250" || n == "x-cp1250") return CodePage::Windows1250;
    if (n == "windows-1252" || n == "cp1252" || n == "x-cp1252") return CodePage::Windows1252;
    if (n == "iso-8859-1" || n == "iso8859-1" || n == "iso_8859-1" || n == "latin1" ||
        n == "latin-1" || n == "l1")
        return CodePage::Iso8859_1;
    return std::nullopt;
}

std::string_view CodePageName(CodePage page) {
    switch (page) {
        case CodePage::Windows1250:
            return "windows-1250";
        case CodePage::Windows1252:
            return "windows-1252";
        case CodePage::Iso8859_1:
            break;
    }
    return "ISO-8859-1";
}

char32_t CodePageToUnicode(CodePage page, unsigned char byte) {
    return TableOf(page).toUnicode[byte];
}

std::optional<unsigned char> UnicodeToCodePage(CodePage page, char32_t cp) {
    if (cp == 0) return 0;
    const Table& t = TableOf(page);
    if (cp >= t.fromUnicode.size() || t.fromUnicode[cp] == 0) return std::nullopt;
    return t.fromUnicode[cp];
}

std::string DecodeCodePage(CodePage page, std::string_view bytes) {
    const Table& t = TableOf(page);
    std::string out;
    out.resize(bytes.size() * 3);
    char* dst = out.data();
    for (const char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        if (b < 0x80) {
            *dst++ = ch;
            continue;
        }
        const auto& u = t.utf8[b];
        dst[0] = u[1], dst[1] = u[2], dst[2] = u[3];
        dst += u[0];
    }
    out.resize(static_cast<size_t>(dst - out.data()));
    return out;
}

std::string EncodeCodePage(CodePage page, std::string_view utf8) {
    return EncodeCodePage(page, utf8, [](char32_t) { return std::string_view("?"); });
}

bool CodePageHasAll(CodePage page, std::string_view utf8) {
    size_t pos = 0;
    while (pos < utf8.size()) {
        if (static_cast<unsigned char>(utf8[pos]) < 0x80) {
            ++pos;
            continue;
        }
        if (!UnicodeToCodePage(page, DecodeUtf8(utf8, pos))) return false;
    }
    return true;
}

}  // namespace rv
