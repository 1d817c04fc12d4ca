#include "readers/tag_text.h"

#include <charconv>

#include "platform/text/codepage.h"
#include "platform/text/utf16.h"
#include "platform/text/utf8.h"

namespace rv {

namespace {

bool IsControl(char32_t cp) {
    return cp < 0x20 || cp == 0x7F || (cp >= 0x80 && cp < 0xA0);
}

// Clean text, built one character at a time: controls become blanks, blanks in front are
// dropped, and it keeps `maxChars` characters. Blanks at the end are dropped only where the text
// ends: a text cut at `maxChars` keeps a blank its cut falls after.
class CleanText {
public:
    CleanText(std::size_t expectedBytes, std::size_t maxChars) : maxChars_(maxChars) {
        out_.reserve(expectedBytes);
    }
    // No more characters are wanted: the text holds `maxChars` of them and one that is no blank
    // came after them.
    bool Full() const { return cut_; }
    void Add(char32_t cp) {
        if (IsControl(cp)) cp = ' ';
        if (cp == ' ' && chars_ == 0) return;
        if (chars_ >= maxChars_) {
            if (cp != ' ') cut_ = true;
            return;
        }
        if (cp < 0x80)
            out_.push_back(static_cast<char>(cp));
        else
            AppendUtf8(out_, cp);
        ++chars_;
    }
    // A character that is no control and no blank, already in UTF-8.
    void AddEncoded(std::string_view bytes) {
        if (chars_ >= maxChars_) {
            cut_ = true;
            return;
        }
        out_.append(bytes);
        ++chars_;
    }
    // The text, without blanks at its end unless it was cut there.
    std::string Take() {
        if (!cut_) out_.erase(out_.find_last_not_of(' ') + 1);
        return std::move(out_);
    }

private:
    std::string out_;
    std::size_t chars_ = 0;
    std::size_t maxChars_;
    bool cut_ = false;
};

// Length of the text without a multi-byte sequence that the end of the buffer cut short.
std::size_t WithoutCutSequence(std::string_view text) {
    std::size_t lead = text.size();
    for (std::size_t back = 0; back < 4 && lead > 0; ++back) {
        const auto c = static_cast<unsigned char>(text[lead - 1]);
        if ((c & 0xC0) != 0x80) break;
        --lead;
    }
    if (lead == 0) return text.size();
    const auto c = static_cast<unsigned char>(text[lead - 1]);
    const std::size_t need = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
    return text.size() - (lead - 1) < need ? lead - 1 : text.size();
}

std::string DecodeLatin(std::string_view bytes, std::size_t maxChars) {
    CleanText text(bytes.size(), maxChars);
    for (std::size_t i = 0; i < bytes.size() && bytes[i] != 0 && !text.Full(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        text.Add(byte < 0x80 ? byte : CodePageToUnicode(CodePage::Windows1252, byte));
    }
    return text.Take();
}

std::string DecodeUtf16Bytes(std::string_view bytes, bool bigEndian, std::size_t maxChars) {
    std::u16string units;
    units.reserve(bytes.size() / 2);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const auto b0 = static_cast<unsigned char>(bytes[i]);
        const auto b1 = static_cast<unsigned char>(bytes[i + 1]);
        const auto unit = static_cast<char16_t>(bigEndian ? (b0 << 8) | b1 : (b1 << 8) | b0);
        if (i == 0 && (unit == 0xFFFE || unit == 0xFEFF)) {
            bigEndian = unit == (bigEndian ? 0xFEFF : 0xFFFE);
            continue;
        }
        if (unit == 0) break;
        units.push_back(unit);
    }
    // Half a pair at the end of the text was cut off; a lone half inside it is no character.
    if (!units.empty() && IsHighSurrogate(units.back())) units.pop_back();
    CleanText text(units.size(), maxChars);
    for (std::size_t pos = 0; pos < units.size() && !text.Full();) {
        const char32_t cp = DecodeUtf16(units, pos);
        if (cp != 0xFEFF) text.Add(cp);  // a stray byte-order mark is no character
    }
    return text.Take();
}

}  // namespace

std::size_t TerminatorWidth(TagEncoding encoding) {
    return encoding == TagEncoding::Utf16 || encoding == TagEncoding::Utf16BE ? 2 : 1;
}

std::size_t FindTerminator(std::string_view bytes, TagEncoding encoding) {
    if (TerminatorWidth(encoding) == 1) return bytes.find('\0');
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
        if (bytes[i] == 0 && bytes[i + 1] == 0) return i;
    return std::string_view::npos;
}

std::string DecodeTagText(std::string_view bytes, TagEncoding encoding) {
    switch (encoding) {
        case TagEncoding::Latin:
            return DecodeLatin(bytes, kText255);
        case TagEncoding::Utf16:
        case TagEncoding::Utf16BE:
            return DecodeUtf16Bytes(bytes, encoding == TagEncoding::Utf16BE, kText255);
        case TagEncoding::Utf8: {
            const std::string_view text = bytes.substr(0, bytes.find('\0'));
            return CleanTagText(text.substr(0, WithoutCutSequence(text)), kText255);
        }
    }
    return {};
}

std::string CleanTagText(std::string_view utf8, std::size_t maxChars) {
    CleanText text(utf8.size(), maxChars);
    std::size_t pos = 0;
    while (pos < utf8.size() && !text.Full()) {
        const std::size_t start = pos;
        const char32_t cp = DecodeUtf8(utf8, pos);
        // A malformed sequence decodes to U+FFFD, whose bytes are not the ones read.
        if (cp < 0x80 || IsControl(cp) || cp == kReplacementChar)
            text.Add(cp);
        else
            text.AddEncoded(utf8.substr(start, pos - start));
    }
    return text.Take();
}

std::uint32_t ParseTrackNumber(std::string_view text, std::uint32_t maxValue) {
    text = text.substr(0, text.find('/'));
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return 0;
    text = text.substr(first, text.find_last_not_of(' ') + 1 - first);
    std::uint32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value > maxValue) return 0;
    return value;
}

}  // namespace rv
