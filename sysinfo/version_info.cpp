#include "sysinfo/version_info.h"

#include "platform/text/format.h"

namespace rv {
namespace {

// The string table of a translation: language then code page, as eight hexadecimal digits.
std::string StringTablePath(std::uint32_t translation) {
    return Format("\\StringFileInfo\\%04X%04X\\", translation & 0xFFFF, translation >> 16);
}

void ReadString(const VersionResource& resource, const std::string& table, const char* name,
                std::string& field) {
    const auto found = resource.Strings.find(table + name);
    if (found != resource.Strings.end()) field = found->second;
}

}  // namespace

void FillVersionInfo(const VersionResource& resource, TVersionInfo& info) {
    if (!resource.Fixed) return;
    info.Major = static_cast<int>(resource.Fixed->FileVersionMS >> 16);
    info.Minor = static_cast<int>(resource.Fixed->FileVersionMS & 0xFFFF);
    info.Release = static_cast<int>(resource.Fixed->FileVersionLS >> 16);
    info.Build = static_cast<int>(resource.Fixed->FileVersionLS & 0xFFFF);
    info.Version = Format("%d.%d.%d.%d", info.Major, info.Minor, info.Release, info.Build);
    if (resource.Translations.empty()) return;
    const std::string table = StringTablePath(resource.Translations.front());
    ReadString(resource, table, "FileDescription", info.FileDescription);
    ReadString(resource, table, "LegalCopyright", info.LegalCopyright);
    ReadString(resource, table, "Comments", info.Comments);
    ReadString(resource, table, "ProductName", info.ProductName);
    ReadString(resource, table, "CompanyName", info.CompanyName);
}

bool GetFileVerInfo(const std::string& fileName, TVersionInfo& info) {
    info = TVersionInfo{};
    info.FileName = fileName;
    const std::optional<VersionResource> resource = ReadVersionResource(fileName);
    if (!resource) return false;
    FillVersionInfo(*resource, info);
    return true;
}

}  // namespace rv
