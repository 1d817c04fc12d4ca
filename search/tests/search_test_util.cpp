#include "search/tests/search_test_util.h"

#include <filesystem>
#include <thread>

#include "testsupport/test_files.h"

namespace rv::test {

void MakeFiles(const std::string& root, const Lines& paths) {
    namespace fs = std::filesystem;
    for (const auto& path : paths) {
        const fs::path full = fs::path(root) / path;
        fs::create_directories(path.ends_with('/') ? full : full.parent_path());
        if (!path.ends_with('/')) WriteFileBytes(full.string(), path);
    }
}

TSearchCriteria Criteria(const std::string& masks, const std::string& location) {
    TSearchCriteria criteria;
    criteria.Files.FileName = masks;
    criteria.Files.Location = location;
    return criteria;
}

EventLog::EventLog(TFindFile& find, const std::string& root, const std::string& ignore)
    : root_(root + "/") {
    find.OnSearchBegin = [this](TFindFile&) { Add("begin"); };
    find.OnSearchFinish = [this](TFindFile&) { Add("finish"); };
    find.OnSearchAbort = [this](TFindFile&) { Add("abort"); };
    find.OnFolderChange = [this, ignore](TFindFile&, const std::string& folder, bool& skip) {
        Add("folder " + Rel(folder));
        skip = Rel(folder) == ignore;
    };
    find.OnFileMatch = [this](TFindFile&, const std::string& folder, const TSearchRec& rec) {
        Add("match " + Rel(folder + rec.Name()));
        matches.push_back(Rel(folder + rec.Name()));
    };
}

void EventLog::Add(const std::string& line) {
    static const auto gui = std::this_thread::get_id();
    if (std::this_thread::get_id() != gui) offGuiThread = true;
    lines.push_back(line);
}

std::string EventLog::Rel(const std::string& path) const {
    return path.starts_with(root_) ? path.substr(root_.size()) : path;
}

Lines Search(const TSearchCriteria& criteria, const std::string& root) {
    TFindFile find;
    find.SetCriteria(criteria);
    EventLog log(find, root);
    find.Execute();
    return log.matches;
}

}  // namespace rv::test
