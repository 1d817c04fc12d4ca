#pragma once

#include <cstdint>

namespace rv::test {

// Caps the size of any file this process writes, for the life of the object. The signal the
// system sends for a write past the cap is left as the program under test has it.
class FileSizeLimit {
public:
    explicit FileSizeLimit(std::uint64_t bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    std::uint64_t savedSoft_, savedHard_;
};

}  // namespace rv::test
