#include "search/find_file.h"

#include <chrono>
#include <deque>

#include "platform/base/exception.h"
#include "platform/messages/application.h"
#include "platform/threads/thread.h"
#include "search/search_walk.h"

namespace rv {

// The worker of one threaded search. It calls into the GUI thread once per folder: the call
// hands over the matches of the folder before (kept since, with everything their records refer
// to) and then asks the folder change of the new one, whose answer the walk needs. So every
// report still reaches the GUI thread in the walk's order, and the two threads meet once a
// folder instead of once a file. What the calls read is only touched while the worker waits in
// Synchronize.
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
            HandOver(true);
            return !ignoreFolder_;
        };
        hooks.FileMatch = [this](const std::string& folder, const TSearchRec& rec) {
            Keep(folder, rec);
        };
        try {
            WalkTargets(*owner_.plan_, hooks);
            HandOver(false);
        } catch (...) {
            error_ = std::current_exception();
        }
    }

private:
    // Longest run of matches one call hands over, so that the GUI thread's loop keeps its turns
    // while the handlers are slow.
    static constexpr auto kSlice = std::chrono::milliseconds(1);

    // The walk's record lives only while it looks at the entry: a copy is kept, with a handle
    // of its own on the folder for the facts a handler may still ask for.
    void Keep(const std::string& folder, const TSearchRec& rec) {
        if (kept_.empty()) {
            keptFolder_ = folder;
            keptHandle_.Duplicate(rec.Parent());
        }
        keptEntries_.push_back(rec.Entry());
        kept_.emplace_back(rec, keptFolder_, keptEntries_.back(), keptHandle_);
    }

    // Calls into the GUI thread until the kept matches are handed over, then (with
    // `folderChange`) asks the folder change of folder_.
    void HandOver(bool folderChange) {
        bool done = kept_.empty();
        if (done && !folderChange) return;
        do {
            Synchronize([this, &done, folderChange] {
                done = DeliverSlice();
                if (done && folderChange) ignoreFolder_ = !owner_.SyncFolderChange(*folder_);
            });
        } while (!done);
        kept_.clear();
        keptEntries_.clear();
        keptHandle_.Close();
        delivered_ = 0;
    }

    // In the GUI thread: the next kept matches, for at most kSlice; whether all are through.
    bool DeliverSlice() {
        const auto start = std::chrono::steady_clock::now();
        while (delivered_ < kept_.size()) {
            owner_.SyncFileMatch(keptFolder_, kept_[delivered_++]);
            if (delivered_ < kept_.size() && std::chrono::steady_clock::now() - start >= kSlice)
                return false;
        }
        return true;
    }

    TFindFile& owner_;
    std::exception_ptr error_;
    const std::string* folder_ = nullptr;
    bool ignoreFolder_ = false;
    std::string keptFolder_;
    FolderHandle keptHandle_;
    std::deque<DirEntry> keptEntries_;  // the records refer to them: no element moves
    std::deque<TSearchRec> kept_;
    std::size_t delivered_ = 0;
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
