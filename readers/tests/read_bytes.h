#pragma once

#include <string>
#include <string_view>

#include "testsupport/temp_dir.h"
#include "testsupport/test_files.h"

namespace rv::test {

// Writes `bytes` as a file in a fresh temporary folder and has `reader` read it by name.
template <typename Reader>
bool ReadBytes(Reader& reader, std::string_view bytes, const std::string& name = "file") {
    TempDir dir;
    const std::string path = dir / name;
    WriteFileBytes(path, bytes);
    return reader.ReadFromFile(path);
}

}  // namespace rv::test
