#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <vector>

#include "sysinfo/cpu.h"
#include "sysinfo/cpu_vendor.h"
#include "sysinfo/system_information.h"
#include "testsupport/process.h"

// The processor of the machine running the tests, against what the kernel says of it.
namespace rv {
namespace {

// The first processor's lines of /proc/cpuinfo, by name; and how many processors it lists.
struct CpuInfo {
    std::map<std::string, std::string> Fields;
    int Processors = 0;
};

std::string Trimmed(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t");
    const std::size_t last = text.find_last_not_of(" \t");
    return first == std::string::npos ? "" : text.substr(first, last - first + 1);
}

CpuInfo ReadCpuInfo() {
    CpuInfo info;
    std::ifstream file("/proc/cpuinfo");
    for (std::string line; std::getline(file, line);) {
        const std::size_t colon = line.find(':');
        if (colon == std::string::npos) continue;
        const std::string name = Trimmed(line.substr(0, colon));
        if (name == "processor") ++info.Processors;
        if (info.Processors == 1) info.Fields[name] = Trimmed(line.substr(colon + 1));
    }
    return info;
}

int Number(const std::string& text) {
    return std::atoi(text.c_str());
}

std::string ReadLine(const std::string& path) {
    std::ifstream file(path);
    std::string line;
    std::getline(file, line);
    return line;
}

// The kernel's description of the first processor's caches: KB by "level type".
std::map<std::string, int> SysfsCaches() {
    std::map<std::string, int> caches;
    for (int i = 0; i < 8; ++i) {
        const std::string dir = "/sys/devices/system/cpu/cpu0/cache/index" + std::to_string(i);
        const std::string size = ReadLine(dir + "/size");
        if (size.empty()) break;
        const int kb = Number(size) * (size.back() == 'M' ? 1024 : 1);
        caches[ReadLine(dir + "/level") + " " + ReadLine(dir + "/type")] = kb;
    }
    return caches;
}

TEST(CpuLiveTest, AgreesWithProcCpuinfo) {
    const CpuInfo info = ReadCpuInfo();
    if (info.Fields.count("vendor_id") == 0) GTEST_SKIP() << "the kernel lists no x86 processor";
    const auto field = [&](const char* name) {
        const auto found = info.Fields.find(name);
        return found != info.Fields.end() ? found->second : std::string();
    };
    TCPU cpu;
    cpu.GetInfo(true, true);

    EXPECT_EQ(cpu.VendorText(), field("vendor_id"));
    EXPECT_EQ(cpu.RegistryKey().VendorIdentifier, field("vendor_id"));
    EXPECT_EQ(cpu.RegistryKey().ProcessorNameString, field("model name"));
    // The clock changes from one reading to the next.
    EXPECT_EQ(cpu.RegistryKey().MHz > 0, !field("cpu MHz").empty());
    if (!cpu.NameString().empty()) {
        EXPECT_EQ(cpu.NameString(), field("model name"));
    }
    // The kernel adds the extended family and model to the ones of four bits.
    EXPECT_EQ(cpu.Family(), std::min(Number(field("cpu family")), 15));
    EXPECT_EQ(cpu.Model(), Number(field("model")) & 0xF);
    EXPECT_EQ(cpu.Stepping(), Number(field("stepping")));
    EXPECT_EQ(cpu.Count(), info.Processors);
    EXPECT_FALSE(cpu.FDIVBug());

    std::set<std::string> flags;
    std::istringstream words(field("flags"));
    for (std::string word; words >> word;) flags.insert(word);
    const std::pair<const char*, bool (TCPUFeatures::*)() const> named[] = {
        {"fpu", &TCPUFeatures::FPU},      {"vme", &TCPUFeatures::VME},
        {"de", &TCPUFeatures::DE},        {"pse", &TCPUFeatures::PSE},
        {"tsc", &TCPUFeatures::TSC},      {"msr", &TCPUFeatures::MSR},
        {"pae", &TCPUFeatures::PAE},      {"mce", &TCPUFeatures::MCE},
        {"cx8", &TCPUFeatures::CX8},      {"apic", &TCPUFeatures::APIC},
        {"sep", &TCPUFeatures::SEP},      {"mtrr", &TCPUFeatures::MTRR},
        {"pge", &TCPUFeatures::PGE},      {"mca", &TCPUFeatures::MCA},
        {"cmov", &TCPUFeatures::CMOV},    {"pat", &TCPUFeatures::PAT},
        {"pse36", &TCPUFeatures::PSE36},  {"clflush", &TCPUFeatures::CLFSH},
        {"dts", &TCPUFeatures::DS},       {"acpi", &TCPUFeatures::ACPI},
        {"mmx", &TCPUFeatures::MMX},      {"fxsr", &TCPUFeatures::FXSR},
        {"sse", &TCPUFeatures::SSE},      {"sse2", &TCPUFeatures::SSE2},
        {"ss", &TCPUFeatures::SS},        {"ht", &TCPUFeatures::HTT},
        {"tm", &TCPUFeatures::TM},        {"3dnowext", &TCPUFeatures::EX_3DNOW},
        {"3dnow", &TCPUFeatures::_3DNOW},
    };
    for (const auto& [name, flag] : named) {
        EXPECT_EQ((cpu.Features().*flag)(), flags.count(name) == 1) << name;
    }

    const std::map<std::string, int> caches = SysfsCaches();
    const TCPUCache& cache = cpu.Cache();
    if (!caches.empty()) {
        EXPECT_EQ(cache.Level1Data, caches.at("1 Data"));
        EXPECT_EQ(cache.Level1Code, caches.at("1 Instruction"));
        EXPECT_EQ(cache.Level2, caches.count("2 Unified") ? caches.at("2 Unified") : 0);
        // AMD counts the third level of the whole package; the kernel lists the part one
        // core shares.
        const int level3 = caches.count("3 Unified") ? caches.at("3 Unified") : 0;
        if (cpu.VendorIndex() == vendorAMD && level3 > 0) {
            EXPECT_EQ(cache.Level3 % level3, 0) << cache.Level3;
            EXPECT_GE(cache.Level3, level3);
        } else {
            EXPECT_EQ(cache.Level3, level3);
        }
    }
    // The kernel's "cache size" is Intel's last level and AMD's second.
    const int cacheSize = Number(field("cache size"));
    if (cpu.VendorIndex() == vendorAMD) {
        EXPECT_EQ(cache.Level2, cacheSize);
    }
    if (cpu.VendorIndex() == vendorIntel) {
        EXPECT_EQ(cache.Level3 != 0 ? cache.Level3 : cache.Level2, cacheSize);
    }
}

// The scheduling of the calling thread: priority, nice value, real-time priority, policy
// (fields 18, 19, 40 and 41 of its stat line).
std::string Scheduling() {
    const std::string stat = ReadLine("/proc/thread-self/stat");
    std::istringstream words(stat.substr(stat.rfind(')') + 2));
    std::vector<std::string> fields;
    for (std::string word; words >> word;) fields.push_back(word);
    if (fields.size() < 39) return {};
    return fields[15] + " " + fields[16] + " " + fields[37] + " " + fields[38];
}

// The machine's counter and clock, noting whether the thread's scheduling is changed while
// the measurement sleeps.
class WatchedTiming final : public TTimingSource {
public:
    bool ReadCounter(std::uint64_t& value) override { return machine_.ReadCounter(value); }
    std::int64_t NowNanoseconds() override { return machine_.NowNanoseconds(); }
    void Sleep(int milliseconds) override {
        if (Scheduling() != before_) changed_ = true;
        machine_.Sleep(milliseconds);
    }
    bool Changed() const { return changed_; }

private:
    TTimingSource& machine_ = MachineTiming();
    std::string before_ = Scheduling();
    bool changed_ = false;
};

TEST(CpuLiveTest, MeasuresTheCounterRateWithoutRaisingPriority) {
    const CpuInfo info = ReadCpuInfo();
    const auto bogomips = info.Fields.find("bogomips");
    if (bogomips == info.Fields.end() || info.Fields.count("vendor_id") == 0) {
        GTEST_SKIP() << "the kernel lists no x86 processor";
    }
    WatchedTiming timing;
    TCPU cpu(MachineProcessor(), timing);
    cpu.GetInfo(false, true);
    if (!cpu.Features().TSC()) GTEST_SKIP() << "no time-stamp counter";

    EXPECT_FALSE(timing.Changed());
    // The kernel calibrates its delay loop on the counter: BogoMIPS are twice its MHz.
    const double reference = std::atof(bogomips->second.c_str()) / 2;
    EXPECT_NEAR(cpu.Frequency(), reference, 10 + reference * 0.02);
}

TEST(CpuLiveTest, ReportsOfThisMachineAreWellFormed) {
    RV_REQUIRE_TOOL("xmllint");
    TCPU cpu;
    cpu.GetInfo(true, true);
    TReportLines lines;
    cpu.Report(lines);
    cpu.Cache().Report(lines);
    std::string report;
    for (const std::string& line : lines) {
        report += line + "\n";
        if (line != "</classes>") continue;
        const test::ProcessResult parsed = test::RunProcess({"xmllint", "--noout", "-"}, report);
        EXPECT_EQ(parsed.exitCode, 0) << parsed.err << report;
        const test::ProcessResult machine =
            test::RunProcess({"xmllint", "--xpath", "string(/classes/@machine)", "-"}, report);
        EXPECT_EQ(machine.out, SystemInformation().MachineName + "\n");
        report.clear();
    }
}

}  // namespace
}  // namespace rv
