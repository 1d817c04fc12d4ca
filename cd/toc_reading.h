#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "cd/cd_records.h"

// Reading a disc's table of contents: READ TOC through the SCSI pass-through, the CD-ROM
// driver's own table as the fall-back.
namespace rv {

// What the reading has to tell the user: a warning (a fall-back was taken) or a device error.
enum class TCDNotice { Warning, Error };
// Receives it; the reading itself never shows anything.
using TCDStatusEvent = std::function<void(TCDNotice notice, const std::string& status)>;

// READ TOC with MSF addresses through the pass-through (five seconds at most) into `raw`,
// which is emptied first. 0 on success, -1 on failure. Without permission for the
// pass-through the driver's table is read instead, after telling `status` a warning; other
// errors than "no disc" and "no resources" are told as the error "IO Error: <number>".
int SptiReadTOC(const TCDDriveTable& table, std::uint8_t drive, TCDRawTOC& raw,
                const TCDStatusEvent& status = {});

// The CD-ROM driver's table of contents into `raw`, which is emptied first: 0 or -1.
int IoctlReadTOC(const TCDDriveTable& table, std::uint8_t drive, TCDRawTOC& raw);

// Reads the table of contents of the listed drive into `toc`. True when the drive holds no
// readable disc (no disc, a drive that cannot be read, an answer that does not hold together;
// `toc` is then empty). Raises ECDError (kNoUsableInterface) when no interface serves `wish`.
bool ReadTOC(TCDInterface wish, std::uint8_t drive, const TCDDriveTable& table, TCDTOC& toc,
             const TCDStatusEvent& status = {});

}  // namespace rv
