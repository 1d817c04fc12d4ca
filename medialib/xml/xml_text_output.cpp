#include "medialib/xml/xml_text_output.h"

#include <algorithm>
#include <charconv>
#include <cstddef>
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
enum ByteKind : unsigned char { kPlain, kEscape, kMultiByte };

// Other readers turn a raw CR (and CR LF) into LF, and in attribute values TAB, CR and LF into
// blanks: written as references, these reach every reader as they are. The other control
// characters XML cannot carry at all: they are written as blanks.
constexpr std::array<unsigned char, 256> MakeByteKinds(bool attribute) {
    std::array<unsigned char, 256> kinds{};
    for (int c = 0; c < 0x20; ++c) kinds[c] = kEscape;
    kinds['\t'] = kinds['\n'] = attribute ? kEscape : kPlain;
    kinds['\r'] = kEscape;
    kinds['&'] = kinds['<'] = kinds['>'] = kinds['"'] = kEscape;
    for (int c = 0x80; c < 0x100; ++c) kinds[c] = kMultiByte;
    return kinds;
}

constexpr std::array<unsigned char, 256> kTextKinds = MakeByteKinds(false);
constexpr std::array<unsigned char, 256> kAttributeKinds = MakeByteKinds(true);

std::string_view EscapeOf(unsigned char c) {
    switch (c) {
        case '&':
            return "&amp;";
        case '<':
            return "&lt;";
        case '>':
            return "&gt;";
        case '"':
            return "&quot;";
        case '\r':
            return "&#xD;";
        case '\t':
            return "&#x9;";
        case '\n':
            return "&#xA;";
        default:
            return " ";  // a control character XML cannot carry
    }
}

// The character XML carries in place of `c`: itself, a blank for a control character, U+FFFD
// for the non-characters U+FFFE and U+FFFF (and for malformed UTF-8, which decodes to it).
char32_t Carried(char32_t c) {
    if (xml_chars::IsXmlChar(c)) return c;
    return c < 0x20 ? U' ' : kReplacementChar;
}

// Whether the eight bytes at `p` are ASCII that needs neither escaping nor replacing (tab, CR
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

// "&#x10FFFF;"
constexpr size_t kLongestReference = 10;

// Writes "&#xHEX;" at `to`; gives the end.
char* PutReference(char* to, char32_t c) {
    char digits[8];
    char* d = digits + sizeof digits;
    do {
        *--d = "0123456789ABCDEF"[c & 0xF];
        c >>= 4;
    } while (c != 0);
    std::memcpy(to, "&#x", 3);
    to += 3;
    const auto count = static_cast<size_t>(digits + sizeof digits - d);
    std::memcpy(to, d, count);
    to += count;
    *to++ = ';';
    return to;
}

}  // namespace

std::string XmlCharsOnly(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    size_t pos = 0;
    while (pos < text.size()) {
        const auto b = static_cast<unsigned char>(text[pos]);
        if (b < 0x80) {
            out += static_cast<char>(Carried(b));
            ++pos;
            continue;
        }
        AppendUtf8(out, Carried(DecodeUtf8(text, pos)));
    }
    return out;
}

XmlTextOutput::XmlTextOutput(const XmlEncoding& encoding) : encoding_(encoding) {}

XmlTextOutput::~XmlTextOutput() = default;

std::string XmlTextOutput::Take() {
    buffer_.resize(size_);
    std::string bytes = std::move(buffer_);
    buffer_.clear();
    size_ = 0;
    return bytes;
}

void XmlTextOutput::Grow(size_t count) {
    buffer_.resize(std::max({buffer_.size() * 2, size_ + count, size_t{4096}}));
}

void XmlTextOutput::LineBreak(int depth) {
    static constexpr char kBreaks[kPadded + 1] =
        "\r\n\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t";
    const auto tabs = static_cast<size_t>(depth);
    if (tabs + 2 <= kPadded) {
        RawPadded(kBreaks, tabs + 2);
    } else {
        Raw("\r\n");
        Tabs(depth);
    }
}

void XmlTextOutput::Tabs(int depth) {
    const auto tabs = static_cast<size_t>(depth);
    std::memset(Room(tabs), '\t', tabs);
    size_ += tabs;
}

void XmlTextOutput::Escaped(std::string_view text) {
    Escaped(text, kTextKinds);
}

void XmlTextOutput::AttributeValue(std::string_view text) {
    Escaped(text, kAttributeKinds);
}

void XmlTextOutput::Escaped(std::string_view text, const std::array<unsigned char, 256>& kinds) {
    // Room is made a slice at a time, for the most a slice can become: no byte turns into more
    // than eight ("&#xFFFD;" for a malformed one), and a character begun in the slice may run
    // three bytes past it.
    constexpr size_t kSlice = 4096, kMostPerByte = 8;
    const char* p = text.data();
    const char* const end = p + text.size();
    while (p < end) {
        const char* const sliceEnd =
            end - p > static_cast<std::ptrdiff_t>(kSlice) ? p + kSlice : end;
        char* const start = Room((static_cast<size_t>(sliceEnd - p) + 3) * kMostPerByte);
        char* to = start;
        while (p < sliceEnd) {
            while (sliceEnd - p >= 8 && EightPlain(p)) {
                std::memcpy(to, p, 8);
                to += 8, p += 8;
            }
            while (p < sliceEnd && kinds[static_cast<unsigned char>(*p)] == kPlain) *to++ = *p++;
            if (p == sliceEnd) break;
            const auto lead = static_cast<unsigned char>(*p);
            switch (kinds[lead]) {
                case kEscape: {
                    const std::string_view entity = EscapeOf(lead);
                    std::memcpy(to, entity.data(), entity.size());
                    to += entity.size();
                    ++p;
                    break;
                }
                default: {
                    // Two-byte characters (every Latin, Greek and Cyrillic letter) through a
                    // table.
                    if (!encoding_.utf8 && lead >= 0xC2 && lead <= 0xDF && end - p >= 2 &&
                        (static_cast<unsigned char>(p[1]) & 0xC0) == 0x80) {
                        const auto cp = static_cast<char32_t>(
                            ((lead & 0x1F) << 6) | (static_cast<unsigned char>(p[1]) & 0x3F));
                        p += 2;
                        if (const unsigned char byte = TwoByteTable()[cp - 0x80])
                            *to++ = static_cast<char>(byte);
                        else
                            to = PutReference(to, cp);
                        break;
                    }
                    size_t pos = static_cast<size_t>(p - text.data());
                    const char32_t cp = Carried(DecodeUtf8(text, pos));
                    const char* const next = text.data() + pos;
                    if (encoding_.utf8) {
                        if (cp == kReplacementChar) {
                            // malformed bytes, a non-character, or U+FFFD itself
                            std::memcpy(to, "\xEF\xBF\xBD", 3);
                            to += 3;
                        } else {
                            std::memcpy(to, p, static_cast<size_t>(next - p));
                            to += next - p;  // well-formed: its bytes as they are
                        }
                    } else if (const auto byte = UnicodeToCodePage(encoding_.page, cp)) {
                        *to++ = static_cast<char>(*byte);
                    } else {
                        to = PutReference(to, cp);
                    }
                    p = next;
                }
            }
        }
        size_ += static_cast<size_t>(to - start);
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
            Raw(static_cast<char>(Carried(b)));
            ++pos;
            lineEnd = lineEnd || b == '\n' || b == '\r';
            continue;
        }
        const char32_t c = Carried(DecodeUtf8(text, pos));
        if (Encoded(c)) continue;
        if (missing == Missing::Fail) {
            throw EXmlError(Format(xml_messages::kNameNotEncodable, std::string(text).c_str(),
                                   std::string(CodePageName(encoding_.page)).c_str()));
        }
        Raw('?');
    }
    return lineEnd;
}

void XmlTextOutput::Name(std::string_view name) {
    if (encoding_.utf8 || IsAscii(name))
        Raw(name);
    else
        Chars(name, Missing::Fail);
}

bool XmlTextOutput::IsAscii(std::string_view text) {
    unsigned char any = 0;
    for (const char c : text) any |= static_cast<unsigned char>(c);
    return any < 0x80;
}

void XmlTextOutput::Reference(char32_t c) {
    char* const start = Room(kLongestReference);
    size_ += static_cast<size_t>(PutReference(start, c) - start);
}

void XmlTextOutput::Integer(std::int64_t value) {
    char* const start = Room(24);
    size_ += static_cast<size_t>(std::to_chars(start, start + 24, value).ptr - start);
}

void XmlTextOutput::Float(double value) {
    Raw(FloatToText(value));
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
        std::string bytes;
        AppendUtf8(bytes, c);
        Raw(bytes);
        return true;
    }
    if (const auto byte = UnicodeToCodePage(encoding_.page, c)) {
        Raw(static_cast<char>(*byte));
        return true;
    }
    return false;
}

}  // namespace rv
