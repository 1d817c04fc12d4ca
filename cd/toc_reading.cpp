#include "cd/toc_reading.h"

#include "cd/cd_interface.h"
#include "cd/toc_convert.h"
#include "platform/cdrom/cd_device.h"
#include "platform/cdrom/device_errors.h"
#include "platform/text/format.h"

namespace rv {
namespace {

constexpr unsigned kReadTocTimeoutSeconds = 5;

// READ TOC, MSF addresses, from the first track, allocation length 804.
constexpr std::uint8_t kReadTocCdb[10] = {0x43, 0x02, 0, 0, 0, 0, 0, 0x03, 0x24, 0};
static_assert((kReadTocCdb[7] << 8 | kReadTocCdb[8]) == kRawTOCSize);

// The device a listed drive is opened by; nothing for an index beyond the list.
std::string DeviceOf(const TCDDriveTable& table, std::uint8_t drive) {
    return table.Lists(drive) ? table.Drives[drive].Device : std::string();
}

void Tell(const TCDStatusEvent& status, TCDNotice notice, const std::string& text) {
    if (status) status(notice, text);
}

}  // namespace

int SptiReadTOC(const TCDDriveTable& table, std::uint8_t drive, TCDRawTOC& raw,
                const TCDStatusEvent& status) {
    raw = TCDRawTOC{};
    const std::string name = DeviceOf(table, drive);
    if (name.empty()) return -1;
    CdDevice device(name);
    if (!device.IsOpen()) return -1;
    const int error = device.ScsiRead(kReadTocCdb, raw.Data, kReadTocTimeoutSeconds, raw.Length);
    switch (error) {
        case ERROR_SUCCESS:
            return 0;
        case ERROR_ACCESS_DENIED:
            Tell(status, TCDNotice::Warning,
                 "You must have permission to send SCSI commands to " + name +
                     "; falling back to IOCTL. This may cause erroneous results if a "
                     "Mixed-Mode CD is in the drive.");
            return IoctlReadTOC(table, drive, raw);
        case ERROR_IO_DEVICE:  // among others: no disc
            raw = TCDRawTOC{};
            return -1;
        case ERROR_NO_SYSTEM_RESOURCES:
            return -1;
        default:
            Tell(status, TCDNotice::Error, Format("IO Error: %d", error));
            return -1;
    }
}

int IoctlReadTOC(const TCDDriveTable& table, std::uint8_t drive, TCDRawTOC& raw) {
    raw = TCDRawTOC{};
    const std::string name = DeviceOf(table, drive);
    if (name.empty()) return -1;
    CdDevice device(name);
    if (!device.IsOpen()) return -1;
    return device.ReadTocIoctl(raw.Data, raw.Length) == ERROR_SUCCESS ? 0 : -1;
}

bool ReadTOC(TCDInterface wish, std::uint8_t drive, const TCDDriveTable& table, TCDTOC& toc,
             const TCDStatusEvent& status) {
    RequirePassThrough(wish, kNoUsableInterface);
    TCDRawTOC raw;
    if (SptiReadTOC(table, drive, raw, status) == -1) IoctlReadTOC(table, drive, raw);
    return !ConvertTOC(raw, toc);
}

}  // namespace rv
