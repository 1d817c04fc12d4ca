#include "search/content_search.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/dirs/folder_file.h"
#include "platform/text/ascii_case.h"

namespace rv {

bool FileContainsPhrase(const FolderHandle& folder, const std::string& name,
                        std::string_view searchText, bool ignoreCase,
                        const std::function<bool()>& stop) {
    ReadOnlyFile file;
    if (!OpenInFolder(file, folder, name)) return false;
    const std::uint64_t size = file.Size();
    const std::size_t length = searchText.size();
    if (size < length) return false;
    if (length == 0) return true;
    // A hole reads as zeros, so only a phrase with a zero byte can be found in one or across one.
    const bool skipHoles = searchText.find('\0') == std::string_view::npos;

    // The last length-1 bytes of a chunk stay at the front of the buffer, so that a phrase
    // that straddles two chunks is found; each read brings at most one chunk more.
    const std::size_t keep = length - 1;
    const std::size_t bufferSize =
        size <= kContentChunk ? static_cast<std::size_t>(size) : keep + kContentChunk;
    std::vector<char> buffer(bufferSize);
    std::size_t held = 0;
    std::uint64_t offset = 0;
    while (offset < size) {
        if (stop && stop()) return false;
        if (skipHoles) {
            const std::uint64_t data = file.NextData(offset);
            if (data >= size) return false;
            if (data != offset) held = 0;  // a hole lies between what is held and what follows
            offset = data;
        }
        const std::size_t want =
            static_cast<std::size_t>(std::min<std::uint64_t>(buffer.size() - held, size - offset));
        const std::size_t got = file.ReadAt(offset, buffer.data() + held, want);
        if (got != want) return false;
        if (ignoreCase)
            for (std::size_t i = held; i < held + got; ++i) buffer[i] = AsciiLower(buffer[i]);
        offset += got;
        held += got;
        const std::string_view view(buffer.data(), held);
        if (view.find(searchText) != std::string_view::npos) return true;
        const std::size_t carry = std::min(keep, held);
        std::memmove(buffer.data(), buffer.data() + held - carry, carry);
        held = carry;
    }
    return false;
}

bool FileContainsPhrase(const std::string& fileName, std::string_view searchText, bool ignoreCase) {
    const auto slash = fileName.rfind('/');
    FolderHandle folder;
    if (!folder.Open(slash == std::string::npos ? "." : fileName.substr(0, slash + 1)))
        return false;
    return FileContainsPhrase(folder, fileName.substr(slash + 1), searchText, ignoreCase);
}

}  // namespace rv
