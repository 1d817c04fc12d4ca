#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "platform/cdrom/cd_device.h"

// What a drive behind CdDevice answers: a real /dev/sr* node or a fake described in a file.
namespace rv::cdrom_internal {

class DeviceBackend {
public:
    virtual ~DeviceBackend() = default;
    virtual int ScsiRead(std::span<const std::uint8_t> cdb, std::span<std::uint8_t> data,
                         unsigned timeoutSeconds, std::size_t& received) = 0;
    virtual bool GetScsiAddress(ScsiAddress& address) = 0;
    virtual int ReadTocIoctl(std::span<std::uint8_t> data, std::size_t& received) = 0;
};

// Opens the machine's drive; on failure null, with the error in `error`.
std::unique_ptr<DeviceBackend> OpenLinuxDevice(const std::string& device, int& error);

}  // namespace rv::cdrom_internal
