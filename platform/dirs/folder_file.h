#pragma once

#include <string>

#include "platform/dirs/directory.h"
#include "platform/files/read_only_file.h"

namespace rv {

// Opens the regular file `name` of `folder` for reading, a link followed; folders, devices,
// FIFOs and sockets are refused. Reaches files below the path limit, as the folder does.
bool OpenInFolder(ReadOnlyFile& file, const FolderHandle& folder, const std::string& name);

}  // namespace rv
