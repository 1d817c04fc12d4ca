#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "testsupport/temp_dir.h"
#include "testsupport/test_files.h"

namespace rv::test {

// Writes `bytes` as a file in a fresh temporary folder and has `reader` read it by name.
template <typename Reader>
bool ReadBytes(Reader& reader, std::string_view bytes) {
    TempDir dir;
    const std::string path = dir / "file";
    WriteFileBytes(path, bytes);
    return reader.ReadFromFile(path);
}

// A fresh reader that has read `bytes`, which must succeed.
template <typename Reader>
Reader Read(std::string_view bytes) {
    Reader reader;
    EXPECT_TRUE(ReadBytes(reader, bytes));
    return reader;
}

}  // namespace rv::test
