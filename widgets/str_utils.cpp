#include "widgets/str_utils.h"

#include <charconv>

namespace rv {

std::string ReplaceAll(std::string_view text, std::string_view find, std::string_view replacement) {
    if (find.empty()) return std::string(text);
    std::string result;
    std::size_t from = 0;
    for (std::size_t at; (at = text.find(find, from)) != std::string_view::npos;
         from = at + find.size()) {
        result.append(text.substr(from, at - from));
        result.append(replacement);
    }
    result.append(text.substr(from));
    return result;
}

namespace {

// Calls `word(start, length)` for each word (start counted from 0) until it returns false.
template <class Visit>
void ForEachWord(std::string_view text, std::string_view delims, Visit word) {
    std::size_t pos = 0;
    while ((pos = text.find_first_not_of(delims, pos)) != std::string_view::npos) {
        std::size_t end = text.find_first_of(delims, pos);
        if (end == std::string_view::npos) end = text.size();
        if (!word(pos, end - pos)) return;
        pos = end;
    }
}

}  // namespace

int CountWords(std::string_view text, std::string_view delims) {
    int count = 0;
    ForEachWord(text, delims, [&](std::size_t, std::size_t) { return ++count, true; });
    return count;
}

std::size_t WordStart(int n, std::string_view text, std::string_view delims) {
    std::size_t found = 0;
    if (n < 1) return found;
    ForEachWord(text, delims, [&](std::size_t start, std::size_t) {
        if (--n > 0) return true;
        found = start + 1;
        return false;
    });
    return found;
}

std::string NthWord(int n, std::string_view text, std::string_view delims) {
    std::string found;
    if (n < 1) return found;
    ForEachWord(text, delims, [&](std::size_t start, std::size_t length) {
        if (--n > 0) return true;
        found = text.substr(start, length);
        return false;
    });
    return found;
}

int StrToIntDef(std::string_view text, int defaultValue) {
    const char* first = text.data();
    const char* last = first + text.size();
    if (first != last && *first == '+') ++first;
    int value = 0;
    auto [end, error] = std::from_chars(first, last, value);
    return error == std::errc() && end == last && first != last ? value : defaultValue;
}

}  // namespace rv
