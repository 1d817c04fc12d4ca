#pragma once

#include <string>

// Which CD drives the program sees: the machine's own (/dev/sr*, listed from sysfs), or fake
// drives described in a small text file, for tests. A fake answers the same calls as a real
// drive (platform/cdrom/cd_drive_list.h, platform/cdrom/cd_device.h), and the file is read
// again on every call, so rewriting it changes the disc in the drive.
//
// When the program starts, the environment variable REELVAULT_FAKE_CD_DRIVES, if set and not
// empty, names such a file; the calls below replace that choice.
//
// The file: one statement per line, a keyword and its value; blank lines and lines starting
// with "#" are skipped. "drive" starts a drive, the lines after it describe it:
//   drive /dev/sr0                 the name the drive is listed and opened by
//   mount /media/cdrom0            where its disc is mounted (none when left out)
//   vendor TEAC                    INQUIRY texts, padded with blanks to 8, 16, 4 and 20
//   product CD-W552E                 characters (blank when left out)
//   revision 1.0A
//   vendor-specific 2004/07/01
//   address 1 0 2 0                SCSI port, path, target, unit (when left out, asking for
//                                    the address fails)
//   track 1 00:02:00 audio         number, start as minute:second:frame, and "audio", "data"
//   track 2 40:12:34 data            or the control nibble as a number 0-15
//   leadout 52:10:00               start of the lead-out (default 00:00:00)
//   toc-bytes 00 0a 01 01 ...      the drive's READ TOC answer as hexadecimal bytes, sent as
//                                    it is in place of one made from the tracks
//   error toc 5                    an operation fails with that error number of
//                                    platform/cdrom/device_errors.h: open, inquiry, toc
//                                    (READ TOC through the pass-through) or ioctl (the
//                                    driver's table of contents)
// A drive with neither tracks nor toc-bytes holds no disc: reading its table of contents fails
// with ERROR_IO_DEVICE. A line that breaks these rules makes every call raise rv::Exception
// naming the file and the line.
namespace rv {

inline constexpr char kFakeCdDrivesVariable[] = "REELVAULT_FAKE_CD_DRIVES";

// From now on the drives are the fakes that `descriptionFile` describes.
void UseFakeCdDrives(const std::string& descriptionFile);
// From now on the drives are the machine's own.
void UseMachineCdDrives();

}  // namespace rv
