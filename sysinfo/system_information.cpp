#include "sysinfo/system_information.h"

#include <algorithm>
#include <limits>
#include <string_view>

#include "platform/system/kernel_release.h"
#include "platform/system/memory.h"
#include "platform/text/ascii_case.h"
#include "sysinfo/machine_names.h"

namespace rv {
namespace {

std::string Field(const OsReleaseFields& fields, const char* key) {
    const auto found = fields.find(key);
    return found != fields.end() ? found->second : std::string();
}

// os-release names a system without a NAME "Linux"; without a PRETTY_NAME the name and the
// version say it.
void NameSystem(const OsReleaseFields& fields, TSystemInformation& info) {
    info.OSShortName = Field(fields, "NAME");
    if (info.OSShortName.empty()) info.OSShortName = "Linux";
    info.OSLongName = Field(fields, "PRETTY_NAME");
    if (info.OSLongName.empty()) {
        const std::string version = Field(fields, "VERSION");
        info.OSLongName = version.empty() ? info.OSShortName : info.OSShortName + " " + version;
    }
}

// The leading "major.minor.patch" of a kernel release; missing or overlong numbers are 0.
void ReadKernelNumbers(std::string_view release, TSystemInformation& info) {
    std::uint32_t* const parts[] = {&info.OSMajor, &info.OSMinor, &info.OSBuild};
    for (std::uint32_t* part : parts) {
        std::uint32_t value = 0;
        std::size_t digits = 0;
        for (; digits < release.size() && release[digits] >= '0' && release[digits] <= '9';
             ++digits) {
            value = value * 10 + static_cast<std::uint32_t>(release[digits] - '0');
        }
        if (digits == 0) return;
        *part = digits <= 9 ? value : 0;
        release.remove_prefix(digits);
        if (release.empty() || release.front() != '.') return;
        release.remove_prefix(1);
    }
}

TLinuxFacts GatherLinuxFacts() {
    TLinuxFacts facts;
    facts.OsRelease = ReadOsRelease();
    facts.KernelRelease = ReadKernelRelease().Release;
    facts.UserName = GetUserNameText();
    facts.MachineName = GetMachineName();
    facts.ProfilePath = GetProfilePath();
    facts.PhysicalMemory = PhysicalMemoryBytes();
    GetFileVerInfo(ProgramFileName(), facts.AppVersionInfo);
    return facts;
}

}  // namespace

TSystemInformation DescribeLinuxSystem(const TLinuxFacts& facts) {
    TSystemInformation info;
    NameSystem(facts.OsRelease, info);
    ReadKernelNumbers(facts.KernelRelease, info);
    info.UserName = facts.UserName;
    info.MachineName = UpperCase(facts.MachineName);
    info.ProfilePath = facts.ProfilePath;
    info.ClassKey = ClassKeyOf(info.IsNT);
    constexpr std::uint64_t kMost = std::numeric_limits<std::int64_t>::max();
    info.TotalMemory = static_cast<std::int64_t>(std::min(facts.PhysicalMemory, kMost));
    info.AppVersionInfo = facts.AppVersionInfo;
    return info;
}

const TSystemInformation& SystemInformation() {
    static const TSystemInformation info = DescribeLinuxSystem(GatherLinuxFacts());
    return info;
}

}  // namespace rv
