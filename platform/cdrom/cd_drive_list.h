#pragma once

#include <string>
#include <vector>

namespace rv {

// A CD-ROM drive of the machine: the device it is opened by and, when a disc in it is mounted,
// the folder that is the disc's root.
struct CdDriveFacts {
    std::string Device;
    std::string MountPoint;
};

// The CD-ROM drives in the order of their numbers (sr0, sr1, ... sr10), or the fake drives in
// the order their file gives (platform/cdrom/cd_drive_source.h).
std::vector<CdDriveFacts> ListCdDrives();

}  // namespace rv
