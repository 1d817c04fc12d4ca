#include "medialib/name_index.h"

namespace rv {

uint32_t NameIndex::Hash(std::string_view name) {
    uint64_t hash = 14695981039346656037ull;  // FNV-1a over the folded bytes
    for (char c : name) {
        hash ^= static_cast<unsigned char>(AsciiLower(c));
        hash *= 1099511628211ull;
    }
    return static_cast<uint32_t>(hash ^ (hash >> 32));
}

void NameIndex::Reset() {
    slots_.clear();
    used_ = 0;
    built_ = false;
}

void NameIndex::Grow() {
    std::vector<Slot> old(slots_.empty() ? 16 : slots_.size() * 2);
    old.swap(slots_);
    for (const Slot& slot : old) {
        if (slot.pos < 0) continue;
        size_t i = slot.hash & Mask();
        while (slots_[i].pos >= 0) i = (i + 1) & Mask();
        slots_[i] = slot;
    }
}

}  // namespace rv
