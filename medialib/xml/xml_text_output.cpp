#include "medialib/xml/xml_text_output.h"

#include <charconv>
#include <cstdio>
#include <cstring>

#include "medialib/xml/number_text.h"
#include "medialib/xml/xml_chars.h"
#include "medialib/xml/xml_error.h"
#include "medialib/xml/xml_messages.h"
#include "platform/text/format.h"
#include "platform/text/utf8.h"

namespace rv {

namespace {

// What a byte of a text asks of the writer.
enum ByteKind : unsigned char { kPlain, kEscape, kDrop, kMultiByte };

constexpr std::array<unsigned char, 256> MakeByteKinds() {
    std::array<unsigned char, 256> kinds{};
    for (int c = 0; c < 0x20; ++c) kinds[c] = kDrop;
    kinds['\t'] = kinds['\n'] = kinds['\r'] = kPlain;
    kinds['&'] = kinds['<'] = kinds['>'] = kinds['"'] = kEscape;
    for (int c = 0x80; c < 0x100; ++c) kinds[c] = kMultiByte;
    return kinds;
}

constexpr std::array<unsigned char, 256> kByteKinds = MakeByteKinds();

// Whether the eight bytes at `p` are ASCII that needs neither escaping nor dropping (tab, CR
// and LF are left to the byte-wise check).
bool EightPlain(const char* p) {
    constexpr std::uint64_t kOnes = 0x0101010101010101u, kHigh = 0x8080808080808080u;
    std::uint64_t w;
    std::memcpy(&w, p, 8);
    if (w & kHigh) return false;
    const auto has = [w](unsigned char c) {
        const std::uint64_t x = w ^ (kOnes * c);
        return (x - kOnes) & ~x & kHigh;
    };
    return !(((w - kOnes * 0x20) & ~w & kHigh) | has('&') | has('<') | has('>') | has('"'));
}

}  // namespace

std::string XmlCharsOnly(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    size_t pos = 0;
    while (pos < text.size()) {
        const auto b = static_cast<unsigned char>(text[pos]);
        if (b < 0x80) {
            if (kByteKinds[b] != kDrop) out += static_cast<char>(b);
            ++pos;
            continue;
        }
        const char32_t c = DecodeUtf8(text, pos);
        if (xml_chars::IsXmlChar(c)) AppendUtf8(out, c);
    }
    return out;
}

XmlTextOutput::XmlTextOutput(const XmlEncoding& encoding) : encoding_(encoding) {}

XmlTextOutput::~XmlTextOutput() = default;

void XmlTextOutput::LineBreak(int depth) {
    static constexpr std::string_view kBreaks =
        "\r\n\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t";
    const auto tabs = static_cast<size_t>(depth);
    if (tabs + 2 <= kBreaks.size()) {
        out_.append(kBreaks.data(), tabs + 2);
    } else {
        out_ += "\r\n";
        out_.append(tabs, '\t');
    }
}

void XmlTextOutput::Escaped(std::string_view text) {
    const char* p = text.data();
    const char* const end = p + text.size();
    while (p < end) {
        const char* run = p;
        while (end - p >= 8 && EightPlain(p)) p += 8;
        while (p < end && kByteKinds[static_cast<unsigned char>(*p)] == kPlain) ++p;
        out_.append(run, p);
        if (p == end) break;
        const char c = *p;
        switch (kByteKinds[static_cast<unsigned char>(c)]) {
            case kEscape:
                out_ += c == '&' ? "&amp;" : c == '<' ? "&lt;" : c == '>' ? "&gt;" : "&quot;";
                ++p;
                break;
            case kDrop:
                ++p;
                break;
            default: {
                // Two-byte characters (every Latin, Greek and Cyrillic letter) through a table.
                const auto lead = static_cast<unsigned char>(c);
                if (!encoding_.utf8 && lead >= 0xC2 && lead <= 0xDF && end - p >= 2 &&
                    (static_cast<unsigned char>(p[1]) & 0xC0) == 0x80) {
                    const auto cp = static_cast<char32_t>(
                        ((lead & 0x1F) << 6) | (static_cast<unsigned char>(p[1]) & 0x3F));
                    p += 2;
                    if (const unsigned char byte = TwoByteTable()[cp - 0x80])
                        out_ += static_cast<char>(byte);
                    else
                        Reference(cp);
                    break;
                }
                size_t pos = static_cast<size_t>(p - text.data());
                const char32_t cp = DecodeUtf8(text, pos);
                const char* const next = text.data() + pos;
                if (encoding_.utf8 && cp != kReplacementChar && xml_chars::IsXmlChar(cp))
                    out_.append(p, next);  // well-formed: its bytes as they are
                else if (xml_chars::IsXmlChar(cp) && !Encoded(cp))
                    Reference(cp);
                p = next;
            }
        }
    }
}

void XmlTextOutput::Content(std::string_view text) {
    if (xml_chars::HasSolidChar(text)) {
        Escaped(text);
        return;
    }
    const std::string blanks = XmlCharsOnly(text);
    if (blanks.empty()) return;
    Reference(static_cast<unsigned char>(blanks[0]));
    Escaped(std::string_view(blanks).substr(1));
}

bool XmlTextOutput::Chars(std::string_view text, Missing missing) {
    bool lineEnd = false;
    size_t pos = 0;
    while (pos < text.size()) {
        const auto b = static_cast<unsigned char>(text[pos]);
        if (b < 0x80) {
            if (kByteKinds[b] != kDrop) out_ += static_cast<char>(b);
            ++pos;
            lineEnd = lineEnd || b == '\n' || b == '\r';
            continue;
        }
        const char32_t c = DecodeUtf8(text, pos);
        if (!xml_chars::IsXmlChar(c) || Encoded(c)) continue;
        if (missing == Missing::Fail) {
            throw EXmlError(Format(xml_messages::kNameNotEncodable, std::string(text).c_str(),
                                   std::string(CodePageName(encoding_.page)).c_str()));
        }
        out_ += '?';
    }
    return lineEnd;
}

void XmlTextOutput::Name(std::string_view name) {
    if (encoding_.utf8 || IsAscii(name))
        out_.append(name);
    else
        Chars(name, Missing::Fail);
}

bool XmlTextOutput::IsAscii(std::string_view text) {
    unsigned char any = 0;
    for (const char c : text) any |= static_cast<unsigned char>(c);
    return any < 0x80;
}

void XmlTextOutput::Reference(char32_t c) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "&#x%X;", static_cast<unsigned>(c));
    out_ += buffer;
}

void XmlTextOutput::Integer(std::int64_t value) {
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out_.append(buffer, result.ptr);
}

void XmlTextOutput::Float(double value) {
    out_ += FloatToText(value);
}

const std::array<unsigned char, 0x780>& XmlTextOutput::TwoByteTable() {
    // The code page's byte for each character from U+0080 to U+07FF; 0 where it has none.
    if (!twoByte_) {
        twoByte_ = std::make_unique<std::array<unsigned char, 0x780>>();
        for (char32_t c = 0x80; c < 0x800; ++c)
            (*twoByte_)[c - 0x80] = UnicodeToCodePage(encoding_.page, c).value_or(0);
    }
    return *twoByte_;
}

bool XmlTextOutput::Encoded(char32_t c) {
    if (encoding_.utf8) {
        AppendUtf8(out_, c);
        return true;
    }
    if (const auto byte = UnicodeToCodePage(encoding_.page, c)) {
        out_ += static_cast<char>(*byte);
        return true;
    }
    return false;
}

}  // namespace rv
