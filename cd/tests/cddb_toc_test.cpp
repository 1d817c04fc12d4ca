#include <string>
#include <vector>

#include "cd/cddb.h"
#include "platform/cdrom/tests/fake_drives_file.h"
#include "platform/messages/tests/loop_fixture.h"

namespace rv {
namespace {

using test::FakeDrivesFile;

class CddbTocTest : public test::LoopTest {
protected:
    void SetUp() override {
        LoopTest::SetUp();
        cddb = std::make_unique<TCddb>(nullptr);
        cddb->OnStatusMessage = [this](TObject*, const std::string& s) {
            told.push_back(std::to_string(cddb->State()) + " " + s);
        };
        cddb->OnDataExchange = cddb->OnStatusMessage;
    }
    void TearDown() override {
        cddb.reset();
        LoopTest::TearDown();
    }

    std::unique_ptr<TCddb> cddb;
    std::vector<std::string> told;
};

constexpr char kTwoDrives[] =
    "drive /dev/sr0\nmount /media/cdrom0\n"
    "track 1 00:02:00 audio\ntrack 2 04:10:00 audio\ntrack 3 08:30:00 data\nleadout 12:00:00\n"
    "drive /dev/sr1\nmount /media/my cd\n";

TEST_F(CddbTocTest, DrivesAreFoundByTheirFolderOrDevice) {
    FakeDrivesFile drives(kTwoDrives);
    EXPECT_TRUE(cddb->ReadTOCByLetter("/media/cdrom0/"));
    EXPECT_EQ(cddb->GetCDInfo().DiscID, "0f02ce03");
    EXPECT_EQ(cddb->GetCDInfo().TOC.Count, 3);
    EXPECT_FALSE(cddb->GetCDInfo().TOC.Tracks[2].Audio);
    EXPECT_TRUE(told.empty());

    EXPECT_FALSE(cddb->ReadTOCByLetter("/dev/sr1"));
    EXPECT_FALSE(cddb->ReadCurrentTOC());  // the drive read last
    EXPECT_FALSE(cddb->ReadTOCByLetter("/media"));
    EXPECT_FALSE(cddb->ReadTOC(5));
    EXPECT_EQ(told,
              (std::vector<std::string>{"-1 No CD in CD/DVD drive!", "-1 No CD in CD/DVD drive!",
                                        "-1 No CD/DVD drive found at /media"}));
    EXPECT_TRUE(cddb->ReadTOC(0));

    cddb->CDInterface = TCDInterface::cdiASPI;
    EXPECT_THROW(cddb->ReadTOC(0), ECDError);
    cddb->InternalTOCRetrieve = false;
    told.clear();
    EXPECT_FALSE(cddb->ReadTOCByLetter("/media/cdrom0"));
    EXPECT_EQ(told, std::vector<std::string>{"-1 No CD-ROM interface detected!"});
}

TEST_F(CddbTocTest, WhatTheDriveHasToTellIsANoticeForTheUserAndAStatus) {
    FakeDrivesFile drives(std::string("drive /dev/sr0\nerror toc 31\n") + (kTwoDrives + 15));
    std::vector<std::pair<TCDNotice, std::string>> notices;
    cddb->OnDriveNotice = [&](TObject* sender, TCDNotice notice, const std::string& text) {
        EXPECT_EQ(sender, cddb.get());
        notices.emplace_back(notice, text);
    };
    EXPECT_TRUE(cddb->ReadTOCByLetter("/dev/sr0"));  // the driver's table stood in
    EXPECT_EQ(notices,
              (std::vector<std::pair<TCDNotice, std::string>>{{TCDNotice::Error, "IO Error: 31"}}));
    EXPECT_EQ(told, std::vector<std::string>{"-1 IO Error: 31"});

    drives.Rewrite(std::string("drive /dev/sr0\nerror toc 5\n") + (kTwoDrives + 15));
    notices.clear();
    EXPECT_TRUE(cddb->ReadTOCByLetter("/dev/sr0"));
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0].first, TCDNotice::Warning);
    EXPECT_NE(notices[0].second.find("falling back to IOCTL"), std::string::npos);
}

// Making the client touches no drive; a query reads the disc as it starts, and ends when
// there is none to ask about.
TEST_F(CddbTocTest, AQueryReadsTheDiscWhenItStarts) {
    FakeDrivesFile drives("this line breaks the rules\n");
    cddb.reset();
    ASSERT_NO_THROW(cddb = std::make_unique<TCddb>(nullptr));
    cddb->OnStatusMessage = [this](TObject*, const std::string& s) {
        told.push_back(std::to_string(cddb->State()) + " " + s);
    };
    cddb->HTTPQuery();
    ASSERT_EQ(told.size(), 1u);
    EXPECT_TRUE(told[0].starts_with("5 ")) << told[0];
    EXPECT_NE(told[0].find(drives.Path()), std::string::npos) << told[0];

    drives.Rewrite("drive /dev/sr0\n");
    told.clear();
    cddb->HTTPQuery();
    EXPECT_EQ(told, std::vector<std::string>{"5 No CD in CD/DVD drive!"});
}

TEST_F(CddbTocTest, TheNoteToTheUserKeepsSeventyCharacters) {
    cddb->SetNoteToUser(std::string(40, 'a') + std::string(80, ' ') + "\u00e4\u00e4");
    EXPECT_EQ(cddb->NoteToUser(), std::string(40, 'a') + std::string(30, ' '));
    std::string umlauts;
    for (int i = 0; i < 80; ++i) umlauts += "\u00e4";
    cddb->SetNoteToUser(umlauts);
    EXPECT_EQ(cddb->NoteToUser(), umlauts.substr(0, 140));
}

}  // namespace
}  // namespace rv
