#include "readers/wma_file.h"

#include <gtest/gtest.h>

#include <optional>
#include <tuple>

#include "platform/text/utf16.h"
#include "readers/tests/test_bytes.h"

namespace rv {
namespace {

using namespace test;

// ASF header objects built byte by byte, for what ffmpeg does not write: descriptors of every
// value type, broken object sizes, out-of-range stream values.

std::string Utf16LE(std::string_view utf8) {
    std::string bytes;
    for (const char16_t unit : Utf8ToUtf16(utf8)) bytes += LE16(unit);
    return bytes + LE16(0);
}

// The 16 bytes of a GUID as a file holds them: the first three groups little-endian.
std::string GUIDBytes(std::string_view text) {
    std::string bytes;
    for (const std::size_t at : {6, 4, 2, 0, 11, 9, 16, 14, 19, 21, 24, 26, 28, 30, 32, 34})
        bytes.push_back(static_cast<char>(std::stoi(std::string(text.substr(at, 2)), nullptr, 16)));
    return bytes;
}

constexpr const char* kContentDescription = "75B22633-668E-11CF-A6D9-00AA0062CE6C";
constexpr const char* kOther = "01234567-89AB-CDEF-0123-456789ABCDEF";

// An object: GUID, the 64-bit size over header and body (or `size`), the body.
std::string Object(std::string_view guid, std::string_view body,
                   std::optional<std::uint64_t> size = std::nullopt) {
    return GUIDBytes(guid) + LE64(size.value_or(24 + body.size())) + std::string(body);
}

// The header object around `children`; `count` overrides their number when not -1.
std::string Header(const std::vector<std::string>& children, long count = -1) {
    std::string body;
    for (const std::string& child : children) body += child;
    const auto n = static_cast<std::uint32_t>(count < 0 ? children.size() : count);
    return GUIDBytes("75B22630-668E-11CF-A6D9-00AA0062CE6C") + LE64(30 + body.size()) + LE32(n) +
           "\x01\x02" + body;
}

// The file properties: play duration (100-ns units), send duration, preroll (ms), flags (1:
// broadcast, 2: seekable), packet sizes and the maximum bit rate, from body offset 40 on. The
// WAVEFORMATEX (format tag 0x161, WMA 2) lies at body offset 54 of the stream properties.
std::string FileProperties(std::uint32_t maxBitRate, std::uint64_t playDuration = 0,
                           std::uint64_t preroll = 0, std::uint32_t flags = 2) {
    return Object("8CABDCA1-A947-11CF-8EE4-00C00C205365",
                  std::string(40, '\x11') + LE64(playDuration) + LE64(0x1111) + LE64(preroll) +
                      LE32(flags) + std::string(8, '\x11') + LE32(maxBitRate));
}
std::string StreamProperties(std::uint16_t channels, std::uint32_t sampleRate,
                             std::uint32_t byteRate) {
    return Object("B7DC0791-A9B7-11CF-8EE6-00C00C205365",
                  std::string(54, '\x22') + LE16(0x161) + LE16(channels) + LE32(sampleRate) +
                      LE32(byteRate) + LE16(2048) + LE16(16));
}
const std::string kStream = FileProperties(128000) + StreamProperties(2, 44100, 16000);

// Title, author, copyright, description, rating; an empty text is stored with length 0.
std::string ContentDescription(const std::vector<std::string>& texts) {
    std::string lengths, strings;
    for (const std::string& text : texts) {
        const std::string stored = text.empty() ? "" : Utf16LE(text);
        lengths += LE16(static_cast<std::uint16_t>(stored.size()));
        strings += stored;
    }
    return Object(kContentDescription, lengths + strings);
}
const std::string kTitle = ContentDescription({"Title", "", "", "", ""});

struct Descriptor {
    std::string name;
    std::uint16_t type = 0;  // 0 text (value in UTF-8, stored as UTF-16), others raw bytes
    std::string value;
};
std::string Extended(const std::vector<Descriptor>& descriptors) {
    std::string body = LE16(static_cast<std::uint16_t>(descriptors.size()));
    for (const Descriptor& d : descriptors) {
        const std::string name = Utf16LE(d.name);
        const std::string value = d.type == 0 ? Utf16LE(d.value) : d.value;
        body += LE16(static_cast<std::uint16_t>(name.size())) + name + LE16(d.type) +
                LE16(static_cast<std::uint16_t>(value.size())) + value;
    }
    return Object("D2D0A440-E307-11D2-97F0-00A0C95EA850", body);
}

// A plausible stereo stream followed by `objects`.
TWMAfile Read(std::vector<std::string> objects) {
    objects.insert(objects.begin(), {FileProperties(128000), StreamProperties(2, 44100, 16000)});
    return test::Read<TWMAfile>(Header(objects));
}

// Stream values and texts of real files are checked against the tools in manifest_test.cpp;
// here, trimming, names in any case and the length of texts.
TEST(WMAFile, ReadsStreamPropertiesAndTextsTheLaterWinningAndLongOnesCut) {
    const TWMAfile wma = Read(
        {ContentDescription({"  Title ", "Author", "(c)", "Notes", "rating"}),
         Extended(
             {{"WM/AlbumTitle", 0, "Album"}, {"wm/year", 0, "1998"}, {"WM/Genre", 0, "Jazz"}})});
    EXPECT_TRUE(wma.Valid());
    EXPECT_EQ(std::tuple(wma.Title(), wma.Comment(), wma.Album(), wma.Year(), wma.Genre()),
              std::tuple("Title", "Notes", "Album", "1998", "Jazz"));
    const std::string first = ContentDescription({"First", "", "", "", ""});
    const std::string second = Extended({{"WM/Title", 0, "Second"}});
    EXPECT_EQ(Read({first, second}).Title(), "Second");
    EXPECT_EQ(Read({second, first}).Title(), "First");
    // A text keeps 255 characters. Of a value the first 1024 units are read: a character cut
    // in half there (behind blanks) is dropped, and the next descriptor is intact.
    const TWMAfile cut =
        Read({ContentDescription({std::string(300, 'x'), "", "", "", ""}),
              Extended({{"WM/Genre", 0,
                         std::string(1000, ' ') + std::string(23, 'g') + "\xF0\x9D\x84\x9E"},
                        {"WM/Year", 0, "2001"}})});
    EXPECT_EQ(std::tuple(cut.Title(), cut.Genre(), cut.Year()),
              std::tuple(std::string(255, 'x'), std::string(23, 'g'), "2001"));
}

TEST(WMAFile, DurationIsThePlayDurationLessThePrerollOrAnEstimate) {
    // A 1 000 000-byte file with a maximum bit rate of 128 kbit/s: 62.5 s by the estimate.
    auto duration = [](std::uint64_t playDuration, std::uint64_t preroll, std::uint32_t flags) {
        std::string bytes = Header({FileProperties(128000, playDuration, preroll, flags),
                                    StreamProperties(2, 44100, 16000)});
        bytes.resize(1000000, '\0');
        return test::Read<TWMAfile>(bytes).Duration();
    };
    // 5.142 s less a preroll of 3.1 s, as ffmpeg writes them.
    EXPECT_DOUBLE_EQ(duration(51420000, 3100, 2), 2.042);
    // A broadcast file, no play duration, a preroll as long as the play duration.
    EXPECT_EQ(
        std::tuple(duration(51420000, 3100, 3), duration(0, 0, 2), duration(31000000, 3100, 2)),
        std::tuple(62.5, 62.5, 62.5));
}

TEST(WMAFile, TrackNumberComesFromTrackNumberBeforeTheZeroBasedTrack) {
    // Stored as a number: a DWORD WM/TrackNumber is read; a DWORD WM/Track is passed over
    // without disturbing the descriptors behind it.
    const std::pair<std::vector<Descriptor>, unsigned> cases[] = {
        {{{"WM/Track", 0, "4"}}, 5},
        {{{"WM/Track", 0, "0"}}, 1},
        {{{"WM/Track", 0, "x"}}, 0},
        {{{"WM/TrackNumber", 0, "7"}, {"WM/Track", 0, "4"}}, 7},
        {{{"WM/TrackNumber", 3, LE32(12)}, {"WM/Genre", 0, "Pop"}}, 12},
        {{{"WM/Track", 3, LE32(12)}, {"WM/Genre", 0, "Pop"}}, 0}};
    for (const auto& [descriptors, track] : cases) {
        const TWMAfile wma = Read({Extended(descriptors)});
        EXPECT_EQ(wma.Track(), track) << descriptors[0].name;
        EXPECT_EQ(wma.Genre(), descriptors.back().name == "WM/Genre" ? "Pop" : "");
    }
}

TEST(WMAFile, ImplausibleStreamsAreNotValid) {
    // Maximum bit rate, channels, sample rate, average bytes per second; the first two are
    // the edges of the plausible range, the third what ffmpeg writes at 320 kbit/s. No encoder
    // goes past uncompressed 32-bit samples of two channels at 96 kHz.
    const std::uint32_t cases[][4] = {
        {1, 1, 8000, 1},           {6144000, 2, 96000, 768000}, {320000, 2, 44100, 40000},
        {128000, 6, 44100, 16000}, {128000, 0, 44100, 16000},   {128000, 2, 7999, 16000},
        {128000, 2, 96001, 16000}, {0, 2, 44100, 16000},        {6144001, 2, 44100, 16000},
        {128000, 2, 44100, 0},     {128000, 2, 44100, 768001}};
    for (const auto& c : cases) {
        const bool valid = &c < cases + 3;
        SCOPED_TRACE(&c - cases);
        const TWMAfile wma = test::Read<TWMAfile>(
            Header({FileProperties(c[0]),
                    StreamProperties(static_cast<std::uint16_t>(c[1]), c[2], c[3]), kTitle}));
        EXPECT_EQ(std::tuple(wma.Valid(), wma.Title(), wma.SampleRate()),
                  std::tuple(valid, valid ? "Title" : "", valid ? c[2] : 0u));
    }
}

TEST(WMAFile, BrokenObjectSizesEndTheWalkAndOverlongFieldsFailTheRead) {
    auto expect = [](const TWMAfile& wma) {
        EXPECT_EQ(std::tuple(wma.Valid(), wma.Title()), std::tuple(true, ""));
    };
    // A size of 0 would read the same object again for each of the four billion announced.
    expect(test::Read<TWMAfile>(Header({kStream + Object(kOther, "", 0) + kTitle}, 0xFFFFFFFF)));
    // A size smaller than the object's own header would step back into it.
    expect(Read({Object(kOther, "", 8) + kTitle}));
    // An object running past the header object is not read.
    expect(Read({Object(kContentDescription, kTitle.substr(24), kTitle.size() + 1)}));
    // More objects announced than there are: the walk ends at the header's end.
    expect(test::Read<TWMAfile>(Header({kStream}, 1000) + kTitle));

    // The title announces more bytes than its object holds.
    std::string broken = kTitle;
    broken[24] = '\x7F';
    TWMAfile wma;
    EXPECT_FALSE(ReadBytes(wma, Header({kStream, broken}, 3)));
    EXPECT_FALSE(wma.Valid());
    // A header object cut short.
    EXPECT_FALSE(ReadBytes(wma, Header({}).substr(0, 20)));
    // Not ASF at all: read, but not valid.
    EXPECT_FALSE(test::Read<TWMAfile>("RIFF....").Valid());
}

}  // namespace
}  // namespace rv
