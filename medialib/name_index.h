#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/text/ascii_case.h"

// A hash index from catalogue names to the lowest position holding that name, where names are
// equal as SameText says (ASCII letters folded, everything else exact). The index keeps no copy
// of the names: a slot holds a hash and a position, and the name is read from the indexed array
// through `nameAt(pos)`. One flat array keeps a look-up to one probe and the entry it names,
// which matters once a library outgrows the caches.
namespace rv {

class NameIndex {
public:
    bool Built() const { return built_; }

    // Forgets every entry; the index then counts as not built.
    void Reset();

    // Marks the index complete, after Add was called for every position in order.
    void MarkBuilt() { built_ = true; }

    // Records position `pos` unless an equal name already sits at a lower position.
    template <class NameAt>
    void Add(int pos, NameAt nameAt) {
        if ((used_ + 1) * 2 > slots_.size()) Grow();
        const std::string_view name = nameAt(pos);
        const uint32_t hash = Hash(name);
        for (size_t i = hash & Mask();; i = (i + 1) & Mask()) {
            Slot& slot = slots_[i];
            if (slot.pos < 0) {
                slot = {hash, pos};
                ++used_;
                return;
            }
            if (slot.hash == hash && SameText(nameAt(slot.pos), name)) {
                if (pos < slot.pos) slot.pos = pos;
                return;
            }
        }
    }

    // The lowest position recorded for `name`, or -1.
    template <class NameAt>
    int Find(std::string_view name, NameAt nameAt) const {
        if (slots_.empty()) return -1;
        const uint32_t hash = Hash(name);
        for (size_t i = hash & Mask();; i = (i + 1) & Mask()) {
            const Slot& slot = slots_[i];
            if (slot.pos < 0) return -1;
            if (slot.hash == hash && SameText(nameAt(slot.pos), name)) return slot.pos;
        }
    }

private:
    struct Slot {
        uint32_t hash = 0;
        int32_t pos = -1;  // -1: empty
    };

    static uint32_t Hash(std::string_view name);
    size_t Mask() const { return slots_.size() - 1; }
    void Grow();

    std::vector<Slot> slots_;  // a power of two long, at most half used
    size_t used_ = 0;
    bool built_ = false;
};

}  // namespace rv
