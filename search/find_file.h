#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <string>

#include "search/search_criteria.h"
#include "search/search_rec.h"
#include "search/target_search.h"

namespace rv {

class TFindFile;

using TFileMatchEvent =
    std::function<void(TFindFile& sender, const std::string& folder, const TSearchRec& fileInfo)>;
using TFolderChangeEvent =
    std::function<void(TFindFile& sender, const std::string& folder, bool& ignoreFolder)>;
using TNotifyEvent = std::function<void(TFindFile& sender)>;

// Walks folder trees and reports every file that passes its criteria through events. In the
// direct mode the walk runs inside Execute; with Threaded it runs in a worker thread, and the
// folder and file events are still delivered in the calling (GUI) thread, each while the worker
// waits for it, so no handler ever runs beside the GUI.
class TFindFile {
public:
    TFindFile();
    virtual ~TFindFile();
    TFindFile(const TFindFile&) = delete;
    TFindFile& operator=(const TFindFile&) = delete;

    TSearchCriteria& Criteria() { return criteria_; }
    void SetCriteria(const TSearchCriteria& criteria) { criteria_.Assign(criteria); }

    bool Threaded = false;

    TFileMatchEvent OnFileMatch;
    TFolderChangeEvent OnFolderChange;
    TNotifyEvent OnSearchBegin;
    TNotifyEvent OnSearchFinish;
    TNotifyEvent OnSearchAbort;

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
    void Finish();

    TSearchCriteria criteria_;
    std::unique_ptr<TTargetSearch> plan_;
    std::atomic<bool> busy_{false};
    std::atomic<bool> aborted_{false};
    std::atomic<bool> destroying_{false};
};

}  // namespace rv
