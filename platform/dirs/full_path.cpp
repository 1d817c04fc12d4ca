#include "platform/dirs/full_path.h"

#include <unistd.h>

#include <cerrno>
#include <vector>

namespace rv {

namespace {

std::string CurrentFolder() {
    std::vector<char> buffer(4096);
    for (;;) {
        if (getcwd(buffer.data(), buffer.size())) return buffer.data();
        if (errno != ERANGE) return "/";
        buffer.resize(buffer.size() * 2);
    }
}

}  // namespace

std::string ExecutableFileName() {
    std::vector<char> buffer(4096);
    for (;;) {
        ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (length < 0) return {};
        if (std::size_t(length) < buffer.size())
            return std::string(buffer.data(), std::size_t(length));
        buffer.resize(buffer.size() * 2);
    }
}

std::string ExpandFileName(const std::string& path) {
    if (path.empty()) return path;
    const std::string full = path[0] == '/' ? path : CurrentFolder() + "/" + path;
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= full.size()) {
        auto end = full.find('/', start);
        if (end == std::string::npos) end = full.size();
        const std::string part = full.substr(start, end - start);
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        start = end + 1;
    }
    std::string result;
    for (const auto& part : parts) result += "/" + part;
    const bool trailing = full.back() == '/' || full.ends_with("/.") || full.ends_with("/..");
    if (result.empty() || trailing) result += "/";
    return result;
}

std::string IncludeTrailingSlash(const std::string& path) {
    if (path.empty() || path.back() == '/') return path;
    return path + "/";
}

}  // namespace rv
