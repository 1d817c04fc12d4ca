#include "medialib/xml/name_table.h"

#include <cstdio>
#include <cstdlib>

#include "medialib/xml/keyed_hash.h"

namespace rv {

namespace {

constexpr size_t kMinSlots = 16;
constexpr XmlNameID kNoID = -1;

}  // namespace

TXmlNameTable::TXmlNameTable(std::uint32_t hashSize)
    : slots_(kMinSlots, Slot{kNoID, 0}), hashSize_(hashSize == 0 ? 1 : hashSize) {
    for (const char* name : {"#text", "#cdata-section", "#comment", "#document", "xml"})
        GetID(name);
}

std::uint32_t TXmlNameTable::Hash(std::string_view name) {
    std::uint32_t h = 0;
    for (const char c : name) h = h * 33 + static_cast<unsigned char>(c);
    return h;
}

std::uint32_t TXmlNameTable::LookupHash(std::string_view name) {
    return static_cast<std::uint32_t>(KeyedHash(name));
}

void TXmlNameTable::CheckThread() const {
#ifndef NDEBUG
    if (std::this_thread::get_id() != owner_) {
        std::fputs("An XML name table was used by a thread other than the one that made it.\n",
                   stderr);
        std::abort();
    }
#endif
}

size_t TXmlNameTable::SlotOf(std::string_view name, std::uint32_t hash) const {
    const size_t mask = slots_.size() - 1;
    for (size_t i = hash & mask;; i = (i + 1) & mask) {
        const Slot& slot = slots_[i];
        if (slot.id < 0) return i;
        if (slot.hash == hash && entries_[static_cast<size_t>(slot.id)].name == name) return i;
    }
}

XmlNameID TXmlNameTable::GetID(std::string_view name) {
    CheckThread();
    if (name.empty()) return kNoID;
    const std::uint32_t hash = LookupHash(name);
    size_t slot = SlotOf(name, hash);
    if (slots_[slot].id >= 0) return slots_[slot].id;
    if ((count_ + 1) * 2 > slots_.size()) {
        Resize(slots_.size() * 2);
        slot = SlotOf(name, hash);
    }
    const XmlNameID id = NewEntry(name, hash);
    slots_[slot] = {id, hash};
    ++count_;
    return id;
}

XmlNameID TXmlNameTable::NewEntry(std::string_view name, std::uint32_t hash) {
    while (!unused_.empty()) {
        const XmlNameID id = unused_.back();
        unused_.pop_back();
        // Identifiers freed at the end were cut off with their entries, and may be back in use.
        const auto index = static_cast<size_t>(id);
        if (index < entries_.size() && entries_[index].name.empty()) {
            entries_[index] = {std::string(name), hash, 0};
            return id;
        }
    }
    entries_.push_back({std::string(name), hash, 0});
    return static_cast<XmlNameID>(entries_.size() - 1);
}

XmlNameID TXmlNameTable::FindID(std::string_view name) const {
    CheckThread();
    if (name.empty()) return kNoID;
    return slots_[SlotOf(name, LookupHash(name))].id;
}

XmlNameID TXmlNameTable::AddUse(XmlNameID id) {
    CheckThread();
    if (id < kXmlPredefinedNames) return id < 0 ? kNoID : id;
    const auto index = static_cast<size_t>(id);
    if (index >= entries_.size() || entries_[index].name.empty()) return kNoID;
    ++entries_[index].uses;
    return id;
}

void TXmlNameTable::DropUse(XmlNameID id) noexcept {
    CheckThread();
    const auto index = static_cast<size_t>(id);
    if (id < kXmlPredefinedNames || index >= entries_.size()) return;
    Entry& entry = entries_[index];
    if (entry.uses > 0 && --entry.uses == 0) Free(id);
}

void TXmlNameTable::Free(XmlNameID id) {
    Unslot(id);
    std::string().swap(entries_[static_cast<size_t>(id)].name);
    --count_;
    unused_.push_back(id);
    // What the freed names took is given back as they become most of the table.
    while (entries_.size() > kXmlPredefinedNames && entries_.back().name.empty())
        entries_.pop_back();
    if (entries_.capacity() > 64 && entries_.size() < entries_.capacity() / 4)
        entries_.shrink_to_fit();
    if (unused_.size() > 2 * entries_.size() + 64) {
        unused_.clear();
        for (size_t i = 0; i < entries_.size(); ++i)
            if (entries_[i].name.empty()) unused_.push_back(static_cast<XmlNameID>(i));
        unused_.shrink_to_fit();
    }
    if (slots_.size() > kMinSlots && count_ * 8 < slots_.size()) {
        size_t slots = kMinSlots;
        while (slots < count_ * 4) slots *= 2;
        Resize(slots);
    }
}

void TXmlNameTable::Unslot(XmlNameID id) {
    const size_t mask = slots_.size() - 1;
    size_t gap = entries_[static_cast<size_t>(id)].hash & mask;
    while (slots_[gap].id != id) gap = (gap + 1) & mask;
    // The names after it in the run move up into the gap where that keeps them on their way
    // from their home slot, so that no look-up stops early.
    for (size_t next = (gap + 1) & mask; slots_[next].id >= 0; next = (next + 1) & mask) {
        const size_t home = slots_[next].hash & mask;
        if (((next - home) & mask) >= ((next - gap) & mask)) {
            slots_[gap] = slots_[next];
            gap = next;
        }
    }
    slots_[gap] = {kNoID, 0};
}

void TXmlNameTable::Resize(size_t size) {
    std::vector<Slot> old(size, Slot{kNoID, 0});
    old.swap(slots_);
    const size_t mask = size - 1;
    for (const Slot& slot : old) {
        if (slot.id < 0) continue;
        size_t i = slot.hash & mask;
        while (slots_[i].id >= 0) i = (i + 1) & mask;
        slots_[i] = slot;
    }
}

std::vector<std::string> TXmlNameTable::Names() const {
    std::vector<std::string> names;
    names.reserve(count_);
    for (const Entry& entry : entries_)
        if (!entry.name.empty()) names.push_back(entry.name);
    return names;
}

const std::string& TXmlNameTable::EmptyName() {
    static const std::string empty;
    return empty;
}

TXmlNameTable* ThreadNameTable() {
    thread_local const IXmlNameTable table(new TXmlNameTable);
    return table.Get();
}

}  // namespace rv
