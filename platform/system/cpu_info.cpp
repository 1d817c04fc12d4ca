#include "platform/system/cpu_info.h"

#include <fstream>
#include <sstream>

namespace rv {
namespace {

std::string_view TrimBlanks(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

}  // namespace

CpuInfoFields ParseCpuInfo(std::string_view text) {
    CpuInfoFields fields;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (TrimBlanks(line).empty()) {
            if (!fields.empty()) break;
            continue;
        }
        const std::size_t colon = line.find(':');
        if (colon == std::string_view::npos) continue;
        fields.emplace(TrimBlanks(line.substr(0, colon)), TrimBlanks(line.substr(colon + 1)));
    }
    return fields;
}

// The file reports a size of 0, so it is read as a stream.
CpuInfoFields ReadCpuInfo() {
    std::ifstream file("/proc/cpuinfo");
    if (!file) return {};
    std::ostringstream content;
    content << file.rdbuf();
    return ParseCpuInfo(content.str());
}

}  // namespace rv
