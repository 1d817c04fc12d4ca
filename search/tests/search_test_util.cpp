#include "search/tests/search_test_util.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "testsupport/process.h"
#include "testsupport/test_files.h"

namespace rv::test {

void MakeFiles(const std::string& root, const std::vector<std::string>& paths) {
    namespace fs = std::filesystem;
    for (const auto& path : paths) {
        const fs::path full = fs::path(root) / path;
        if (path.ends_with('/')) {
            fs::create_directories(full);
        } else {
            fs::create_directories(full.parent_path());
            WriteFileBytes(full.string(), path);
        }
    }
}

void SetModified(const std::string& path, const std::string& localTime) {
    const auto result = RunProcess({"touch", "-m", "-d", localTime, path});
    ASSERT_EQ(result.exitCode, 0) << result.err;
}

std::vector<std::string> Search(const TSearchCriteria& criteria) {
    TFindFile find;
    find.SetCriteria(criteria);
    std::vector<std::string> found;
    find.OnFileMatch = [&](TFindFile&, const std::string& folder, const TSearchRec& rec) {
        found.push_back(folder + rec.Name());
    };
    find.Execute();
    return found;
}

std::vector<std::string> Relative(const std::string& root, std::vector<std::string> paths) {
    for (auto& path : paths)
        if (path.starts_with(root + "/")) path.erase(0, root.size() + 1);
    return paths;
}

}  // namespace rv::test
