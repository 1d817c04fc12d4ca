#include "cd/cd_drives.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <string_view>

#include "cd/cd_interface.h"
#include "platform/cdrom/cd_device.h"
#include "platform/cdrom/cd_drive_list.h"
#include "platform/text/codepage.h"

namespace rv {
namespace {

constexpr std::size_t kInquirySize = 100;
constexpr unsigned kInquiryTimeoutSeconds = 2;

// Characters [from, from + count) of the zero-terminated text that starts at byte 8 of the
// answer. The texts are meant to be ASCII; any other byte is read as ISO-8859-1.
std::string InquiryText(const std::array<std::uint8_t, kInquirySize>& answer, std::size_t from,
                        std::size_t count) {
    const auto* text = reinterpret_cast<const char*>(answer.data()) + 8;
    const std::string_view all(text, std::find(text, text + kInquirySize - 8, '\0') - text);
    return DecodeCodePage(CodePage::Iso8859_1, all.substr(std::min(from, all.size()), count));
}

// A drive that does not answer is described by its device name. Only that drive: the others
// keep the texts they answered with.
void InquireListed(std::uint8_t drive, TCDDriveTable& table) {
    if (!SptiInquiry(drive, table)) table.Drives[drive].Description = table.Drives[drive].Device;
}

}  // namespace

int GetCDDrives(TCDDriveTable& table) {
    const std::vector<CdDriveFacts> drives = ListCdDrives();
    table.Count = static_cast<std::uint8_t>(std::min(drives.size(), kMaxCDDrives));
    for (std::size_t i = 0; i < table.Count; ++i) {
        table.Drives[i].Device = drives[i].Device;
        table.Drives[i].MountPoint = drives[i].MountPoint;
    }
    return table.Count;
}

bool SptiInquiry(std::uint8_t drive, TCDDriveTable& table) {
    if (!table.Lists(drive)) return false;
    TCDDriveInfo& info = table.Drives[drive];
    info.Vendor = info.Product = info.Revision = info.VendorSpecific = info.Description = {};
    info.Adapter = info.Target = info.Lun = 0;
    CdDevice device(info.Device);
    if (!device.IsOpen()) return false;

    std::array<std::uint8_t, kInquirySize> answer{};
    const std::uint8_t cdb[6] = {0x12, 0, 0, 0, kInquirySize, 0};  // INQUIRY
    std::size_t received = 0;
    if (device.ScsiRead(cdb, answer, kInquiryTimeoutSeconds, received) != 0) return false;
    info.Vendor = InquiryText(answer, 0, 8);
    info.Product = InquiryText(answer, 8, 16);
    info.Revision = InquiryText(answer, 24, 4);
    info.VendorSpecific = InquiryText(answer, 28, 20);
    info.Description = info.Vendor + info.Product + info.Revision;

    ScsiAddress address;
    if (!device.GetScsiAddress(address)) return false;
    info.Adapter = address.PortNumber;
    info.Target = address.TargetId;
    info.Lun = address.Lun;
    return true;
}

bool InquireDrive(std::uint8_t drive, TCDDriveTable& table, TCDInterface wish) {
    RequirePassThrough(wish, kNoUsableInterfaceShort);
    if (GetCDDrives(table) == 0) return false;
    if (table.Lists(drive)) InquireListed(drive, table);
    return true;
}

bool EnumerateCDDrives(TCDDriveTable& table, TCDInterface wish) {
    RequirePassThrough(wish, kNoUsableInterface);
    const int count = GetCDDrives(table);
    for (int i = 0; i < count; ++i) InquireListed(static_cast<std::uint8_t>(i), table);
    return count > 0;
}

}  // namespace rv
