#include "medialib/name_index.h"

#include <cstdint>

#include "platform/text/ascii_case.h"

namespace rv {

size_t NameIndex::FoldedHash::operator()(std::string_view name) const {
    uint64_t hash = 14695981039346656037ull;  // FNV-1a over the folded bytes
    for (char c : name) {
        hash ^= static_cast<unsigned char>(AsciiLower(c));
        hash *= 1099511628211ull;
    }
    return static_cast<size_t>(hash);
}

bool NameIndex::FoldedEqual::operator()(std::string_view a, std::string_view b) const {
    return SameText(a, b);
}

void NameIndex::Reset() {
    first_.clear();
    built_ = false;
}

void NameIndex::Add(std::string_view name, int pos) {
    const auto it = first_.find(name);
    if (it == first_.end())
        first_.emplace(std::string(name), pos);
    else if (pos < it->second)
        it->second = pos;
}

int NameIndex::Find(std::string_view name) const {
    const auto it = first_.find(name);
    return it == first_.end() ? -1 : it->second;
}

}  // namespace rv
