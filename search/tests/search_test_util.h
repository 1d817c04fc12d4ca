#pragma once

#include <string>
#include <vector>

#include "search/find_file.h"

namespace rv::test {

using Lines = std::vector<std::string>;

// The audio masks the folder scan passes.
inline constexpr const char* kAudioMasks =
    "*.MP1;*.MP2;*.MP3;*.MP+;*.MPC;*.MPP;*.OGG;*.VQF;*.MAC;*.APE;*.WMA;*.WV;*.AAC;*.FLAC;*.OFR";

// Makes files (each holding its own path) and folders (paths ending in "/") under `root`.
void MakeFiles(const std::string& root, const Lines& paths);

TSearchCriteria Criteria(const std::string& masks, const std::string& location);

// Records every event of a search as a line ("begin", "folder a/", "match a/x.mp3", "abort",
// "finish"), paths relative to `root`; `ignore` is the folder OnFolderChange skips.
class EventLog {
public:
    EventLog(TFindFile& find, const std::string& root, const std::string& ignore = "-");
    Lines lines;
    Lines matches;  // "match" lines without the word
    bool offGuiThread = false;

private:
    void Add(const std::string& line);
    std::string Rel(const std::string& path) const;
    std::string root_;
};

// Runs a direct search and returns the paths it reported relative to `root`, in order.
Lines Search(const TSearchCriteria& criteria, const std::string& root);

}  // namespace rv::test
