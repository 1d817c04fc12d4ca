#pragma once

#include <cstdint>
#include <string>
#include <string_view>
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

// Maps element, attribute and processing-instruction names to small integers, so that nodes
// store a number instead of a text. Names are compared byte for byte and never removed.
class TXmlNameTable : public TXmlBase {
public:
    static constexpr std::uint32_t kDefaultHashSize = 4096;

    explicit TXmlNameTable(std::uint32_t hashSize = kDefaultHashSize);

    // The identifier of `name`, added when new; -1 for the empty name.
    XmlNameID GetID(std::string_view name);
    // The identifier of `name` when the table has it, else -1; adds nothing.
    XmlNameID FindID(std::string_view name) const;
    // The name of `id`; the empty text for an identifier the table does not have.
    const std::string& GetName(XmlNameID id) const {
        if (id < 0 || static_cast<size_t>(id) >= names_.size()) return EmptyName();
        return names_[static_cast<size_t>(id)];
    }

    static std::uint32_t Hash(std::string_view name);

    // Read access for the binary form, which stores the table as it is.
    const std::vector<std::string>& Names() const { return names_; }
    std::uint32_t HashSize() const { return static_cast<std::uint32_t>(buckets_.size()); }
    const std::vector<XmlNameID>& Bucket(std::uint32_t index) const { return buckets_[index]; }

private:
    static const std::string& EmptyName();

    std::vector<std::string> names_;
    std::vector<std::vector<XmlNameID>> buckets_;
};

using IXmlNameTable = RefPtr<TXmlNameTable>;

// The table shared by every document made without a table of its own.
TXmlNameTable* GlobalNameTable();

}  // namespace rv
