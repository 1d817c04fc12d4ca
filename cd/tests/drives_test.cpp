#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cd/cd_drives.h"
#include "cd/cd_interface.h"
#include "cd/toc_reading.h"
#include "platform/cdrom/tests/fake_drives_file.h"

namespace rv {
namespace {

using test::FakeDrivesFile;

constexpr char kAlbumDisc[] =
    "track 1 00:02:00 audio\n"
    "track 2 04:10:00 1\n"
    "track 3 08:30:00 data\n"
    "leadout 12:00:00\n";

TEST(CDDrives, EnumerationFillsEveryDriveAndNamesOnlyTheSilentOneByItsDevice) {
    FakeDrivesFile file(
        "drive /dev/sr0\nvendor TEAC\nproduct CD-W552E\nrevision 1.0A\n"
        "vendor-specific 2004/07/01\naddress 1 0 2 3\n"
        "drive /dev/sr1\nmount /media/cdrom1\nerror inquiry 1117\n"
        "drive /dev/sr2\nvendor NEC\n");  // answers the inquiry, not the address query
    TCDDriveTable table;
    table.Drives[1].Vendor = "STALE";
    ASSERT_TRUE(EnumerateCDDrives(table, TCDInterface::cdiAutoDetect));
    ASSERT_EQ(table.Count, 3);
    const TCDDriveInfo& teac = table.Drives[0];
    EXPECT_EQ(teac.Vendor, "TEAC    ");
    EXPECT_EQ(teac.Product, "CD-W552E        ");
    EXPECT_EQ(teac.Revision, "1.0A");
    EXPECT_EQ(teac.VendorSpecific, "2004/07/01          ");
    EXPECT_EQ(teac.Description, "TEAC    CD-W552E        1.0A");
    EXPECT_EQ(teac.Adapter, 1);
    EXPECT_EQ(teac.Target, 2);
    EXPECT_EQ(teac.Lun, 3);
    EXPECT_EQ(teac.Device, "/dev/sr0");
    EXPECT_EQ(teac.MountPoint, "");
    const TCDDriveInfo& silent = table.Drives[1];
    EXPECT_EQ(silent.Description, "/dev/sr1");
    EXPECT_EQ(silent.Vendor, "");
    EXPECT_EQ(silent.MountPoint, "/media/cdrom1");
    EXPECT_EQ(table.Drives[2].Description, "/dev/sr2");
    EXPECT_EQ(table.Drives[2].Vendor, "NEC     ");

    // Asking one drive again leaves the others' texts alone.
    EXPECT_TRUE(InquireDrive(1, table, TCDInterface::cdiNTSCSI));
    EXPECT_EQ(table.Drives[0].Description, "TEAC    CD-W552E        1.0A");
    EXPECT_EQ(table.Drives[1].Description, "/dev/sr1");

    // The table holds 26 drives; a machine without any has an empty one.
    std::string many;
    for (int i = 0; i < 30; ++i) many += "drive /dev/sr" + std::to_string(i) + "\n";
    file.Rewrite(many);
    EXPECT_TRUE(EnumerateCDDrives(table, TCDInterface::cdiAutoDetect));
    EXPECT_EQ(table.Count, 26);
    EXPECT_EQ(table.Drives[25].Device, "/dev/sr25");
    file.Rewrite("");
    EXPECT_FALSE(EnumerateCDDrives(table, TCDInterface::cdiAutoDetect));
    EXPECT_EQ(table.Count, 0);
    EXPECT_FALSE(InquireDrive(0, table, TCDInterface::cdiAutoDetect));
}

TEST(CDDrives, WithoutASPIAWishForItFindsNoInterface) {
    FakeDrivesFile file(std::string("drive /dev/sr0\n") + kAlbumDisc);
    EXPECT_EQ(GetAspiAdapterCount(), -1);
    EXPECT_TRUE(DetectCDInterface());
    EXPECT_TRUE(SptiSelected());
    TCDDriveTable table;
    TCDTOC toc;
    const auto message = [](auto&& call) {
        try {
            call();
        } catch (const ECDError& e) {
            return std::string(e.what());
        }
        return std::string("no error");
    };
    EXPECT_EQ(message([&] { EnumerateCDDrives(table, TCDInterface::cdiASPI); }),
              "No usable interface available or selected interface not available");
    EXPECT_EQ(message([&] { InquireDrive(0, table, TCDInterface::cdiASPI); }),
              "No usable interface available");
    EXPECT_EQ(message([&] { ReadTOC(TCDInterface::cdiASPI, 0, table, toc); }),
              "No usable interface available or selected interface not available");
    EXPECT_EQ(message([&] { EnumerateCDDrives(table, static_cast<TCDInterface>(7)); }),
              "No usable interface available or selected interface not available");
}

TEST(ReadTOC, ReadsTheDiscEmptyDrivesAndIndexesBeyondTheTable) {
    FakeDrivesFile file(std::string("drive /dev/sr0\n") + kAlbumDisc + "drive /dev/sr1\n");
    TCDDriveTable table;
    ASSERT_TRUE(EnumerateCDDrives(table, TCDInterface::cdiAutoDetect));
    TCDTOC toc;
    EXPECT_FALSE(ReadTOC(TCDInterface::cdiAutoDetect, 0, table, toc));
    EXPECT_EQ(toc.Count, 3);
    EXPECT_EQ(toc.Tracks[1], (TCDTOCEntry{4, 10, 0, true}));
    EXPECT_FALSE(toc.Tracks[2].Audio);
    EXPECT_EQ(toc.LeadOut, (TCDTOCEntry{12, 0, 0, false}));

    std::vector<std::string> told;
    const TCDStatusEvent status = [&told](TCDNotice, const std::string& s) { told.push_back(s); };
    for (std::uint8_t drive : {1, 2, 200}) {
        EXPECT_TRUE(ReadTOC(TCDInterface::cdiAutoDetect, drive, table, toc, status)) << +drive;
        EXPECT_EQ(toc, TCDTOC{}) << +drive;
    }
    EXPECT_TRUE(told.empty());
    TCDDriveTable overCounted = table;
    overCounted.Count = 255;
    EXPECT_TRUE(ReadTOC(TCDInterface::cdiAutoDetect, 100, overCounted, toc));
    EXPECT_FALSE(SptiInquiry(100, overCounted));

    // A damaged answer is no readable disc, whichever way it came.
    file.Rewrite("drive /dev/sr0\ntoc-bytes 00 12 01 ff 00 10 01 00 00 00 02 00\n");
    EXPECT_TRUE(ReadTOC(TCDInterface::cdiAutoDetect, 0, table, toc));
    EXPECT_EQ(toc.Count, 0);
}

TEST(ReadTOC, DeviceErrorsReachTheCallerAsStatusAndTheDriverTableStandsIn) {
    FakeDrivesFile file("");
    TCDDriveTable table;
    TCDTOC toc;
    std::vector<std::string> told;
    std::vector<TCDNotice> kinds;
    const TCDStatusEvent status = [&](TCDNotice notice, const std::string& s) {
        told.push_back(s);
        kinds.push_back(notice);
    };
    const auto read = [&](const std::string& errors) {
        file.Rewrite("drive /dev/sr0\n" + errors + kAlbumDisc);
        told.clear();
        kinds.clear();
        EnumerateCDDrives(table, TCDInterface::cdiAutoDetect);
        return ReadTOC(TCDInterface::cdiAutoDetect, 0, table, toc, status);
    };

    EXPECT_FALSE(read("error toc 5\n"));
    EXPECT_EQ(toc.Count, 3);
    ASSERT_EQ(told.size(), 1u);
    EXPECT_EQ(told[0],
              "You must have permission to send SCSI commands to /dev/sr0; falling back to "
              "IOCTL. This may cause erroneous results if a Mixed-Mode CD is in the drive.");
    EXPECT_EQ(kinds, std::vector<TCDNotice>{TCDNotice::Warning});

    EXPECT_FALSE(read("error toc 31\n"));
    EXPECT_EQ(told, std::vector<std::string>{"IO Error: 31"});
    EXPECT_EQ(kinds, std::vector<TCDNotice>{TCDNotice::Error});
    EXPECT_EQ(toc.Count, 3);

    EXPECT_TRUE(read("error toc 31\nerror ioctl 31\n"));
    EXPECT_EQ(told, std::vector<std::string>{"IO Error: 31"});
    EXPECT_TRUE(read("error toc 1117\nerror ioctl 1117\n"));
    EXPECT_TRUE(read("error toc 1450\nerror ioctl 1117\n"));
    EXPECT_TRUE(read("error open 5\n"));
    EXPECT_TRUE(told.empty());
    EXPECT_EQ(toc, TCDTOC{});
}

TEST(ReadTOC, EachReadStartsFromAnEmptyBuffer) {
    FakeDrivesFile file(std::string("drive /dev/sr0\n") + kAlbumDisc);
    TCDDriveTable table;
    EnumerateCDDrives(table, TCDInterface::cdiAutoDetect);
    TCDRawTOC raw;
    ASSERT_EQ(SptiReadTOC(table, 0, raw), 0);
    ASSERT_GT(raw.Length, 0u);
    const TCDRawTOC filled = raw;

    // The drive can no longer be opened: nothing of the last disc may be taken for this one.
    file.Rewrite(std::string("drive /dev/sr0\nerror open 2\n") + kAlbumDisc);
    EXPECT_EQ(SptiReadTOC(table, 0, raw), -1);
    EXPECT_EQ(raw.Length, 0u);
    EXPECT_EQ(raw.Data, TCDRawTOC{}.Data);
    raw = filled;
    EXPECT_EQ(IoctlReadTOC(table, 0, raw), -1);
    EXPECT_EQ(raw.Length, 0u);
    EXPECT_EQ(raw.Data, TCDRawTOC{}.Data);
}

}  // namespace
}  // namespace rv
