#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "readers/bounded_reader.h"

namespace rv {

// The VORBIS_COMMENT metadata block of a FLAC file: a vendor string and fields "NAME=value".
// Names are matched without regard to case (full Unicode upper case), values are UTF-8.
class TVorbisComment {
public:
    TVorbisComment() { Reset(); }

    void Reset();
    // Reads the block body the reader spans. Every length is checked against what the block
    // still holds before anything is kept, so a forged count or length costs nothing; false
    // when the block ends before what it announces (the fields read so far are kept).
    bool ReadFromStream(BoundedReader& block);

    // A vendor string of 10 to 50 bytes.
    bool GetValid() const { return vendorLength_ >= 10 && vendorLength_ <= 50; }
    bool Valid() const { return GetValid(); }

    const std::string& Vendor() const { return vendor_; }
    std::uint32_t VendorLength() const { return vendorLength_; }
    // The fields read: each as stored, its name, "=" and its value.
    std::uint32_t Count() const { return static_cast<std::uint32_t>(fields_.size()); }
    const std::vector<std::string>& Fields() const { return fields_; }
    const std::vector<std::uint32_t>& Lengths() const { return lengths_; }

    // Names are upper-cased with the Unicode case tables (on by default).
    bool CaseMapNames() const { return caseMapNames_; }
    void SetCaseMapNames(bool on) { caseMapNames_ = on; }
    // Values are UTF-8 (on by default); off, they are windows-1252.
    bool UTF8Values() const { return utf8Values_; }
    void SetUTF8Values(bool on) { utf8Values_ = on; }

    // Name and value of field `index` (below Count()), as UTF-16.
    std::u16string FieldName(std::size_t index) const;
    std::u16string FieldValue(std::size_t index) const;

    // The value of the first field whose name equals `name` without regard to case, as clean
    // UTF-8; empty when there is none.
    std::string GetValue(std::string_view name) const;
    // YEAR, or when there is none the first four digits of DATE ("2019-05-01" gives "2019").
    std::string Year() const;

private:
    std::u16string Decode(std::string_view bytes) const;

    std::string vendor_;
    std::uint32_t vendorLength_;
    std::vector<std::string> fields_;
    std::vector<std::uint32_t> lengths_;
    bool caseMapNames_ = true;
    bool utf8Values_ = true;
};

}  // namespace rv
