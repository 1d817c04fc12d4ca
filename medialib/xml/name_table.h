#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "medialib/xml/ref_ptr.h"

namespace rv {

using XmlNameID = std::int32_t;

// Identifiers of the names every table starts with.
inline constexpr XmlNameID kXmlTextNameID = 0;      // "#text"
inline constexpr XmlNameID kXmlCDATANameID = 1;     // "#cdata-section"
inline constexpr XmlNameID kXmlCommentNameID = 2;   // "#comment"
inline constexpr XmlNameID kXmlDocumentNameID = 3;  // "#document"
inline constexpr XmlNameID kXmlDeclNameID = 4;      // "xml"
inline constexpr XmlNameID kXmlPredefinedNames = 5;

// Maps element, attribute and processing-instruction names to small integers, so that nodes
// store a number instead of a text. Names are compared byte for byte; looking one up takes the
// same time however many the table holds.
//
// Names are never removed: callers keep identifiers and pass them back (CreateElement(id),
// GetAttr(id) ...), so an identifier names the same name for the table's whole life, whatever
// nodes come and go. A reader that meets unboundedly many distinct names reads through a table
// of its own, which goes with its last document.
//
// A table belongs to the thread that made it, and so do the documents and nodes using it: counts
// and look-ups take no lock. Debug builds stop the program when another thread uses the table.
class TXmlNameTable : public TXmlBase {
public:
    // The bucket count the binary form records for a new table.
    static constexpr std::uint32_t kDefaultHashSize = 4096;

    // `hashSize` is only what the binary form records; the look-up grows as it needs.
    explicit TXmlNameTable(std::uint32_t hashSize = kDefaultHashSize);

    // The identifier of `name`, added when new; -1 for the empty name.
    XmlNameID GetID(std::string_view name);
    // The identifier of `name` when the table has it, else -1; adds nothing.
    XmlNameID FindID(std::string_view name) const;
    // The name of `id`; the empty text for an identifier the table does not have.
    const std::string& GetName(XmlNameID id) const {
        if (id < 0 || static_cast<size_t>(id) >= entries_.size()) return EmptyName();
        return entries_[static_cast<size_t>(id)].name;
    }

    // `id` when the table has it, else -1 (no name).
    XmlNameID Known(XmlNameID id) const {
        return id >= 0 && static_cast<size_t>(id) < entries_.size() ? id : -1;
    }

    // The hash by which the binary form files names into HashSize() buckets.
    static std::uint32_t Hash(std::string_view name);
    std::uint32_t HashSize() const { return hashSize_; }

    // How many names the table holds; their identifiers are 0 to Count() - 1.
    size_t Count() const { return entries_.size(); }
    // The names held, in the order of their identifiers.
    std::vector<std::string> Names() const;

private:
    struct Entry {
        std::string name;
        std::uint32_t hash = 0;
    };
    struct Slot {
        XmlNameID id;  // -1: empty
        std::uint32_t hash;
    };

    static const std::string& EmptyName();
    static std::uint32_t LookupHash(std::string_view name);
    void CheckThread() const;

    // The slot holding `name`, or the empty one where it would go.
    size_t SlotOf(std::string_view name, std::uint32_t hash) const;
    void Resize(size_t slots);

    std::vector<Entry> entries_;  // by identifier
    std::vector<Slot> slots_;     // open addressing, a power of two in size, at most half full
    std::uint32_t hashSize_;
    std::thread::id owner_ = std::this_thread::get_id();
};

using IXmlNameTable = RefPtr<TXmlNameTable>;

// The table of the calling thread, used by every document it makes without a table of its own.
TXmlNameTable* ThreadNameTable();

}  // namespace rv
