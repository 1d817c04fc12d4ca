#include <gtest/gtest.h>

#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <vector>

#include "platform/base/exception.h"
#include "platform/cdrom/aspi_binding.h"
#include "platform/cdrom/cd_device.h"
#include "platform/cdrom/cd_drive_list.h"
#include "platform/cdrom/cd_drive_source.h"
#include "platform/cdrom/device_errors.h"
#include "platform/cdrom/internal/linux_drive_list.h"
#include "platform/cdrom/internal/sg_status.h"
#include "platform/cdrom/tests/fake_drives_file.h"
#include "testsupport/temp_dir.h"
#include "testsupport/test_files.h"

namespace rv {
namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::uint8_t kInquiryCdb[6] = {0x12, 0, 0, 0, 100, 0};
constexpr std::uint8_t kReadTocMsfCdb[10] = {0x43, 0x02, 0, 0, 0, 0, 0, 0x03, 0x24, 0};

using test::FakeDrivesFile;

Bytes Read(CdDevice& device, std::span<const std::uint8_t> cdb, std::size_t size, int& error) {
    Bytes data(size, 0xEE);
    std::size_t received = 0;
    error = device.ScsiRead(cdb, data, 5, received);
    data.resize(received);
    return data;
}

TEST(FakeCdDrives, AnswerInquiryReadTocAddressAndTheDriverTableAsTheFileSays) {
    FakeDrivesFile file(
        "# two drives\n"
        "drive /dev/sr0\n"
        "  mount /media/my cd\n"
        "  vendor TEAC\n"
        "  product CD-W552E\n"
        "  revision 1.0A\n"
        "  address 1 0 2 3\n"
        "  track 1 00:02:00 audio\n"
        "  track 2 04:10:33 1\n"
        "  track 3 08:30:00 data\n"
        "  leadout 12:00:74\n"
        "\n"
        "drive /dev/sr1\n"
        "  error toc 5\n");
    const std::vector<CdDriveFacts> drives = ListCdDrives();
    ASSERT_EQ(drives.size(), 2u);
    EXPECT_EQ(drives[0].Device, "/dev/sr0");
    EXPECT_EQ(drives[0].MountPoint, "/media/my cd");
    EXPECT_EQ(drives[1].MountPoint, "");

    CdDevice sr0("/dev/sr0");
    ASSERT_TRUE(sr0.IsOpen());
    int error = -1;
    const Bytes inquiry = Read(sr0, kInquiryCdb, 100, error);
    EXPECT_EQ(error, ERROR_SUCCESS);
    ASSERT_EQ(inquiry.size(), 56u);
    EXPECT_EQ(inquiry[0], 5);  // CD-ROM
    EXPECT_EQ(std::string(inquiry.begin() + 8, inquiry.begin() + 36),
              "TEAC    CD-W552E        1.0A");

    // Three descriptors and the lead-out (0xAA), control in the low nibble beside ADR 1.
    const Bytes toc = Read(sr0, kReadTocMsfCdb, 804, error);
    EXPECT_EQ(error, ERROR_SUCCESS);
    const Bytes expected = {0, 34,   1,    3,                 //
                            0, 0x10, 1,    0, 0, 0,  2,  0,   //
                            0, 0x11, 2,    0, 0, 4,  10, 33,  //
                            0, 0x14, 3,    0, 0, 8,  30, 0,   //
                            0, 0x14, 0xAA, 0, 0, 12, 0,  74};
    EXPECT_EQ(toc, expected);
    // The allocation length limits the answer; LBA addresses count from 00:02:00.
    // (4 * 60 + 10) * 75 + 33 - 150 = 18633 = 0x48C9.
    const std::uint8_t shortLba[10] = {0x43, 0, 0, 0, 0, 0, 0, 0, 20, 0};
    EXPECT_EQ(Read(sr0, shortLba, 804, error),
              Bytes({0, 34, 1, 3, 0, 0x10, 1, 0, 0, 0, 0, 0, 0, 0x11, 2, 0, 0, 0, 0x48, 0xC9}));
    Bytes ioctl(804);
    std::size_t received = 0;
    EXPECT_EQ(sr0.ReadTocIoctl(ioctl, received), ERROR_SUCCESS);
    ioctl.resize(received);
    EXPECT_EQ(ioctl, expected);
    ScsiAddress address;
    ASSERT_TRUE(sr0.GetScsiAddress(address));
    EXPECT_EQ(address.PortNumber, 1);
    EXPECT_EQ(address.TargetId, 2);
    EXPECT_EQ(address.Lun, 3);

    // The second drive holds no disc, and its pass-through is refused.
    CdDevice sr1("/dev/sr1");
    EXPECT_TRUE(Read(sr1, kReadTocMsfCdb, 804, error).empty());
    EXPECT_EQ(error, ERROR_ACCESS_DENIED);
    EXPECT_EQ(sr1.ReadTocIoctl(ioctl, received), ERROR_IO_DEVICE);
    EXPECT_FALSE(sr1.GetScsiAddress(address));
    CdDevice missing("/dev/sr7");
    EXPECT_FALSE(missing.IsOpen());
    EXPECT_EQ(missing.OpenError(), ERROR_FILE_NOT_FOUND);
}

TEST(FakeCdDrives, RawAnswersOpenErrorsAndMistakesInTheFile) {
    {
        FakeDrivesFile file(
            "drive d1\ntoc-bytes 00 02 05 03\n"
            "drive d2\nerror open 5\n");
        CdDevice d1("d1");
        int error = -1;
        EXPECT_EQ(Read(d1, kReadTocMsfCdb, 804, error), Bytes({0, 2, 5, 3}));
        CdDevice d2("d2");
        EXPECT_FALSE(d2.IsOpen());
        EXPECT_EQ(d2.OpenError(), ERROR_ACCESS_DENIED);
        // Another disc: the file is read again when the drive is opened.
        file.Rewrite("drive d1\ntoc-bytes 00 02 07 09\n");
        CdDevice again("d1");
        EXPECT_EQ(Read(again, kReadTocMsfCdb, 804, error), Bytes({0, 2, 7, 9}));
    }
    // Each mistake is reported with its line; a statement before any drive is one.
    for (const char* bad :
         {"drive a\ntrack 1 00:02 audio\n", "drive a\nspin 3\n", "drive a\nerror eject 5\n",
          "drive a\ntoc-bytes 1 2 zz\n", "vendor X\n\n", "drive a\ntrack 1 00:02:00 16\n"}) {
        FakeDrivesFile file(std::string("# comment\n") + bad);
        try {
            ListCdDrives();
            ADD_FAILURE() << bad;
        } catch (const Exception& e) {
            const int line = std::string(bad).starts_with("vendor") ? 2 : 3;
            EXPECT_NE(std::string(e.what()).find("drives.txt, line " + std::to_string(line) + ":"),
                      std::string::npos)
                << e.what();
        }
    }
}

TEST(MachineCdDrives, ListsSrDevicesByNumberWithTheirMountPoints) {
    test::TempDir dir;
    namespace fs = std::filesystem;
    for (const char* name : {"sr10", "sr2", "sr0", "loop0", "sr", "srx"}) {
        fs::create_directories(dir / ("block/" + std::string(name)));
    }
    test::WriteFileBytes(dir / "block/sr0/dev", "11:0\n");
    test::WriteFileBytes(dir / "block/sr2/dev", "11:2\n");
    test::WriteFileBytes(dir / "mountinfo",
                         "22 27 0:21 / /proc rw - proc proc rw\n"
                         "90 27 11:2 / /media/Audio\\040CD rw - iso9660 /dev/sr2 ro\n"
                         "91 27 11:2 / /mnt/second rw - iso9660 /dev/sr2 ro\n");
    const auto drives = cdrom_internal::ListLinuxCdDrives(dir / "block", "/dev", dir / "mountinfo");
    ASSERT_EQ(drives.size(), 3u);
    EXPECT_EQ(drives[0].Device, "/dev/sr0");
    EXPECT_EQ(drives[0].MountPoint, "");
    EXPECT_EQ(drives[1].Device, "/dev/sr2");
    EXPECT_EQ(drives[1].MountPoint, "/media/Audio CD");
    EXPECT_EQ(drives[2].Device, "/dev/sr10");
    EXPECT_EQ(cdrom_internal::UnescapeMountPath("a\\134b\\011\\9"), "a\\b\t\\9");
    EXPECT_TRUE(cdrom_internal::ListLinuxCdDrives(dir / "none", "/dev", dir / "none").empty());
}

TEST(MachineCdDrives, ADeviceThatIsNoDriveFailsEachCallWithAnErrorNumber) {
    UseMachineCdDrives();
    CdDevice missing("/nonexistent/sr0");
    EXPECT_FALSE(missing.IsOpen());
    EXPECT_EQ(missing.OpenError(), ERROR_FILE_NOT_FOUND);
    // /dev/null opens but takes neither SG_IO nor the CD-ROM calls.
    CdDevice null("/dev/null");
    ASSERT_TRUE(null.IsOpen());
    int error = 0;
    EXPECT_TRUE(Read(null, kReadTocMsfCdb, 804, error).empty());
    EXPECT_EQ(error, ERROR_INVALID_FUNCTION);
    Bytes toc(804);
    std::size_t received = 1;
    EXPECT_EQ(null.ReadTocIoctl(toc, received), ERROR_INVALID_FUNCTION);
    EXPECT_EQ(received, 0u);
    ScsiAddress address;
    EXPECT_FALSE(null.GetScsiAddress(address));
    // ASPI has no twin here: the binding answers as without the library.
    EXPECT_FALSE(AspiLoaded());
    EXPECT_EQ(GetASPI32SupportInfo() >> 8, SS_NO_ASPI);
}

TEST(MachineCdDrives, AnEmptyDriveAndARecoveredErrorAreToldApartBySenseData) {
    using cdrom_internal::ErrorFromScsiOutcome;
    // CHECK CONDITION with sense "not ready, medium not present" (fixed format), a recovered
    // error, and "illegal request" in descriptor format.
    const std::uint8_t notReady[18] = {0x70, 0, 0x02, 0, 0, 0, 0, 10, 0, 0, 0, 0, 0x3A};
    const std::uint8_t recovered[18] = {0x70, 0, 0x01};
    const std::uint8_t illegal[8] = {0x72, 0x05, 0x24};
    EXPECT_EQ(ErrorFromScsiOutcome(0x02, 0, 0x08, notReady, 18), ERROR_IO_DEVICE);
    EXPECT_EQ(ErrorFromScsiOutcome(0x02, 0, 0x08, recovered, 18), ERROR_SUCCESS);
    EXPECT_EQ(ErrorFromScsiOutcome(0x02, 0, 0x08, illegal, 8), ERROR_IO_DEVICE);
    EXPECT_EQ(ErrorFromScsiOutcome(0x02, 0, 0, nullptr, 0), ERROR_IO_DEVICE);
    EXPECT_EQ(ErrorFromScsiOutcome(0, 0x03, 0, nullptr, 0), ERROR_SEM_TIMEOUT);
    EXPECT_EQ(cdrom_internal::ErrorFromErrno(EACCES), ERROR_ACCESS_DENIED);
}

}  // namespace
}  // namespace rv
