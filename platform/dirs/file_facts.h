#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/dirs/date_time.h"
#include "platform/dirs/directory.h"

namespace rv {

// File attribute bits with their Windows values, as the search criteria hold them.
inline constexpr std::uint32_t faReadOnly = 0x01;
inline constexpr std::uint32_t faHidden = 0x02;
inline constexpr std::uint32_t faSysFile = 0x04;
inline constexpr std::uint32_t faDirectory = 0x10;
inline constexpr std::uint32_t faArchive = 0x20;

enum class FileKind : std::uint8_t { Regular, Directory, Other };

struct FileTime {
    std::int64_t Seconds = 0;  // since 1970 UTC
    std::uint32_t Nanoseconds = 0;
};

// What Linux knows of a file, with a link followed to what it points at.
struct FileFacts {
    FileKind Kind = FileKind::Other;
    std::uint32_t Attr = 0;
    std::uint64_t Size = 0;  // 0 for folders
    // The birth time where the file system keeps one, else the modification time.
    FileTime Created;
    FileTime Modified;
    FileTime Accessed;
};

// The attributes of a file of that kind, mode and name: faDirectory for folders, faReadOnly when
// the owner may not write, faHidden for names starting with ".".
std::uint32_t AttributesOf(FileKind kind, std::uint32_t mode, std::string_view name);

// The facts of the file at `path`; false when it does not exist or cannot be reached (a dangling
// link among them).
bool GetFileFacts(const std::string& path, FileFacts& facts);
// The same for the entry `name` of an open folder.
bool GetFileFacts(const FolderHandle& folder, const std::string& name, FileFacts& facts);

inline TDateTime LocalDateTime(const FileTime& time) {
    return LocalDateTimeFromUnix(time.Seconds, time.Nanoseconds);
}

}  // namespace rv
