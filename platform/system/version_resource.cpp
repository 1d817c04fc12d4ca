#include "platform/system/version_resource.h"

#include <sys/stat.h>
#include <unistd.h>

#include <vector>

#include "platform/system/program_version.h"

namespace rv {
namespace {

// US English in Unicode, the translation resource compilers write for Unicode string tables.
constexpr std::uint32_t kTranslation = 0x04B00409;
constexpr char kStringTable[] = "\\StringFileInfo\\040904B0\\";

bool SameFile(const std::string& a, const std::string& b) {
    struct stat first, second;
    return stat(a.c_str(), &first) == 0 && stat(b.c_str(), &second) == 0 &&
           first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

VersionResource ProgramResource() {
    const ProgramVersion& v = kProgramVersion;
    VersionResource resource;
    resource.Fixed = FixedFileInfo{v.Major << 16 | v.Minor, v.Release << 16 | v.Build};
    resource.Translations.push_back(kTranslation);
    const std::string table = kStringTable;
    resource.Strings[table + "ProductName"] = v.ProductName;
    resource.Strings[table + "CompanyName"] = v.CompanyName;
    resource.Strings[table + "FileDescription"] = v.FileDescription;
    resource.Strings[table + "Comments"] = v.Comments;
    resource.Strings[table + "LegalCopyright"] = v.LegalCopyright;
    return resource;
}

}  // namespace

std::string ProgramFileName() {
    std::vector<char> buffer(256);
    for (;;) {
        const ssize_t n = readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (n < 0) return {};
        if (static_cast<std::size_t>(n) < buffer.size()) {
            return std::string(buffer.data(), static_cast<std::size_t>(n));
        }
        if (buffer.size() >= (1u << 16)) return {};
        buffer.resize(buffer.size() * 2);
    }
}

std::optional<VersionResource> ReadVersionResource(const std::string& fileName) {
    // By its name too: a program file replaced while it runs is no longer the same file.
    if (fileName.empty()) return std::nullopt;
    if (fileName != ProgramFileName() && !SameFile(fileName, "/proc/self/exe")) {
        return std::nullopt;
    }
    return ProgramResource();
}

}  // namespace rv
