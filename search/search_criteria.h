#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "platform/dirs/date_time.h"
#include "platform/dirs/file_facts.h"

namespace rv {

// What a folder search looks for. Each class copies as a whole (Assign = assignment).

class TFileCriteria {
public:
    std::string FileName;  // name masks separated by ";"
    // Folders separated by ";"; a leading "<" walks that folder alone, ">" its subfolders too.
    std::string Location;
    // Extra entries "folder/mask", each optionally prefixed like a location.
    std::vector<std::string> Included;
    // Exclusion patterns "path/name"; either part may be missing.
    std::vector<std::string> Excluded;
    bool Subfolders = true;      // recursion for entries without a prefix
    std::uint16_t MinLevel = 0;  // report only from this level down (top folder = 1)
    std::uint16_t MaxLevel = 0;  // do not descend below this level; 0 = unlimited

    void Assign(const TFileCriteria& other) { *this = other; }
};

enum TFileAttribute : std::uint8_t { ffArchive, ffReadonly, ffHidden, ffSystem, ffDirectory };

// A set of TFileAttribute.
class TFileAttributes {
public:
    TFileAttributes() = default;
    TFileAttributes(std::initializer_list<TFileAttribute> items) {
        for (auto a : items) Include(a);
    }
    bool Contains(TFileAttribute a) const { return bits_ & (1u << a); }
    void Include(TFileAttribute a) { bits_ |= static_cast<std::uint8_t>(1u << a); }
    void Exclude(TFileAttribute a) { bits_ &= static_cast<std::uint8_t>(~(1u << a)); }
    bool operator==(const TFileAttributes&) const = default;

private:
    std::uint8_t bits_ = 0;
};

class TAttributeCriteria {
public:
    TFileAttributes Attributes() const;
    void SetAttributes(TFileAttributes attributes);
    // The same set as platform attribute bits (faReadOnly …).
    std::uint32_t Bits() const { return bits_; }
    void SetBits(std::uint32_t bits) { bits_ = bits; }

    bool ExactMatch = false;

    void Assign(const TAttributeCriteria& other) { *this = other; }

private:
    std::uint32_t bits_ = faArchive | faReadOnly | faHidden | faSysFile;
};

// Date bounds; 0 = no bound. A bound without time of day compares dates only, a bound without
// date compares times of day only.
class TDateTimeCriteria {
public:
    TDateTime CreatedBefore = 0;
    TDateTime CreatedAfter = 0;
    TDateTime ModifiedBefore = 0;
    TDateTime ModifiedAfter = 0;
    TDateTime AccessedBefore = 0;
    TDateTime AccessedAfter = 0;

    void Assign(const TDateTimeCriteria& other) { *this = other; }
};

// Size bounds in bytes, both inclusive; 0 = no bound.
class TSizeCriteria {
public:
    std::uint64_t Min = 0;
    std::uint64_t Max = 0;

    void Assign(const TSizeCriteria& other) { *this = other; }
};

class TContentCriteria {
public:
    const std::string& Phrase() const { return phrase_; }
    void SetPhrase(const std::string& phrase);
    bool IgnoreCase() const { return ignoreCase_; }
    void SetIgnoreCase(bool ignoreCase);

    // What is looked for in the files: the phrase, with A-Z lowered when case is ignored.
    const std::string& SearchText() const { return searchText_; }

    void Assign(const TContentCriteria& other) { *this = other; }

private:
    void Update();

    std::string phrase_;
    bool ignoreCase_ = true;
    std::string searchText_;
};

class TSearchCriteria {
public:
    TFileCriteria Files;
    TAttributeCriteria Attribute;
    TDateTimeCriteria TimeStamp;
    TSizeCriteria Size;
    TContentCriteria Content;

    void Assign(const TSearchCriteria& other) { *this = other; }
};

}  // namespace rv
