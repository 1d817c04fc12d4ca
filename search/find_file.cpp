#include "search/find_file.h"

#include "platform/base/exception.h"
#include "platform/messages/application.h"
#include "platform/threads/thread.h"
#include "search/search_walk.h"

namespace rv {

// The worker of one threaded search. The folder, the ignore flag and the record handed across
// are only touched while the worker waits in Synchronize.
class TFindFile::TSearchThread : public TThread {
public:
    explicit TSearchThread(TFindFile& owner) : owner_(owner) {
        OnTerminate = [this](TThread*) { owner_.ThreadEnded(*this); };
        SetPriority(owner.ThreadPriority);
        Start();
    }

    // What ended the walk early (a handler's error), for the GUI thread to report.
    std::exception_ptr Error() const { return error_; }

protected:
    void Execute() override {
        SearchHooks hooks;
        hooks.Stop = [this] { return Terminated(); };
        hooks.FolderChange = [this](const std::string& folder) {
            folder_ = &folder;
            Synchronize([this] { ignoreFolder_ = !owner_.SyncFolderChange(*folder_); });
            return !ignoreFolder_;
        };
        hooks.FileMatch = [this](const std::string& folder, const TSearchRec& rec) {
            folder_ = &folder;
            rec_ = &rec;
            Synchronize([this] { owner_.SyncFileMatch(*folder_, *rec_); });
        };
        try {
            WalkTargets(*owner_.plan_, hooks);
        } catch (...) {
            error_ = std::current_exception();
        }
    }

private:
    TFindFile& owner_;
    std::exception_ptr error_;
    const std::string* folder_ = nullptr;
    bool ignoreFolder_ = false;
    const TSearchRec* rec_ = nullptr;
};

TFindFile::TFindFile() = default;

TFindFile::~TFindFile() {
    destroying_ = true;
    if (Busy()) Abort();
    // Joining serves the worker's pending calls, which do nothing now, and runs nothing else
    // of the application's queue.
    thread_.reset();
    endedThreads_.clear();
}

void TFindFile::Execute() {
    if (Busy()) return;
    if (Threaded && !Application) throw Exception("A threaded search needs the application object");
    std::erase_if(endedThreads_, [](const auto& thread) { return thread->Finished(); });
    busy_ = true;
    aborted_ = false;
    plan_ = std::make_unique<TTargetSearch>(criteria_);
    DoSearchBegin();
    if (Threaded) {
        thread_ = std::make_unique<TSearchThread>(*this);
        return;
    }
    try {
        Walk();
    } catch (...) {
        Finish();
        throw;
    }
    Finish();
}

void TFindFile::Walk() {
    SearchHooks hooks;
    hooks.Stop = [this] { return Aborted(); };
    hooks.FolderChange = [this](const std::string& folder) { return DoFolderChange(folder); };
    hooks.FileMatch = [this](const std::string& folder, const TSearchRec& rec) {
        DoFileMatch(folder, rec);
    };
    WalkTargets(*plan_, hooks);
}

void TFindFile::Abort() {
    if (!Busy()) return;
    aborted_ = true;
    DoSearchAbort();
    if (thread_) thread_->Terminate();
}

void TFindFile::Finish() {
    // Idle before the event, so that its handler can start the next search.
    plan_.reset();
    busy_ = false;
    DoSearchFinish();
}

bool TFindFile::SyncFolderChange(const std::string& folder) {
    return !destroying_ && DoFolderChange(folder);
}

void TFindFile::SyncFileMatch(const std::string& folder, const TSearchRec& fileInfo) {
    if (!destroying_) DoFileMatch(folder, fileInfo);
}

void TFindFile::ThreadEnded(TSearchThread& thread) {
    if (thread_) endedThreads_.push_back(std::move(thread_));  // (null while being destroyed)
    Finish();
    // A handler's error ended the walk: report it as the loop reports errors.
    if (thread.Error() && !destroying_ && Application) {
        try {
            std::rethrow_exception(thread.Error());
        } catch (...) {
            Application->HandleException();
        }
    }
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
