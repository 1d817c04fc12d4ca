// The length an ASF header states, on headers built byte by byte from the format's definition.

#include "platform/audio/internal/asf_play_length.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "testsupport/temp_dir.h"
#include "testsupport/test_files.h"

namespace rv::test {
namespace {

using audio_internal::AsfPlayLength;

const std::string kHeaderGuid("\x30\x26\xB2\x75\x8E\x66\xCF\x11\xA6\xD9\x00\xAA\x00\x62\xCE\x6C",
                              16);
const std::string kFilePropertiesGuid(
    "\xA1\xDC\xAB\x8C\x47\xA9\xCF\x11\x8E\xE4\x00\xC0\x0C\x20\x53\x65", 16);
const std::string kOtherGuid(16, '\x42');

std::string LittleEndian(std::uint64_t value, int bytes) {
    std::string out;
    for (int i = 0; i < bytes; ++i) out += char(value >> (8 * i) & 0xFF);
    return out;
}

std::string Object(const std::string& guid, const std::string& body, std::uint64_t size = 0) {
    return guid + LittleEndian(size ? size : 24 + body.size(), 8) + body;
}

// A file properties object: play duration (100 ns), preroll (ms), flags.
std::string FileProperties(std::uint64_t play, std::uint64_t preroll, std::uint32_t flags) {
    const std::string fileIdSizeDatePackets(40, '\0');
    return Object(kFilePropertiesGuid, fileIdSizeDatePackets + LittleEndian(play, 8) +
                                           LittleEndian(play, 8) + LittleEndian(preroll, 8) +
                                           LittleEndian(flags, 4) + std::string(12, '\0'));
}

std::string Header(const std::string& objects, std::uint64_t size = 0) {
    return kHeaderGuid + LittleEndian(size ? size : 30 + objects.size(), 8) + LittleEndian(2, 4) +
           std::string(2, '\x01') + objects;
}

TEST(AsfPlayLength, PlayDurationLessPrerollOrNothing) {
    const std::string properties = FileProperties(46'320'000, 3100, 2);
    const std::string tags = Object(kOtherGuid, std::string(5000, 't'));
    const struct {
        const char* what;
        std::string bytes;
        bool found;
    } cases[] = {
        {"properties first", Header(properties + tags) + "data", true},
        {"properties after the tags", Header(tags + properties), true},
        {"broadcast", Header(FileProperties(46'320'000, 3100, 1)), false},
        {"preroll past the play", Header(FileProperties(30'000'000, 3100, 2)), false},
        {"no properties", Header(tags), false},
        {"an object of size 0", Header(kOtherGuid + LittleEndian(0, 8) + properties), false},
        {"an object past the header", Header(Object(kOtherGuid, "", 1 << 20) + properties), false},
        {"properties cut short", Header(properties).substr(0, 30 + 90), false},
        {"properties shorter than they must be",
         Header(Object(kFilePropertiesGuid, std::string(60, '\0'))), false},
        {"header past its own size", Header(tags + properties, 40), false},
        {"no ASF file", std::string(200, 'x'), false},
        {"empty", "", false},
    };
    const TempDir dir;
    for (const auto& c : cases) {
        const std::string path = dir / "file.wma";
        WriteFileBytes(path, c.bytes);
        const ReadOnlyFile file(path);
        std::uint64_t length = 0;
        EXPECT_EQ(AsfPlayLength(file, length), c.found) << c.what;
        if (c.found) {
            EXPECT_EQ(length, 15'320'000u) << c.what;
        }
    }
}

}  // namespace
}  // namespace rv::test
