#include "search/find_file.h"

#include <algorithm>
#include <atomic>
#include <deque>
#include <memory>
#include <vector>

#include "platform/base/exception.h"
#include "platform/messages/application.h"
#include "platform/messages/queued_calls.h"
#include "platform/threads/thread.h"
#include "search/search_walk.h"

namespace rv {

// The worker of one threaded search. Its reports reach the GUI thread in the walk's order as
// calls queued for it (platform/messages/queued_calls.h), which the worker does not wait for.
// Each folder's report asks its folder change there and, when the folder is kept, reports its
// matches; a folder left out drops, besides its own report, those of every folder below it that
// follow (they come before the next report of its level or above). Meanwhile the walk goes on
// as if every folder were kept and passes by the subfolders of one it learns was left out. A
// search that reads the files' contents instead asks each folder by a synchronous call, after
// the calls queued before, and waits: it reads no file of a folder left out. A report holds what
// its records refer to: the folder's path, the entries, the facts read so far and a handle of
// its own on the folder for facts asked later.
class TFindFile::TSearchThread : public TThread {
public:
    explicit TSearchThread(TFindFile& owner)
        : owner_(owner), speculate_(!owner.plan_->ReadsContents()) {
        OnTerminate = [this](TThread*) { owner_.ThreadEnded(*this); };
        SetPriority(owner.ThreadPriority);
        Start();
    }

    // GUI thread: no more reports; the worker's waits end.
    void Cancel() { calls_.Cancel(); }

    // What ended the walk early (a handler's error), for the GUI thread to report.
    std::exception_ptr Error() const { return error_ ? error_ : calls_.Error(); }

protected:
    void Execute() override {
        SearchHooks hooks;
        hooks.Stop = [this] {
            calls_.Poll();  // the walk asks often: reports wait no longer than the queue's delay
            return stopped_ || Terminated();
        };
        hooks.FolderChange = [this](const std::string& folder, int level) {
            return FolderChange(folder, level);
        };
        hooks.FileMatch = [this](const std::string&, const TSearchRec& rec) { Keep(rec); };
        try {
            WalkTargets(*owner_.plan_, hooks);
            QueueReport();
            calls_.WaitUntilRun();
        } catch (...) {
            error_ = std::current_exception();
        }
    }

private:
    // One folder: its change (unless the worker asked it already), then its matches.
    struct Report {
        std::string folder;
        int level = 0;
        bool ask = false;
        bool kept = true;  // GUI thread: the folder's answer
        // The answer for the worker, which passes by what is below a folder left out.
        std::shared_ptr<std::atomic<bool>> leftOut = std::make_shared<std::atomic<bool>>(false);
        FolderHandle handle;
        std::deque<DirEntry> entries;  // the records refer to them: no element moves
        std::deque<TSearchRec> matches;
    };
    // What the queued calls keep between them, in the GUI thread.
    struct Delivery {
        int leftOutLevel = 0;  // reports below this level are dropped; 0: none
    };
    // Matches per queued call: a big folder goes over in pieces, so the loop keeps its turns.
    static constexpr std::size_t kPiece = 32;
    // Calls that may wait to run: each holds a folder open.
    static constexpr std::size_t kQueuedCalls = 64;

    bool FolderChange(const std::string& folder, int level) {
        QueueReport();
        if (stopped_) return false;
        // The reports of the folders above this one; one of them left out leaves out this too.
        while (!path_.empty() && path_.back().level >= level) path_.pop_back();
        for (const Above& above : path_)
            if (above.leftOut->load()) return false;
        report_ = std::make_shared<Report>();
        report_->folder = folder;
        report_->level = level;
        if (speculate_) {
            report_->ask = true;
            path_.push_back({level, report_->leftOut});
            return true;
        }
        // The answer first, asked after everything queued before it.
        if (!calls_.WaitUntilRun()) {
            stopped_ = true;
            report_.reset();
            return false;
        }
        Synchronize([this] { ignoreFolder_ = !owner_.SyncFolderChange(report_->folder); });
        if (ignoreFolder_) report_.reset();
        return !ignoreFolder_;
    }

    // The walk's record lives only while it looks at the entry: the report keeps a copy.
    void Keep(const TSearchRec& rec) {
        if (!report_) return;
        if (report_->matches.empty()) report_->handle.Duplicate(rec.Parent());
        report_->entries.push_back(rec.Entry());
        report_->matches.emplace_back(rec, report_->folder, report_->entries.back(),
                                      report_->handle);
    }

    void QueueReport() {
        const std::shared_ptr<Report> report = std::move(report_);
        if (!report || stopped_ || (!report->ask && report->matches.empty())) return;
        TFindFile& owner = owner_;
        const TQueuedCalls::Watch watch = calls_.Watcher();
        const std::shared_ptr<Delivery> delivery = delivery_;
        const std::size_t count = report->matches.size();
        for (std::size_t begin = 0; begin == 0 || begin < count; begin += kPiece) {
            const std::size_t end = std::min(count, begin + kPiece);
            const bool queued = calls_.Queue([&owner, watch, delivery, report, begin, end] {
                // A handler may end the search, or free the component, under a call's feet.
                if (watch.Cancelled()) return;
                if (begin == 0 && report->ask) {
                    Delivery& d = *delivery;
                    if (d.leftOutLevel != 0 && report->level > d.leftOutLevel) {
                        report->kept = false;
                    } else {
                        d.leftOutLevel = 0;
                        report->kept = owner.SyncFolderChange(report->folder);
                        if (!report->kept) d.leftOutLevel = report->level;
                    }
                    report->leftOut->store(!report->kept);
                }
                for (std::size_t i = begin; i < end && report->kept && !watch.Cancelled(); ++i)
                    owner.SyncFileMatch(report->folder, report->matches[i]);
            });
            if (!queued) {
                stopped_ = true;
                return;
            }
        }
    }

    TFindFile& owner_;
    const bool speculate_;
    TQueuedCalls calls_{kQueuedCalls};
    const std::shared_ptr<Delivery> delivery_ = std::make_shared<Delivery>();
    std::exception_ptr error_;
    std::shared_ptr<Report> report_;
    // The folders the walk is inside, and whether each was left out.
    struct Above {
        int level;
        std::shared_ptr<std::atomic<bool>> leftOut;
    };
    std::vector<Above> path_;
    bool ignoreFolder_ = false;
    bool stopped_ = false;  // the queue was cancelled: the walk ends
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
    hooks.FolderChange = [this](const std::string& folder, int) { return DoFolderChange(folder); };
    hooks.FileMatch = [this](const std::string& folder, const TSearchRec& rec) {
        DoFileMatch(folder, rec);
    };
    WalkTargets(*plan_, hooks);
}

void TFindFile::Abort() {
    if (!Busy()) return;
    aborted_ = true;
    DoSearchAbort();
    if (thread_) {
        thread_->Terminate();
        thread_->Cancel();
    }
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
