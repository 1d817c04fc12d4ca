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
// Nodes count their uses of a name (their own and their attributes'), and a name is freed when
// the last node using it goes, so that a session loading many documents keeps only the names of
// those alive. An identifier therefore stays valid while a node or attribute uses its name;
// after that it may come back for another name. The predefined names, and a name added but not
// yet used, are not freed.
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

    // A node or attribute takes the name `id` into use: `id` when the table has it, else -1
    // (no name). Every use is given back with DropUse.
    XmlNameID AddUse(XmlNameID id);
    void DropUse(XmlNameID id) noexcept;

    // The hash by which the binary form files names into HashSize() buckets.
    static std::uint32_t Hash(std::string_view name);
    std::uint32_t HashSize() const { return hashSize_; }

    // Identifiers in use lie below IdLimit(); one between them that has been freed has the empty
    // name.
    XmlNameID IdLimit() const { return static_cast<XmlNameID>(entries_.size()); }
    // How many names the table holds.
    size_t Count() const { return count_; }
    // The names held, in the order of their identifiers.
    std::vector<std::string> Names() const;

private:
    struct Entry {
        std::string name;  // empty once freed
        std::uint32_t hash = 0;
        std::uint32_t uses = 0;
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
    void Free(XmlNameID id);
    void Unslot(XmlNameID id);
    XmlNameID NewEntry(std::string_view name, std::uint32_t hash);

    std::vector<Entry> entries_;     // by identifier
    std::vector<Slot> slots_;        // open addressing, a power of two in size, at most half full
    std::vector<XmlNameID> unused_;  // freed identifiers, some perhaps no longer free
    size_t count_ = 0;
    std::uint32_t hashSize_;
    std::thread::id owner_ = std::this_thread::get_id();
};

using IXmlNameTable = RefPtr<TXmlNameTable>;

// The table of the calling thread, used by every document it makes without a table of its own.
TXmlNameTable* ThreadNameTable();

}  // namespace rv
