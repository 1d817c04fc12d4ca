#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

// One CD-ROM drive opened for the calls the TOC code makes: SCSI commands that read data (the
// pass-through), the drive's SCSI address and the CD-ROM driver's own table of contents.
// The drive is opened read-only and without waiting for a disc. Every call reports 0 or an
// error number of platform/cdrom/device_errors.h; nothing here throws for a device failure.
namespace rv {

namespace cdrom_internal {
class DeviceBackend;
}

// Where the drive sits on its SCSI bus: host adapter (port), bus (path), target and unit.
struct ScsiAddress {
    std::uint8_t PortNumber = 0;
    std::uint8_t PathId = 0;
    std::uint8_t TargetId = 0;
    std::uint8_t Lun = 0;
};

class CdDevice {
public:
    // `device` as the drive list names it ("/dev/sr0"); a fake drive when fakes are in use
    // (platform/cdrom/cd_drive_source.h).
    explicit CdDevice(const std::string& device);
    ~CdDevice();
    CdDevice(const CdDevice&) = delete;
    CdDevice& operator=(const CdDevice&) = delete;

    bool IsOpen() const { return backend_ != nullptr; }
    // Why the drive could not be opened; 0 when it is open.
    int OpenError() const { return openError_; }

    // Sends `cdb` and reads the drive's answer into `data`; `received` is how many bytes the
    // drive delivered (the rest of `data` is left as it was). A drive that does not answer
    // within `timeoutSeconds` fails with ERROR_SEM_TIMEOUT.
    int ScsiRead(std::span<const std::uint8_t> cdb, std::span<std::uint8_t> data,
                 unsigned timeoutSeconds, std::size_t& received);

    bool GetScsiAddress(ScsiAddress& address);

    // The table of contents as the CD-ROM driver keeps it, laid out as READ TOC returns it with
    // MSF addresses: a 4-byte header (length, first and last track) and 8-byte descriptors,
    // the lead-out last. At most `data.size()` bytes are written.
    int ReadTocIoctl(std::span<std::uint8_t> data, std::size_t& received);

private:
    std::unique_ptr<cdrom_internal::DeviceBackend> backend_;
    int openError_ = 0;
};

}  // namespace rv
