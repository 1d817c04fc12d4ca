#pragma once

#include <string>
#include <vector>

#include "platform/cdrom/cd_drive_list.h"

namespace rv::cdrom_internal {

// The sr* block devices under `sysClassBlock` (/sys/class/block), named in `devFolder` (/dev),
// with their mount points from `mountInfo` (/proc/self/mountinfo).
std::vector<CdDriveFacts> ListLinuxCdDrives(const std::string& sysClassBlock,
                                            const std::string& devFolder,
                                            const std::string& mountInfo);

// A path as mountinfo writes it, with its octal escapes (\040 for a blank) undone.
std::string UnescapeMountPath(const std::string& text);

}  // namespace rv::cdrom_internal
