#pragma once

#include <string>
#include <vector>

#include "search/find_file.h"

namespace rv::test {

// The audio masks the folder scan passes.
inline constexpr const char* kAudioMasks =
    "*.MP1;*.MP2;*.MP3;*.MP+;*.MPC;*.MPP;*.OGG;*.VQF;*.MAC;*.APE;*.WMA;*.WV;*.AAC;*.FLAC;*.OFR";

// Makes files (and their folders) under `root`; a path ending in "/" makes a folder.
void MakeFiles(const std::string& root, const std::vector<std::string>& paths);

// Sets a file's modification time, given as local time "YYYY-MM-DD hh:mm:ss".
void SetModified(const std::string& path, const std::string& localTime);

// Runs a direct search and returns the full paths it reported, in the order reported.
std::vector<std::string> Search(const TSearchCriteria& criteria);

// Paths relative to `root` ("/" joined), for readable expectations.
std::vector<std::string> Relative(const std::string& root, std::vector<std::string> paths);

}  // namespace rv::test
