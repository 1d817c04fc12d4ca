#include "readers/id3v2_frame_text.h"

#include <charconv>

#include "readers/id3v1_genres.h"

namespace rv {

namespace {

// The bytes after a description that ends with its terminating zero; empty when there is none.
std::string_view AfterDescription(std::string_view bytes, TagEncoding encoding) {
    const std::size_t end = FindTerminator(bytes, encoding);
    if (end == std::string_view::npos) return {};
    return bytes.substr(end + TerminatorWidth(encoding));
}

}  // namespace

std::optional<TagEncoding> ID3v2Encoding(std::string_view body) {
    if (body.empty()) return std::nullopt;
    switch (body[0]) {
        case 0:
            return TagEncoding::Latin;
        case 1:
            return TagEncoding::Utf16;
        case 2:
            return TagEncoding::Utf16BE;
        case 3:
            return TagEncoding::Utf8;
        default:
            return std::nullopt;
    }
}

std::string ID3v2FrameText(std::string_view body) {
    const auto encoding = ID3v2Encoding(body);
    return encoding ? DecodeTagText(body.substr(1), *encoding) : std::string();
}

std::string ID3v2CommentText(std::string_view body) {
    const auto encoding = ID3v2Encoding(body);
    if (!encoding || body.size() < 4) return {};
    return DecodeTagText(AfterDescription(body.substr(4), *encoding), *encoding);
}

std::string ID3v2LinkText(std::string_view body) {
    const auto encoding = ID3v2Encoding(body);
    if (!encoding) return {};
    return DecodeTagText(AfterDescription(body.substr(1), *encoding), TagEncoding::Latin);
}

std::string ID3v2GenreText(std::string_view text) {
    std::size_t pos = 0;
    int firstNumber = -1;
    while (pos + 1 < text.size() && text[pos] == '(' && text[pos + 1] != '(') {
        const std::size_t close = text.find(')', pos);
        if (close == std::string_view::npos) break;
        unsigned number = 0;
        const char* begin = text.data() + pos + 1;
        const char* end = text.data() + close;
        const auto [stop, error] = std::from_chars(begin, end, number);
        if (begin == end || error != std::errc() || stop != end) break;
        if (firstNumber < 0) firstNumber = static_cast<int>(number > 255 ? 255 : number);
        pos = close + 1;
    }
    if (pos == 0 && !text.starts_with("((")) return std::string(text);
    std::string_view rest = text.substr(pos);
    if (rest.starts_with("((")) rest.remove_prefix(1);  // "((" stands for a literal "("
    const std::string name = CleanTagText(rest);
    if (!name.empty() || firstNumber < 0) return name;
    return std::string(ID3v1GenreName(static_cast<unsigned>(firstNumber)));
}

}  // namespace rv
