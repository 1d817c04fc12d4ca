#include "search/search_rec.h"

namespace rv {

FileKind TSearchRec::Kind() const {
    switch (entry_.Kind) {
        case EntryKind::Regular:
            return FileKind::Regular;
        case EntryKind::Directory:
            return FileKind::Directory;
        case EntryKind::Other:
            return FileKind::Other;
        case EntryKind::Symlink:
        case EntryKind::Unknown:
            break;
    }
    return Facts().Kind;
}

const FileFacts& TSearchRec::Facts() const {
    if (!facts_) {
        facts_.emplace();
        reachable_ = GetFileFacts(handle_, entry_.Name, *facts_);
        if (!reachable_) *facts_ = FileFacts{};
    }
    return *facts_;
}

}  // namespace rv
