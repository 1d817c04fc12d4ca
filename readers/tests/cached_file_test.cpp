#include "readers/cached_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

#include "testsupport/temp_dir.h"
#include "testsupport/test_files.h"

namespace rv {
namespace {

// Reads and views anywhere in files smaller and larger than the windows, near the end, past
// the end and larger than a window, in an order that keeps refilling the windows: each gives
// the file's bytes.
TEST(CachedFile, ReadsAndViewsGiveTheFilesBytesWhereverTheyFall) {
    test::TempDir dir;
    constexpr std::size_t kWindow = CachedFile::kWindowSize;
    for (const std::size_t size : {std::size_t{100}, kWindow, 3 * kWindow + 123}) {
        SCOPED_TRACE(size);
        std::mt19937 random(static_cast<unsigned>(size));
        std::string bytes(size, '\0');
        for (char& c : bytes) c = static_cast<char>(random());
        const std::string path = dir / std::to_string(size);
        test::WriteFileBytes(path, bytes);
        ReadOnlyFile opened(path);
        CachedFile file(opened);
        ASSERT_EQ(file.Size(), size);
        auto expected = [&](std::uint64_t offset, std::size_t count) {
            return offset >= size ? std::string() : bytes.substr(offset, count);
        };
        for (int i = 0; i < 3000; ++i) {
            const std::uint64_t offset = random() % (size + 20);
            const std::size_t count = random() % 4 == 0 ? random() % (2 * kWindow) : random() % 600;
            std::string read(count, '\0');
            read.resize(file.ReadAt(offset, read.data(), count));
            ASSERT_EQ(read, expected(offset, count)) << offset << " " << count;
            const std::size_t viewed = std::min(count, kWindow);
            ASSERT_EQ(file.View(offset, viewed), expected(offset, viewed))
                << offset << " " << count;
        }
    }
}

}  // namespace
}  // namespace rv
