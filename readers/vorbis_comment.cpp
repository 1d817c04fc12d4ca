#include "readers/vorbis_comment.h"

#include <algorithm>

#include "platform/text/ascii_case.h"
#include "platform/text/case_mapping.h"
#include "platform/text/codepage.h"
#include "platform/text/utf16.h"
#include "platform/text/utf8_to_wide.h"
#include "readers/tag_text.h"

namespace rv {

namespace {

constexpr std::uint64_t kLengthSize = 4;

}  // namespace

void TVorbisComment::Reset() {
    vendor_.clear();
    vendorLength_ = 0;
    fields_.clear();
    lengths_.clear();
}

bool TVorbisComment::ReadFromStream(BoundedReader& block) {
    vendorLength_ = block.LE32();
    if (!block.Ok() || vendorLength_ > block.Remaining()) return false;
    vendor_ = CleanTagText(Utf16ToUtf8(Decode(block.ReadString(vendorLength_))));

    const std::uint32_t count = block.LE32();
    if (!block.Ok()) return false;
    // Each field takes at least its length word, which bounds what a true count can be.
    const std::uint64_t possible = block.Remaining() / kLengthSize;
    fields_.reserve(static_cast<std::size_t>(std::min<std::uint64_t>(count, possible)));
    lengths_.reserve(fields_.capacity());
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::uint32_t length = block.LE32();
        if (!block.Ok() || length > block.Remaining()) return false;
        fields_.push_back(block.ReadString(length));
        lengths_.push_back(length);
    }
    return true;
}

std::u16string TVorbisComment::Decode(std::string_view bytes) const {
    return utf8Values_ ? UTF8ToWideString(bytes)
                       : Utf8ToUtf16(DecodeCodePage(CodePage::Windows1252, bytes));
}

std::u16string TVorbisComment::FieldName(std::size_t index) const {
    if (index >= fields_.size()) return {};
    const std::string_view field = fields_[index];
    const std::u16string name = Decode(field.substr(0, field.find('=')));
    return caseMapNames_ ? WideUpperCaseFull(name) : name;
}

std::u16string TVorbisComment::FieldValue(std::size_t index) const {
    if (index >= fields_.size()) return {};
    const std::string_view field = fields_[index];
    const std::size_t equals = field.find('=');
    return equals == std::string_view::npos ? std::u16string() : Decode(field.substr(equals + 1));
}

std::string TVorbisComment::GetValue(std::string_view name) const {
    const std::string wanted = UpperCase(name);
    for (std::size_t i = 0; i < fields_.size(); ++i)
        if (UpperCase(Utf16ToUtf8(FieldName(i))) == wanted)
            return CleanTagText(Utf16ToUtf8(FieldValue(i)));
    return {};
}

std::string TVorbisComment::Year() const {
    std::string year = GetValue("YEAR");
    if (!year.empty()) return year;
    const std::string date = GetValue("DATE");
    if (date.size() >= 4 &&
        std::all_of(date.begin(), date.begin() + 4, [](char c) { return c >= '0' && c <= '9'; }))
        return date.substr(0, 4);
    return {};
}

}  // namespace rv
