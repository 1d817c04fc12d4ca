#include "medialib/xml/name_table.h"

namespace rv {

TXmlNameTable::TXmlNameTable(std::uint32_t hashSize) : buckets_(hashSize == 0 ? 1 : hashSize) {
    for (const char* name : {"#text", "#cdata-section", "#comment", "#document", "xml"})
        GetID(name);
}

std::uint32_t TXmlNameTable::Hash(std::string_view name) {
    std::uint32_t h = 0;
    for (const char c : name) h = h * 33 + static_cast<unsigned char>(c);
    return h;
}

XmlNameID TXmlNameTable::GetID(std::string_view name) {
    if (name.empty()) return -1;
    std::vector<XmlNameID>& bucket = buckets_[Hash(name) % buckets_.size()];
    for (const XmlNameID id : bucket)
        if (names_[static_cast<size_t>(id)] == name) return id;
    const auto id = static_cast<XmlNameID>(names_.size());
    names_.emplace_back(name);
    bucket.push_back(id);
    return id;
}

XmlNameID TXmlNameTable::FindID(std::string_view name) const {
    if (name.empty()) return -1;
    const std::vector<XmlNameID>& bucket = buckets_[Hash(name) % buckets_.size()];
    for (const XmlNameID id : bucket)
        if (names_[static_cast<size_t>(id)] == name) return id;
    return -1;
}

const std::string& TXmlNameTable::EmptyName() {
    static const std::string empty;
    return empty;
}

TXmlNameTable* GlobalNameTable() {
    static const IXmlNameTable table(new TXmlNameTable);
    return table.Get();
}

}  // namespace rv
