#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "search/find_file.h"
#include "testsupport/test_files.h"

namespace rv::test {

using Lines = std::vector<std::string>;

// The audio masks the folder scan passes.
inline constexpr const char* kAudioMasks =
    "*.MP1;*.MP2;*.MP3;*.MP+;*.MPC;*.MPP;*.OGG;*.VQF;*.MAC;*.APE;*.WMA;*.WV;*.AAC;*.FLAC;*.OFR";

// Makes files (each holding its own path) and folders (paths ending in "/") under `root`.
inline void MakeFiles(const std::string& root, const Lines& paths) {
    namespace fs = std::filesystem;
    for (const auto& path : paths) {
        const fs::path full = fs::path(root) / path;
        fs::create_directories(path.ends_with('/') ? full : full.parent_path());
        if (!path.ends_with('/')) WriteFileBytes(full.string(), path);
    }
}

// Makes a sparse file of `size` bytes holding `bytes` at each offset given; the rest are holes.
inline void MakeSparseFile(const std::string& path, std::uint64_t size,
                           const std::vector<std::pair<std::uint64_t, std::string>>& bytes) {
    WriteFileBytes(path, "");
    std::filesystem::resize_file(path, size);
    std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
    for (const auto& [offset, text] : bytes) {
        file.seekp(static_cast<std::streamoff>(offset));
        file.write(text.data(), static_cast<std::streamsize>(text.size()));
    }
}

// How many bytes this process has read from files so far (holes count).
inline std::uint64_t BytesRead() {
    std::ifstream io("/proc/self/io");
    std::string key;
    std::uint64_t value = 0;
    while (io >> key >> value)
        if (key == "rchar:") return value;
    return 0;
}

inline TSearchCriteria Criteria(const std::string& masks, const std::string& location) {
    TSearchCriteria criteria;
    criteria.Files.FileName = masks;
    criteria.Files.Location = location;
    return criteria;
}

// Records every event of a search as a line ("begin", "folder a/", "match a/x.mp3", "abort",
// "finish"), paths relative to `root`; `ignore` is the folder OnFolderChange skips.
class EventLog {
public:
    EventLog(TFindFile& find, const std::string& root, const std::string& ignore = "-")
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
    Lines lines;
    Lines matches;  // "match" lines without the word
    bool offGuiThread = false;

private:
    void Add(const std::string& line) {
        static const auto gui = std::this_thread::get_id();
        if (std::this_thread::get_id() != gui) offGuiThread = true;
        lines.push_back(line);
    }
    std::string Rel(const std::string& path) const {
        return path.starts_with(root_) ? path.substr(root_.size()) : path;
    }
    std::string root_;
};

// Runs a direct search and returns the paths it reported relative to `root`, in order.
inline Lines Search(const TSearchCriteria& criteria, const std::string& root) {
    TFindFile find;
    find.SetCriteria(criteria);
    EventLog log(find, root);
    find.Execute();
    return log.matches;
}

}  // namespace rv::test
