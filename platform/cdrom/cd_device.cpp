#include "platform/cdrom/cd_device.h"

#include "platform/cdrom/device_errors.h"
#include "platform/cdrom/internal/device_backend.h"
#include "platform/cdrom/internal/fake_drives.h"

namespace rv {

CdDevice::CdDevice(const std::string& device) {
    const std::string fakes = cdrom_internal::FakeDrivesFile();
    if (fakes.empty()) {
        backend_ = cdrom_internal::OpenLinuxDevice(device, openError_);
        return;
    }
    for (auto& drive : cdrom_internal::ReadFakeDrives(fakes)) {
        if (drive.Device != device) continue;
        openError_ = drive.ErrorOf("open");
        if (openError_ == ERROR_SUCCESS)
            backend_ = cdrom_internal::MakeFakeDevice(std::move(drive));
        return;
    }
    openError_ = ERROR_FILE_NOT_FOUND;
}

CdDevice::~CdDevice() = default;

int CdDevice::ScsiRead(std::span<const std::uint8_t> cdb, std::span<std::uint8_t> data,
                       unsigned timeoutSeconds, std::size_t& received) {
    received = 0;
    return backend_ ? backend_->ScsiRead(cdb, data, timeoutSeconds, received)
                    : ERROR_INVALID_FUNCTION;
}

bool CdDevice::GetScsiAddress(ScsiAddress& address) {
    return backend_ && backend_->GetScsiAddress(address);
}

int CdDevice::ReadTocIoctl(std::span<std::uint8_t> data, std::size_t& received) {
    received = 0;
    return backend_ ? backend_->ReadTocIoctl(data, received) : ERROR_INVALID_FUNCTION;
}

}  // namespace rv
