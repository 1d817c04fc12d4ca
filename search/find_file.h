#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/threads/thread.h"
#include "search/search_criteria.h"
#include "search/search_rec.h"
#include "search/target_search.h"

namespace rv {

class TFindFile;

using TFileMatchEvent =
    std::function<void(TFindFile& sender, const std::string& folder, const TSearchRec& fileInfo)>;
using TFolderChangeEvent =
    std::function<void(TFindFile& sender, const std::string& folder, bool& ignoreFolder)>;
using TSearchNotifyEvent = std::function<void(TFindFile& sender)>;

// Walks folder trees and reports every file that passes its criteria through events. In the
// direct mode the walk runs inside Execute; with Threaded it runs in a worker thread, and the
// folder and file events are still delivered in the calling (GUI) thread, in the walk's order,
// while the worker waits, so no handler ever runs beside the GUI: a folder's matches come with
// the worker's next call, which asks the next folder change (or ends the walk). A threaded
// search needs the application object (platform/messages), whose loop must run for the search
// to make progress.
class TFindFile {
public:
    TFindFile();
    virtual ~TFindFile();
    TFindFile(const TFindFile&) = delete;
    TFindFile& operator=(const TFindFile&) = delete;

    TSearchCriteria& Criteria() { return criteria_; }
    void SetCriteria(const TSearchCriteria& criteria) { criteria_.Assign(criteria); }

    bool Threaded = false;
    // Priority of the worker of a threaded search.
    TThreadPriority ThreadPriority = tpNormal;

    TFileMatchEvent OnFileMatch;
    TFolderChangeEvent OnFolderChange;
    TSearchNotifyEvent OnSearchBegin;
    // Fired once the search is over and the component idle, so its handler may start the next.
    TSearchNotifyEvent OnSearchFinish;
    TSearchNotifyEvent OnSearchAbort;

    // Starts a search; does nothing while one runs. Without Threaded it returns when the search
    // has finished, with Threaded at once.
    void Execute();
    // Stops the running search at its next check; does not wait. Does nothing when idle.
    void Abort();

    bool Busy() const { return busy_.load(); }
    bool Aborted() const { return aborted_.load(); }

protected:
    virtual void DoSearchBegin();
    virtual void DoSearchFinish();
    virtual void DoSearchAbort();
    // Whether the folder is to be searched.
    virtual bool DoFolderChange(const std::string& folder);
    virtual void DoFileMatch(const std::string& folder, const TSearchRec& fileInfo);

private:
    class TSearchThread;
    friend class TSearchThread;

    void Walk();
    void Finish();
    // The worker's calls, run in the GUI thread while it waits.
    bool SyncFolderChange(const std::string& folder);
    void SyncFileMatch(const std::string& folder, const TSearchRec& fileInfo);
    void ThreadEnded(TSearchThread& thread);

    TSearchCriteria criteria_;
    std::unique_ptr<TTargetSearch> plan_;
    // The worker of the running threaded search, and those of earlier searches that may not have
    // ended yet: a worker is joined only once it has, so that a search started from the finish
    // event never waits for the worker that is delivering that event.
    std::unique_ptr<TSearchThread> thread_;
    std::vector<std::unique_ptr<TSearchThread>> endedThreads_;
    std::atomic<bool> busy_{false};
    std::atomic<bool> aborted_{false};
    std::atomic<bool> destroying_{false};
};

}  // namespace rv
