#pragma once

#include <string>
#include <string_view>

namespace rv::test {

// The project's source folder, for test data and scripts committed beside the code.
std::string SourcePath(std::string_view relative);
// A file under testdata/.
std::string TestDataPath(std::string_view relative);

// Whole-file helpers that fail the running test (and return empty) rather than throw.
std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, std::string_view bytes);
bool FileExists(const std::string& path);

}  // namespace rv::test
