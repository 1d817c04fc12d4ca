#include "readers/cached_file.h"

#include <algorithm>

namespace rv {

const CachedFile::Window& CachedFile::WindowFor(std::uint64_t offset, std::size_t count) {
    if (windows_[recent_].Holds(offset, count)) return windows_[recent_];
    recent_ = 1 - recent_;
    Window& window = windows_[recent_];
    if (window.Holds(offset, count)) return window;
    const std::uint64_t size = file_.Size();
    if (size - offset >= kWindowSize)
        window.start = offset;
    else
        window.start = size > kWindowSize ? size - kWindowSize : 0;
    const auto wanted =
        static_cast<std::size_t>(std::min<std::uint64_t>(kWindowSize, size - window.start));
    window.length = ReadFile(window.start, window.bytes, wanted);
    return window;
}

std::string_view CachedFile::View(std::uint64_t offset, std::size_t count) {
    const std::uint64_t size = file_.Size();
    if (offset >= size) return {};
    count = static_cast<std::size_t>(std::min<std::uint64_t>({count, kWindowSize, size - offset}));
    const Window& window = WindowFor(offset, count);
    if (offset < window.start || offset - window.start >= window.length) return {};
    const auto at = static_cast<std::size_t>(offset - window.start);
    return {reinterpret_cast<const char*>(window.bytes) + at, std::min(count, window.length - at)};
}

std::size_t CachedFile::ReadElsewhere(std::uint64_t offset, void* buffer, std::size_t count) {
    if (count > kWindowSize) return ReadFile(offset, buffer, count);
    const std::string_view bytes = View(offset, count);
    if (!bytes.empty()) std::memcpy(buffer, bytes.data(), bytes.size());
    return bytes.size();
}

}  // namespace rv
