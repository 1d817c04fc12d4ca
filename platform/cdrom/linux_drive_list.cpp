// The machine's CD-ROM drives: the sr* block devices sysfs lists, and where their discs are
// mounted.

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

#include "platform/cdrom/internal/linux_drive_list.h"

namespace rv::cdrom_internal {
namespace {

// The number of an "sr<digits>" name, or -1.
long DriveNumber(const std::string& name) {
    if (name.size() < 3 || name.size() > 9 || name.compare(0, 2, "sr") != 0) return -1;
    if (!std::all_of(name.begin() + 2, name.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return -1;
    }
    return std::strtol(name.c_str() + 2, nullptr, 10);
}

std::string FirstLine(const std::string& path) {
    std::ifstream in(path);
    std::string line;
    std::getline(in, line);
    return line;
}

// The first mount point of the block device numbered `majorMinor` ("11:0").
std::string MountPointOf(const std::string& majorMinor, const std::string& mountInfo) {
    if (majorMinor.empty()) return {};
    std::ifstream in(mountInfo);
    std::string line;
    while (std::getline(in, line)) {
        // mount id, parent id, major:minor, root, mount point, ...
        std::istringstream fields(line);
        std::string id, parent, device, root, point;
        if (fields >> id >> parent >> device >> root >> point && device == majorMinor) {
            return UnescapeMountPath(point);
        }
    }
    return {};
}

}  // namespace

std::string UnescapeMountPath(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto isOctal = [&](std::size_t k) {
            return k < text.size() && text[k] >= '0' && text[k] <= '7';
        };
        if (text[i] == '\\' && isOctal(i + 1) && isOctal(i + 2) && isOctal(i + 3)) {
            out += static_cast<char>((text[i + 1] - '0') * 64 + (text[i + 2] - '0') * 8 +
                                     (text[i + 3] - '0'));
            i += 3;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::vector<CdDriveFacts> ListLinuxCdDrives(const std::string& sysClassBlock,
                                            const std::string& devFolder,
                                            const std::string& mountInfo) {
    std::vector<std::pair<long, std::string>> names;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(sysClassBlock, ec)) {
        std::string name = entry.path().filename().string();
        const long number = DriveNumber(name);
        if (number >= 0) names.emplace_back(number, std::move(name));
    }
    std::sort(names.begin(), names.end());
    std::vector<CdDriveFacts> drives;
    for (const auto& [number, name] : names) {
        const std::string majorMinor = FirstLine(sysClassBlock + "/" + name + "/dev");
        drives.push_back({devFolder + "/" + name, MountPointOf(majorMinor, mountInfo)});
    }
    return drives;
}

}  // namespace rv::cdrom_internal
