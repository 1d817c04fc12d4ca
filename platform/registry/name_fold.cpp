#include "platform/registry/name_fold.h"

#include "platform/text/ascii_case.h"
#include "platform/text/case_mapping.h"
#include "platform/text/utf8.h"

namespace rv {

namespace {

constexpr std::string_view kEncodedReplacement = "\xEF\xBF\xBD";
// Never part of UTF-8, so a marked byte cannot equal anything a character folds to.
constexpr char kRawByteMark = '\xFF';

}  // namespace

std::string FoldName(std::string_view name) {
    std::string folded;
    folded.reserve(name.size());
    std::size_t pos = 0;
    while (pos < name.size()) {
        if (static_cast<unsigned char>(name[pos]) < 0x80) {
            folded += AsciiLower(name[pos++]);
            continue;
        }
        const std::size_t start = pos;
        const char32_t code = DecodeUtf8(name, pos);
        if (code == kReplacementChar && name.substr(start, pos - start) != kEncodedReplacement) {
            for (std::size_t i = start; i < pos; ++i) {
                folded += kRawByteMark;
                folded += name[i];
            }
            continue;
        }
        const std::u32string mapped = CaseLookup(code, CaseMapping::Folding);
        if (mapped.size() == 1 && mapped[0] == code) {
            // The table holds the Basic Multilingual Plane; the other planes fold one for one.
            AppendUtf8(folded, SimpleLowerCase(code));
        } else {
            for (const char32_t c : mapped) AppendUtf8(folded, c);
        }
    }
    return folded;
}

}  // namespace rv
