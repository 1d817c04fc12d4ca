#include "readers/asf_header.h"

#include <algorithm>
#include <string_view>

#include "platform/text/ascii_case.h"
#include "readers/bounded_reader.h"
#include "readers/tag_text.h"

namespace rv {

namespace {

using GUID = std::array<unsigned char, 16>;

constexpr unsigned HexDigit(char c) {
    return c <= '9' ? c - '0' : c - 'A' + 10;
}

// A GUID from its usual text form to the bytes a file holds: the first three groups are stored
// little-endian, the last two byte by byte.
constexpr GUID ParseGUID(std::string_view text) {
    GUID bytes{};
    constexpr int kOrder[16] = {3, 2, 1, 0, 5, 4, 7, 6, 8, 9, 10, 11, 12, 13, 14, 15};
    int digit = 0;
    unsigned char value[16] = {};
    for (char c : text) {
        if (c == '-') continue;
        value[digit / 2] = static_cast<unsigned char>(value[digit / 2] * 16 + HexDigit(c));
        ++digit;
    }
    for (int i = 0; i < 16; ++i) bytes[i] = value[kOrder[i]];
    return bytes;
}

constexpr GUID kHeaderObject = ParseGUID("75B22630-668E-11CF-A6D9-00AA0062CE6C");
constexpr GUID kFileProperties = ParseGUID("8CABDCA1-A947-11CF-8EE4-00C00C205365");
constexpr GUID kStreamProperties = ParseGUID("B7DC0791-A9B7-11CF-8EE6-00C00C205365");
constexpr GUID kContentDescription = ParseGUID("75B22633-668E-11CF-A6D9-00AA0062CE6C");
constexpr GUID kExtendedContentDescription = ParseGUID("D2D0A440-E307-11D2-97F0-00A0C95EA850");

constexpr std::uint64_t kObjectHeaderSize = 24;  // GUID and 64-bit size
constexpr std::uint64_t kHeaderObjectSize = 30;  // plus object count and two reserved bytes
constexpr std::uint32_t kFlagBroadcast = 0x01;

// Descriptor value types.
constexpr std::uint16_t kTypeText = 0;
constexpr std::uint16_t kTypeDword = 3;
constexpr std::uint16_t kTypeQword = 4;
constexpr std::uint16_t kTypeWord = 5;

// A UTF-16 text of `length` bytes, of which the first kTagTextBytes are kept.
std::string ReadFieldString(BoundedReader& reader, std::uint16_t length) {
    const std::size_t kept = std::min<std::size_t>(length, kTagTextBytes) / 2 * 2;
    const std::string bytes = reader.ReadString(kept);
    reader.Skip(length - kept);
    return DecodeTagText(bytes, TagEncoding::Utf16);
}

void ReadContentDescription(BoundedReader& reader, ASFHeaderData& data) {
    std::uint16_t lengths[5];
    for (auto& length : lengths) length = reader.LE16();
    // Title, author, copyright, description, rating; copyright and rating are not kept.
    constexpr int kTargets[5] = {ASFHeaderData::kTitle, ASFHeaderData::kAuthor, -1,
                                 ASFHeaderData::kDescription, -1};
    for (int i = 0; i < 5; ++i) {
        if (lengths[i] == 0) continue;
        std::string text = ReadFieldString(reader, lengths[i]);
        if (kTargets[i] >= 0) data.Texts[kTargets[i]] = std::move(text);
    }
}

// A number stored as a WORD, DWORD or QWORD descriptor value, or nothing for another size.
std::optional<std::string> ReadNumber(BoundedReader& reader, std::uint16_t type,
                                      std::uint16_t length) {
    const std::uint16_t expected = type == kTypeWord ? 2 : type == kTypeDword ? 4 : 8;
    if (length != expected) {
        reader.Skip(length);
        return std::nullopt;
    }
    const std::uint64_t value = type == kTypeWord    ? reader.LE16()
                                : type == kTypeDword ? reader.LE32()
                                                     : reader.LE64();
    return std::to_string(value);
}

void ReadExtendedContentDescription(BoundedReader& reader, ASFHeaderData& data) {
    static constexpr std::string_view kNames[ASFHeaderData::kTextCount] = {
        "WM/TITLE", "WM/AUTHOR", "WM/ALBUMTITLE", "WM/TRACK",
        "WM/YEAR",  "WM/GENRE",  "WM/DESCRIPTION"};
    const std::uint16_t count = reader.LE16();
    for (std::uint16_t i = 0; i < count && reader.Ok(); ++i) {
        const std::string name = ReadFieldString(reader, reader.LE16());
        const std::uint16_t type = reader.LE16();
        const std::uint16_t length = reader.LE16();
        const bool trackNumber = SameText(name, "WM/TRACKNUMBER");
        if (type == kTypeText) {
            std::string value = ReadFieldString(reader, length);
            if (trackNumber) data.TrackNumber = value;
            for (int t = 0; t < ASFHeaderData::kTextCount; ++t)
                if (SameText(name, kNames[t])) data.Texts[t] = value;
        } else if (trackNumber && (type == kTypeDword || type == kTypeQword || type == kTypeWord)) {
            data.TrackNumber = ReadNumber(reader, type, length);
        } else {
            reader.Skip(length);
        }
    }
}

GUID ReadGUID(BoundedReader& reader) {
    GUID guid{};
    reader.Read(guid.data(), guid.size());
    return guid;
}

// Reads one child object lying in [start, end); false when its fields run past it.
bool ReadChild(CachedFile& file, std::uint64_t start, std::uint64_t end, const GUID& guid,
               ASFHeaderData& data) {
    BoundedReader reader(file, start, end);
    if (guid == kFileProperties) {
        // Play and send duration, preroll, flags, packet sizes, maximum bit rate.
        reader.SeekForward(start + 64);
        data.PlayDuration = reader.LE64();
        reader.Skip(8);
        data.Preroll = reader.LE64();
        data.Broadcast = (reader.LE32() & kFlagBroadcast) != 0;
        reader.Skip(8);
        data.MaxBitRate = reader.LE32();
    } else if (guid == kStreamProperties) {
        // The WAVEFORMATEX of the stream's type-specific data, past its format tag.
        reader.SeekForward(start + 80);
        data.Channels = reader.LE16();
        data.SampleRate = reader.LE32();
        data.ByteRate = reader.LE32();
    } else if (guid == kContentDescription) {
        reader.SeekForward(start + kObjectHeaderSize);
        ReadContentDescription(reader, data);
    } else if (guid == kExtendedContentDescription) {
        reader.SeekForward(start + kObjectHeaderSize);
        ReadExtendedContentDescription(reader, data);
    }
    return reader.Ok();
}

}  // namespace

ASFReadResult ReadASFHeader(CachedFile& file, ASFHeaderData& data) {
    data = ASFHeaderData();
    data.FileSize = file.Size();
    BoundedReader top(file, 0, file.Size());
    if (ReadGUID(top) != kHeaderObject || !top.Ok()) return ASFReadResult::NotASF;
    const std::uint64_t headerSize = top.LE64();
    const std::uint32_t count = top.LE32();
    top.Skip(2);
    if (!top.Ok()) return ASFReadResult::Failed;

    const std::uint64_t end = std::min(std::max(headerSize, kHeaderObjectSize), file.Size());
    std::uint64_t start = kHeaderObjectSize;
    for (std::uint32_t i = 0; i < count && end - start >= kObjectHeaderSize; ++i) {
        BoundedReader head(file, start, start + kObjectHeaderSize);
        const GUID guid = ReadGUID(head);
        const std::uint64_t size = head.LE64();
        if (!head.Ok() || size < kObjectHeaderSize || size > end - start) break;
        if (!ReadChild(file, start, start + size, guid, data)) return ASFReadResult::Failed;
        start += size;
    }
    return ASFReadResult::Read;
}

}  // namespace rv
