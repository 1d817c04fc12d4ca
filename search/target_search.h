#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "search/name_match.h"
#include "search/search_criteria.h"
#include "search/search_rec.h"

namespace rv {

// One folder to walk, with the masks that choose its entries.
class TTargetFolder {
public:
    std::string Folder;  // full path ending in "/"
    bool Recursive = false;
    std::vector<NameMask> Masks;
    std::uint16_t MinLevel = 0;
    std::uint16_t MaxLevel = 0;
};

// The folders of a search, the newest at the front, and the exclusion patterns.
class TTargetFolderList {
public:
    // The folder of that path, made full; an existing one (same path, letter case counting) is
    // returned as it is.
    TTargetFolder& AddFolder(const std::string& path);
    int IndexOfFolder(const std::string& path) const;
    // Whether a file of that name in that folder matches an exclusion pattern.
    bool IsExcluded(const std::string& folder, const std::string& fileName) const;

    int Count() const { return static_cast<int>(folders_.size()); }
    const TTargetFolder& operator[](int index) const { return *folders_[index]; }

    std::vector<std::string> Excluded;

private:
    std::vector<std::unique_ptr<TTargetFolder>> folders_;
};

// Exclusion pattern "path/name": the folder must end with the path part (letter case counting)
// and the file name must match the name part as a mask; a missing part always agrees.
bool MatchesExclusion(const std::string& folder, const std::string& fileName,
                      const std::string& pattern);

// The search criteria compiled for one search: what to walk, and the tests of every entry.
class TTargetSearch {
public:
    explicit TTargetSearch(const TSearchCriteria& criteria);

    // Every test but the name masks (they choose the entries); `folder` ends with "/". The
    // content test gives up, rejecting the file, once `stop` says so.
    bool Matches(const std::string& folder, const TSearchRec& rec,
                 const std::function<bool()>& stop = {}) const;

    const TTargetFolderList& Folders() const { return folders_; }
    // Whether the tests read the files' contents.
    bool ReadsContents() const { return !content_.Phrase().empty(); }
    const TAttributeCriteria& Attribute() const { return attribute_; }

private:
    bool AttributesMatch(const TSearchRec& rec, FileKind kind) const;
    bool DatesMatch(const TSearchRec& rec) const;

    TTargetFolderList folders_;
    TAttributeCriteria attribute_;
    TDateTimeCriteria timeStamp_;
    TSizeCriteria size_;
    TContentCriteria content_;
    // Whether the attribute test can be decided without the file's mode (read-only bit).
    bool attributesNeedMode_ = false;
    bool hasDates_ = false;
};

// `text` cut at every ";" (an empty piece between two ";" counts; nothing follows a final ";").
std::vector<std::string> SplitList(const std::string& text);

}  // namespace rv
