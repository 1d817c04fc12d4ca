#include "search/target_search.h"

#include "platform/dirs/full_path.h"
#include "search/content_search.h"

namespace rv {

namespace {

constexpr std::uint32_t kTestedAttributes =
    faReadOnly | faHidden | faSysFile | faDirectory | faArchive;

// A leading "<" (this folder alone) or ">" (with subfolders) overrides the default recursion;
// the character is removed.
bool TakeRecursion(std::string& entry, bool recursive) {
    if (!entry.empty() && (entry[0] == '<' || entry[0] == '>')) {
        recursive = entry[0] == '>';
        entry.erase(0, 1);
    }
    return recursive;
}

// A bound without time of day compares the date alone, one without date the time of day alone.
double ComparedPart(TDateTime value, TDateTime bound) {
    if (TimePart(bound) == 0) return DatePart(value);
    if (DatePart(bound) == 0) return TimePart(value);
    return value;
}

bool WithinBounds(TDateTime before, TDateTime after, TDateTime (TSearchRec::*get)() const,
                  const TSearchRec& rec) {
    if (before == 0 && after == 0) return true;
    const TDateTime value = (rec.*get)();
    if (before != 0 && ComparedPart(value, before) > before) return false;
    if (after != 0 && ComparedPart(value, after) < after) return false;
    return true;
}

}  // namespace

std::vector<std::string> SplitList(const std::string& text) {
    std::vector<std::string> pieces;
    std::size_t start = 0;
    while (start < text.size()) {
        auto end = text.find(';', start);
        if (end == std::string::npos) end = text.size();
        pieces.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return pieces;
}

TTargetFolder& TTargetFolderList::AddFolder(const std::string& path) {
    const std::string full = IncludeTrailingSlash(ExpandFileName(path));
    const int index = IndexOfFolder(full);
    if (index >= 0) return *folders_[static_cast<std::size_t>(index)];
    auto folder = std::make_unique<TTargetFolder>();
    folder->Folder = full;
    folders_.insert(folders_.begin(), std::move(folder));
    return *folders_.front();
}

int TTargetFolderList::IndexOfFolder(const std::string& path) const {
    for (std::size_t i = 0; i < folders_.size(); ++i)
        if (folders_[i]->Folder == path) return static_cast<int>(i);
    return -1;
}

bool MatchesExclusion(const std::string& folder, const std::string& fileName,
                      const std::string& pattern) {
    const auto slash = pattern.rfind('/');
    const std::string path = slash == std::string::npos ? "" : pattern.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? pattern : pattern.substr(slash + 1);
    if (!path.empty() && !folder.ends_with(path)) return false;
    return name.empty() || NameMask(name).Matches(fileName);
}

bool TTargetFolderList::IsExcluded(const std::string& folder, const std::string& fileName) const {
    for (auto it = Excluded.rbegin(); it != Excluded.rend(); ++it)
        if (MatchesExclusion(folder, fileName, *it)) return true;
    return false;
}

TTargetSearch::TTargetSearch(const TSearchCriteria& criteria)
    : attribute_(criteria.Attribute),
      timeStamp_(criteria.TimeStamp),
      size_(criteria.Size),
      content_(criteria.Content) {
    const TFileCriteria& files = criteria.Files;
    folders_.Excluded = files.Excluded;

    for (std::string line : files.Included) {
        const bool recursive = TakeRecursion(line, files.Subfolders);
        const auto slash = line.rfind('/');
        // Without a folder there is nothing to walk: the current folder is never implied.
        if (slash == std::string::npos) continue;
        TTargetFolder& folder = folders_.AddFolder(line.substr(0, slash + 1));
        folder.Masks.emplace_back(line.substr(slash + 1));
        folder.Recursive = recursive;
    }

    const std::vector<std::string> masks = SplitList(files.FileName);
    for (std::string location : SplitList(files.Location)) {
        const bool recursive = TakeRecursion(location, files.Subfolders);
        if (location.empty()) continue;
        TTargetFolder& folder = folders_.AddFolder(location);
        for (const auto& mask : masks) folder.Masks.emplace_back(mask);
        folder.Recursive = recursive;
        folder.MinLevel = files.MinLevel;
        folder.MaxLevel = files.MaxLevel;
    }

    // Folders cannot contain a phrase.
    if (!content_.Phrase().empty()) attribute_.SetBits(attribute_.Bits() & ~faDirectory);

    // Without exact matching the read-only bit only matters when it is not allowed.
    attributesNeedMode_ = attribute_.ExactMatch || !(attribute_.Bits() & faReadOnly);
    const TDateTimeCriteria& t = timeStamp_;
    hasDates_ = t.CreatedBefore != 0 || t.CreatedAfter != 0 || t.ModifiedBefore != 0 ||
                t.ModifiedAfter != 0 || t.AccessedBefore != 0 || t.AccessedAfter != 0;
}

bool TTargetSearch::AttributesMatch(const TSearchRec& rec, FileKind kind) const {
    std::uint32_t attr;
    if (attributesNeedMode_) {
        if (!rec.Reachable()) return false;
        attr = rec.Attr();
    } else {
        attr = (kind == FileKind::Directory ? faDirectory : 0) |
               (rec.Name().starts_with('.') ? faHidden : 0);
    }
    attr &= kTestedAttributes;
    const std::uint32_t wanted = attribute_.Bits();
    return attribute_.ExactMatch ? attr == wanted : (attr & ~wanted) == 0;
}

bool TTargetSearch::DatesMatch(const TSearchRec& rec) const {
    const TDateTimeCriteria& t = timeStamp_;
    return rec.Reachable() &&
           WithinBounds(t.CreatedBefore, t.CreatedAfter, &TSearchRec::CreationTime, rec) &&
           WithinBounds(t.ModifiedBefore, t.ModifiedAfter, &TSearchRec::LastWriteTime, rec) &&
           WithinBounds(t.AccessedBefore, t.AccessedAfter, &TSearchRec::LastAccessTime, rec);
}

bool TTargetSearch::Matches(const std::string& folder, const TSearchRec& rec,
                            const std::function<bool()>& stop) const {
    // Devices, FIFOs and sockets are never reported: reading one could block for ever.
    const FileKind kind = rec.Kind();
    if (kind == FileKind::Other) return false;
    if (!AttributesMatch(rec, kind)) return false;
    if (size_.Min != 0 || size_.Max != 0) {
        if (!rec.Reachable()) return false;
        const std::uint64_t size = rec.Size();
        if (size_.Min != 0 && size_.Min > size) return false;
        if (size_.Max != 0 && size_.Max < size) return false;
    }
    if (hasDates_ && !DatesMatch(rec)) return false;
    if (folders_.IsExcluded(folder, rec.Name())) return false;
    if (!content_.Phrase().empty() &&
        !FileContainsPhrase(rec.Parent(), rec.Name(), content_.SearchText(), content_.IgnoreCase(),
                            stop))
        return false;
    return true;
}

}  // namespace rv
