// The machine's drives: /dev/sr* through SG_IO and the CD-ROM driver's ioctls.

#include <fcntl.h>
#include <linux/cdrom.h>
#include <scsi/scsi.h>
#include <scsi/sg.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "platform/cdrom/device_errors.h"
#include "platform/cdrom/internal/device_backend.h"
#include "platform/cdrom/internal/sg_status.h"

namespace rv::cdrom_internal {
namespace {

int LastError() {
    return ErrorFromErrno(errno);
}

class LinuxDevice final : public DeviceBackend {
public:
    explicit LinuxDevice(int fd) : fd_(fd) {}
    ~LinuxDevice() override { ::close(fd_); }

    int ScsiRead(std::span<const std::uint8_t> cdb, std::span<std::uint8_t> data,
                 unsigned timeoutSeconds, std::size_t& received) override {
        received = 0;
        if (cdb.empty() || cdb.size() > 16) return ERROR_INVALID_FUNCTION;
        std::uint8_t command[16] = {};
        std::copy(cdb.begin(), cdb.end(), command);
        std::uint8_t sense[32] = {};
        sg_io_hdr_t io{};
        io.interface_id = 'S';
        io.dxfer_direction = SG_DXFER_FROM_DEV;
        io.cmd_len = static_cast<unsigned char>(cdb.size());
        io.cmdp = command;
        io.dxfer_len = static_cast<unsigned>(data.size());
        io.dxferp = data.data();
        io.mx_sb_len = sizeof sense;
        io.sbp = sense;
        io.timeout = timeoutSeconds * 1000;
        if (::ioctl(fd_, SG_IO, &io) < 0) return LastError();
        const int error = ErrorFromScsiOutcome(io.status, io.host_status, io.driver_status, sense,
                                               std::min<std::size_t>(io.sb_len_wr, sizeof sense));
        if (error != ERROR_SUCCESS) return error;
        const std::size_t missing = io.resid > 0 ? static_cast<std::size_t>(io.resid) : 0;
        received = data.size() - std::min(missing, data.size());
        return ERROR_SUCCESS;
    }

    bool GetScsiAddress(ScsiAddress& address) override {
        // The kernel's answer packs target, unit, bus and host into one word, a byte each.
        struct {
            std::uint32_t devId;
            std::uint32_t hostUniqueId;
        } idLun{};
        if (::ioctl(fd_, SCSI_IOCTL_GET_IDLUN, &idLun) < 0) return false;
        address.TargetId = static_cast<std::uint8_t>(idLun.devId);
        address.Lun = static_cast<std::uint8_t>(idLun.devId >> 8);
        address.PathId = static_cast<std::uint8_t>(idLun.devId >> 16);
        address.PortNumber = static_cast<std::uint8_t>(idLun.devId >> 24);
        return true;
    }

    int ReadTocIoctl(std::span<std::uint8_t> data, std::size_t& received) override {
        received = 0;
        cdrom_tochdr header{};
        if (::ioctl(fd_, CDROMREADTOCHDR, &header) < 0) return LastError();
        std::uint8_t toc[4 + 100 * 8] = {};
        toc[2] = header.cdth_trk0;
        toc[3] = header.cdth_trk1;
        std::size_t length = 4;
        // The buffer holds 99 tracks and the lead-out; a header that claims more is passed on
        // alone, for the caller to refuse.
        if (header.cdth_trk0 <= header.cdth_trk1 && header.cdth_trk1 - header.cdth_trk0 < 99) {
            for (int track = header.cdth_trk0; track <= header.cdth_trk1 + 1; ++track) {
                cdrom_tocentry entry{};
                entry.cdte_track =
                    track <= header.cdth_trk1 ? static_cast<std::uint8_t>(track) : CDROM_LEADOUT;
                entry.cdte_format = CDROM_MSF;
                if (::ioctl(fd_, CDROMREADTOCENTRY, &entry) < 0) return LastError();
                std::uint8_t* d = toc + length;
                d[1] = static_cast<std::uint8_t>(entry.cdte_adr << 4 | entry.cdte_ctrl);
                d[2] = entry.cdte_track;
                d[5] = entry.cdte_addr.msf.minute;
                d[6] = entry.cdte_addr.msf.second;
                d[7] = entry.cdte_addr.msf.frame;
                length += 8;
            }
        }
        toc[0] = static_cast<std::uint8_t>((length - 2) >> 8);
        toc[1] = static_cast<std::uint8_t>(length - 2);
        received = std::min(length, data.size());
        std::copy_n(toc, received, data.begin());
        return ERROR_SUCCESS;
    }

private:
    int fd_;
};

}  // namespace

std::unique_ptr<DeviceBackend> OpenLinuxDevice(const std::string& device, int& error) {
    // Read-only is enough for INQUIRY and READ TOC; without O_NONBLOCK an empty drive would
    // refuse to open, and the caller wants to learn that it is empty.
    const int fd = ::open(device.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        error = LastError();
        return nullptr;
    }
    error = ERROR_SUCCESS;
    return std::make_unique<LinuxDevice>(fd);
}

}  // namespace rv::cdrom_internal
