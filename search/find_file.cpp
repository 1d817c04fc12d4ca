#include "search/find_file.h"

#include "search/search_walk.h"

namespace rv {

TFindFile::TFindFile() = default;

TFindFile::~TFindFile() {
    destroying_ = true;
    if (Busy()) Abort();
}

void TFindFile::Execute() {
    if (Busy()) return;
    busy_ = true;
    aborted_ = false;
    plan_ = std::make_unique<TTargetSearch>(criteria_);
    DoSearchBegin();
    SearchHooks hooks;
    hooks.Stop = [this] { return Aborted(); };
    hooks.FolderChange = [this](const std::string& folder) { return DoFolderChange(folder); };
    hooks.FileMatch = [this](const std::string& folder, const TSearchRec& rec) {
        DoFileMatch(folder, rec);
    };
    WalkTargets(*plan_, hooks);
    Finish();
}

void TFindFile::Abort() {
    if (!Busy()) return;
    aborted_ = true;
    DoSearchAbort();
}

void TFindFile::Finish() {
    DoSearchFinish();
    plan_.reset();
    busy_ = false;
}

void TFindFile::DoSearchBegin() {
    if (OnSearchBegin) OnSearchBegin(*this);
}

void TFindFile::DoSearchFinish() {
    if (OnSearchFinish && !destroying_) OnSearchFinish(*this);
}

void TFindFile::DoSearchAbort() {
    if (OnSearchAbort && !destroying_) OnSearchAbort(*this);
}

bool TFindFile::DoFolderChange(const std::string& folder) {
    bool ignoreFolder = Aborted();
    if (!ignoreFolder && OnFolderChange) OnFolderChange(*this, folder, ignoreFolder);
    return !ignoreFolder;
}

void TFindFile::DoFileMatch(const std::string& folder, const TSearchRec& fileInfo) {
    if (OnFileMatch && !Aborted()) OnFileMatch(*this, folder, fileInfo);
}

}  // namespace rv
