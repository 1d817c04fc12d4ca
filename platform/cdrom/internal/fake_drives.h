#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/cdrom/cd_device.h"
#include "platform/cdrom/internal/device_backend.h"

// The fake drives of a description file (format in platform/cdrom/cd_drive_source.h).
namespace rv::cdrom_internal {

struct FakeTrack {
    std::uint8_t Number = 0;
    std::array<std::uint8_t, 3> Msf{};
    std::uint8_t Control = 0;
};

struct FakeDrive {
    std::string Device;
    std::string MountPoint;
    std::string Vendor, Product, Revision, VendorSpecific;
    std::optional<ScsiAddress> Address;
    std::vector<FakeTrack> Tracks;
    std::array<std::uint8_t, 3> LeadOut{};
    std::optional<std::vector<std::uint8_t>> TocBytes;
    std::map<std::string, int> Errors;  // operation -> error number

    bool HasDisc() const { return !Tracks.empty() || TocBytes.has_value(); }
    int ErrorOf(const std::string& operation) const;
};

// Raises rv::Exception naming `fileName` and the line of the first statement it cannot read.
std::vector<FakeDrive> ParseFakeDrives(const std::string& text, const std::string& fileName);
std::vector<FakeDrive> ReadFakeDrives(const std::string& path);

std::unique_ptr<DeviceBackend> MakeFakeDevice(FakeDrive drive);

// The description file in use; empty while the machine's drives are.
std::string FakeDrivesFile();

}  // namespace rv::cdrom_internal
