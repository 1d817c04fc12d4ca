#include "readers/wma_file.h"

#include <gtest/gtest.h>

#include "readers/tests/asf_bytes.h"
#include "readers/tests/tag_bytes.h"
#include "testsupport/temp_dir.h"
#include "testsupport/test_files.h"

namespace rv {
namespace {

using test::ASFHeader;
using test::ContentDescription;
using test::Descriptor;
using test::ExtendedContentDescription;
using test::FileProperties;
using test::StreamProperties;

constexpr const char* kOther = "01234567-89AB-CDEF-0123-456789ABCDEF";

class WMAFileTest : public ::testing::Test {
protected:
    // Reads a header of a plausible stereo stream followed by `extra` objects.
    bool Read(const std::vector<std::string>& extra, std::size_t fileSize = 0) {
        std::vector<std::string> objects = {FileProperties(128000),
                                            StreamProperties(2, 44100, 16000)};
        objects.insert(objects.end(), extra.begin(), extra.end());
        return ReadBytes(ASFHeader(objects), fileSize);
    }
    bool ReadBytes(std::string bytes, std::size_t fileSize = 0) {
        if (bytes.size() < fileSize) bytes.resize(fileSize, '\0');
        const std::string path = dir_ / "file.wma";
        test::WriteFileBytes(path, bytes);
        return wma_.ReadFromFile(path);
    }
    test::TempDir dir_;
    TWMAfile wma_;
};

TEST_F(WMAFileTest, ReadsStreamPropertiesAndTexts) {
    ASSERT_TRUE(Read(
        {ContentDescription({"  Title ", "Author", "(c)", "Notes", "rating"}),
         ExtendedContentDescription(
             {{"WM/AlbumTitle", 0, "Album"}, {"wm/year", 0, "1998"}, {"WM/Genre", 0, "Jazz"}})},
        1000000));
    EXPECT_TRUE(wma_.Valid());
    EXPECT_EQ(wma_.FileLength(), 1000000u);
    EXPECT_DOUBLE_EQ(wma_.Duration(), 62.5);
    EXPECT_EQ(wma_.BitRate(), 128u);
    EXPECT_EQ(wma_.SampleRate(), 44100u);
    EXPECT_EQ(wma_.ChannelModeID(), 2);
    EXPECT_EQ(wma_.ChannelMode(), "Stereo");
    EXPECT_EQ(wma_.Title(), "Title");
    EXPECT_EQ(wma_.Artist(), "Author");
    EXPECT_EQ(wma_.Comment(), "Notes");
    EXPECT_EQ(wma_.Album(), "Album");
    EXPECT_EQ(wma_.Year(), "1998");
    EXPECT_EQ(wma_.Genre(), "Jazz");
    EXPECT_EQ(wma_.Track(), 0u);
}

TEST_F(WMAFileTest, TheTextMetLaterWinsAndLongTextsAreCut) {
    ASSERT_TRUE(Read({ContentDescription({"First", "", "", "", ""}),
                      ExtendedContentDescription({{"WM/Title", 0, "Second"}})}));
    EXPECT_EQ(wma_.Title(), "Second");
    ASSERT_TRUE(Read({ExtendedContentDescription({{"WM/Title", 0, "Second"}}),
                      ContentDescription({"First", "", "", "", ""})}));
    EXPECT_EQ(wma_.Title(), "First");

    const std::string longText(300, 'x');
    ASSERT_TRUE(Read(
        {ContentDescription({longText, "", "", "", ""}),
         ExtendedContentDescription({{"WM/Genre", 0, std::string(249, 'g') + "\xF0\x9D\x84\x9E"},
                                     {"WM/Year", 0, "2001"}})}));
    EXPECT_EQ(wma_.Title(), std::string(250, 'x'));
    // A character cut in half by the limit is dropped, and the next descriptor is intact.
    EXPECT_EQ(wma_.Genre(), std::string(249, 'g'));
    EXPECT_EQ(wma_.Year(), "2001");
}

TEST_F(WMAFileTest, TrackNumberComesFromTrackNumberBeforeTheZeroBasedTrack) {
    ASSERT_TRUE(Read({ExtendedContentDescription({{"WM/Track", 0, "4"}})}));
    EXPECT_EQ(wma_.Track(), 5u);
    ASSERT_TRUE(Read({ExtendedContentDescription({{"WM/Track", 0, "0"}})}));
    EXPECT_EQ(wma_.Track(), 1u);
    ASSERT_TRUE(Read({ExtendedContentDescription({{"WM/Track", 0, "x"}})}));
    EXPECT_EQ(wma_.Track(), 0u);
    ASSERT_TRUE(
        Read({ExtendedContentDescription({{"WM/TrackNumber", 0, "7"}, {"WM/Track", 0, "4"}})}));
    EXPECT_EQ(wma_.Track(), 7u);
    // Stored as a number: a DWORD WM/TrackNumber is read; a DWORD WM/Track is passed over
    // without disturbing the descriptors behind it.
    ASSERT_TRUE(Read({ExtendedContentDescription(
        {{"WM/TrackNumber", 3, test::LE32(12)}, {"WM/Genre", 0, "Pop"}})}));
    EXPECT_EQ(wma_.Track(), 12u);
    ASSERT_TRUE(Read(
        {ExtendedContentDescription({{"WM/Track", 3, test::LE32(12)}, {"WM/Genre", 0, "Pop"}})}));
    EXPECT_EQ(wma_.Track(), 0u);
    EXPECT_EQ(wma_.Genre(), "Pop");
}

TEST_F(WMAFileTest, ImplausibleStreamsAreNotValid) {
    // Maximum bit rate, channels, sample rate, average bytes per second; the first two are
    // the edges of the plausible range.
    const std::uint32_t cases[][4] = {{1, 1, 8000, 1},           {319999, 2, 96000, 39999},
                                      {128000, 6, 44100, 16000}, {128000, 0, 44100, 16000},
                                      {128000, 2, 7999, 16000},  {128000, 2, 96001, 16000},
                                      {0, 2, 44100, 16000},      {320000, 2, 44100, 16000},
                                      {128000, 2, 44100, 0},     {128000, 2, 44100, 40000}};
    for (const auto& c : cases) {
        const bool valid = &c < cases + 2;
        SCOPED_TRACE(&c - cases);
        ASSERT_TRUE(ReadBytes(ASFHeader(
            {FileProperties(c[0]), StreamProperties(static_cast<std::uint16_t>(c[1]), c[2], c[3]),
             ContentDescription({"Title", "", "", "", ""})})));
        EXPECT_EQ(wma_.Valid(), valid);
        EXPECT_EQ(wma_.Title(), valid ? "Title" : "");
        EXPECT_EQ(wma_.SampleRate(), valid ? c[2] : 0u);
    }
    EXPECT_EQ(wma_.ChannelMode(), "Unknown");
}

TEST_F(WMAFileTest, BrokenObjectSizesEndTheWalk) {
    const std::string title = ContentDescription({"Title", "", "", "", ""});
    // A size of 0 would read the same object again for each of the four billion announced.
    const std::string streamHeader = FileProperties(128000) + StreamProperties(2, 44100, 16000);
    ASSERT_TRUE(
        ReadBytes(ASFHeader({streamHeader + test::ASFObject(kOther, "", 0) + title}, 0xFFFFFFFF)));
    EXPECT_TRUE(wma_.Valid());
    EXPECT_EQ(wma_.Title(), "");
    // A size smaller than the object's own header would step back into it.
    ASSERT_TRUE(Read({test::ASFObject(kOther, "", 8) + title}));
    EXPECT_EQ(wma_.Title(), "");
    // An object running past the header object is not read.
    ASSERT_TRUE(Read({test::ASFObject("75B22633-668E-11CF-A6D9-00AA0062CE6C", title.substr(24),
                                      title.size() + 1)}));
    EXPECT_TRUE(wma_.Valid());
    EXPECT_EQ(wma_.Title(), "");
    // More objects announced than there are: the walk ends at the header's end.
    ASSERT_TRUE(ReadBytes(
        ASFHeader({FileProperties(128000), StreamProperties(2, 44100, 16000)}, 1000) + title));
    EXPECT_TRUE(wma_.Valid());
    EXPECT_EQ(wma_.Title(), "");
}

TEST_F(WMAFileTest, FieldsRunningPastTheirObjectFailTheRead) {
    // The title announces more bytes than its object holds.
    std::string broken = ContentDescription({"Title", "", "", "", ""});
    broken[24] = '\x7F';
    EXPECT_FALSE(Read({broken}));
    EXPECT_FALSE(wma_.Valid());
    // A header object cut short.
    EXPECT_FALSE(ReadBytes(ASFHeader({}).substr(0, 20)));

    // Not ASF at all: read, but not valid.
    EXPECT_TRUE(ReadBytes("RIFF...."));
    EXPECT_FALSE(wma_.Valid());
    EXPECT_FALSE(wma_.ReadFromFile(std::string(dir_ / "missing.wma")));
}

}  // namespace
}  // namespace rv
