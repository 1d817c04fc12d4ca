#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/base/exception.h"

// The records of the CD drives and of a disc's table of contents.
namespace rv {

// The caller's wish for the way to the drives; the drive routines combine it with what the
// system offers (cd/cd_interface.h).
enum class TCDInterface : std::uint8_t { cdiAutoDetect = 0, cdiASPI = 1, cdiNTSCSI = 2 };

// One drive. The INQUIRY texts keep the blanks that pad them to their fixed widths.
struct TCDDriveInfo {
    std::uint8_t Adapter = 0;  // SCSI host adapter (port)
    std::uint8_t Target = 0;
    std::uint8_t Lun = 0;
    std::string Vendor{};          // 8 characters
    std::string Product{};         // 16
    std::string Revision{};        // 4
    std::string VendorSpecific{};  // 20
    // Vendor + Product + Revision; the device name when the drive did not answer the inquiry.
    std::string Description{};
    std::string Device{};      // what the drive is opened by, "/dev/sr0"
    std::string MountPoint{};  // the root folder of its mounted disc; empty when none is mounted

    bool operator==(const TCDDriveInfo&) const = default;
};

inline constexpr std::size_t kMaxCDDrives = 26;

struct TCDDriveTable {
    std::uint8_t CurrentDrive = 0;  // index of the drive last read
    std::uint8_t Count = 0;
    std::array<TCDDriveInfo, kMaxCDDrives> Drives{};

    // Whether a drive is listed at `index` (a Count set by hand past the array lists nothing
    // beyond it).
    bool Lists(std::size_t index) const { return index < Count && index < Drives.size(); }
};

// A position on the disc as minute, second and frame (75 frames a second), counted from the
// start of the disc's lead-in gap, so the first track usually starts at 00:02:00.
struct TCDTOCEntry {
    std::uint8_t Minute = 0;
    std::uint8_t Second = 0;
    std::uint8_t Frame = 0;
    bool Audio = false;

    bool operator==(const TCDTOCEntry&) const = default;
};

inline constexpr std::size_t kMaxCDTracks = 100;

// Track i of the disc, counted from the first track on the disc, is Tracks[i - 1]; at most 99
// tracks are filled.
struct TCDTOC {
    std::uint8_t Count = 0;
    TCDTOCEntry LeadOut{};  // never audio
    std::array<TCDTOCEntry, kMaxCDTracks> Tracks{};

    bool operator==(const TCDTOC&) const = default;
};

// A READ TOC answer with MSF addresses: a 4-byte header (data length high byte first, first and
// last track number), then 8-byte descriptors (reserved, ADR/control, track number, reserved,
// 0, minute, second, frame), the lead-out after the last track.
inline constexpr std::size_t kRawTOCSize = 804;

struct TCDRawTOC {
    std::array<std::uint8_t, kRawTOCSize> Data{};
    std::size_t Length = 0;  // bytes the drive delivered
};

// No way to the drives for the caller's wish.
class ECDError : public Exception {
public:
    using Exception::Exception;
};

}  // namespace rv
