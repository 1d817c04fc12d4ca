#pragma once

#include <string>

#include "platform/files/read_only_file.h"
#include "readers/cached_file.h"

namespace rv {

// ReadFromFile by file name for a reader that reads an open file: the reader is reset, the file
// opened read-only for this one call and closed again. False when the file cannot be opened.
template <typename Reader>
bool ReadFromPath(Reader& reader, const std::string& fileName) {
    reader.Reset();
    ReadOnlyFile file;
    if (!file.Open(fileName)) return false;
    CachedFile cached(file);
    return reader.ReadFromFile(cached);
}

}  // namespace rv
