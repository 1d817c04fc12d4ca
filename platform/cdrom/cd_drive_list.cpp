#include "platform/cdrom/cd_drive_list.h"

#include "platform/cdrom/internal/fake_drives.h"
#include "platform/cdrom/internal/linux_drive_list.h"

namespace rv {

std::vector<CdDriveFacts> ListCdDrives() {
    const std::string fakes = cdrom_internal::FakeDrivesFile();
    if (fakes.empty()) {
        return cdrom_internal::ListLinuxCdDrives("/sys/class/block", "/dev",
                                                 "/proc/self/mountinfo");
    }
    std::vector<CdDriveFacts> drives;
    for (const auto& drive : cdrom_internal::ReadFakeDrives(fakes)) {
        drives.push_back({drive.Device, drive.MountPoint});
    }
    return drives;
}

}  // namespace rv
