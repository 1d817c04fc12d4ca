#pragma once

#include <cstdint>

#include "cd/cd_records.h"

// Finding the CD-ROM drives and asking each who it is.
namespace rv {

// Lists the machine's CD-ROM drives into the table, at most 26: Count, and the Device and
// MountPoint of each listed record (its other fields are left to the inquiry). Returns Count.
int GetCDDrives(TCDDriveTable& table);

// Asks the drive for its INQUIRY texts (two seconds at most) and its SCSI address. The texts
// are emptied first; true when both answers came.
bool SptiInquiry(std::uint8_t drive, TCDDriveTable& table);

// Lists the drives again and inquires the given one; when it does not answer, its Description
// is its device name. True when drives were found. Raises ECDError
// (kNoUsableInterfaceShort) when no interface serves `wish`.
bool InquireDrive(std::uint8_t drive, TCDDriveTable& table, TCDInterface wish);

// Fills the table with every drive and its texts. True when at least one drive exists. Raises
// ECDError (kNoUsableInterface) when no interface serves `wish`.
bool EnumerateCDDrives(TCDDriveTable& table, TCDInterface wish);

}  // namespace rv
