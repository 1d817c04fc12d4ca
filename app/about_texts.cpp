#include "app/about_texts.h"

#include "platform/system/version_resource.h"
#include "platform/text/ascii_case.h"
#include "platform/text/format.h"
#include "platform/text/trim.h"
#include "sysinfo/cpu.h"
#include "sysinfo/cpu_vendor.h"
#include "sysinfo/system_information.h"

namespace rv {

TAboutFacts GatherAboutFacts() {
    TAboutFacts facts;
    GetFileVerInfo(ProgramFileName(), facts.Version);
    TCPU cpu;
    cpu.GetInfo(true, true);
    facts.CpuName = cpu.NameString();
    facts.CpuVendor = VendorShortName(cpu.VendorIndex());
    facts.CpuFriendlyName = cpu.FriendlyName();
    facts.CpuMHz = cpu.Frequency();
    const TSystemInformation& system = SystemInformation();
    facts.OSLongName = system.OSLongName;
    facts.TotalMemory = system.TotalMemory;
    return facts;
}

std::string GroupThousands(std::int64_t value) {
    // Unsigned, so that the lowest value has a magnitude too.
    const std::uint64_t magnitude = value < 0 ? 0 - std::uint64_t(value) : std::uint64_t(value);
    const std::string digits = std::to_string(magnitude);
    std::string grouped = value < 0 ? "-" : "";
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) grouped += ',';
        grouped += digits[i];
    }
    return grouped;
}

TAboutTexts AboutTexts(int kind, const std::string& text, const TAboutFacts& facts) {
    const TVersionInfo& v = facts.Version;
    TAboutTexts t;
    t.Product = v.ProductName;
    if (!SameText(v.ProductName, v.FileDescription))
        t.Desc = Format("%s %s", v.CompanyName.c_str(), v.FileDescription.c_str());
    t.Copy = v.LegalCopyright;
    if (!Trim(facts.CpuName).empty())
        t.CPU = Format("CPU: %s - %d Mhz", Trim(facts.CpuName).c_str(), facts.CpuMHz);
    else
        t.CPU = Format("CPU: %s %s - %d Mhz", facts.CpuVendor.c_str(),
                       facts.CpuFriendlyName.c_str(), facts.CpuMHz);
    t.OS = "OS: " + facts.OSLongName;
    // The box's own texts, which other kinds keep.
    t.Caption = "About";
    t.Ver = "Version";
    t.Mem = "Memory";
    if (kind == 0) {
        t.Caption = "About " + v.ProductName;
        t.Comment =
            "A catalogue of your music: artists, albums and tracks from audio files "
            "and CDs.";
        t.Ver = Format("%s %d.%d [%s: %d]", "Version", v.Major, v.Minor, "Build", v.Build);
        t.Mem = Format("%s: %s KB", "Memory", GroupThousands(facts.TotalMemory / 1024).c_str());
    }
    if (!v.Comments.empty()) t.Ver += " - " + v.Comments;
    if (!text.empty()) t.Comment = text;
    return t;
}

}  // namespace rv
