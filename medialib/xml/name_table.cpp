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
    if ((entries_.size() + 1) * 2 > slots_.size()) {
        Resize(slots_.size() * 2);
        slot = SlotOf(name, hash);
    }
    const auto id = static_cast<XmlNameID>(entries_.size());
    entries_.push_back({std::string(name), hash});
    slots_[slot] = {id, hash};
    return id;
}

XmlNameID TXmlNameTable::FindID(std::string_view name) const {
    CheckThread();
    if (name.empty()) return kNoID;
    return slots_[SlotOf(name, LookupHash(name))].id;
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
    names.reserve(entries_.size());
    for (const Entry& entry : entries_) names.push_back(entry.name);
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
