#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "sysinfo/system_information.h"
#include "testsupport/process.h"

namespace rv {
namespace {

TLinuxFacts DebianFacts() {
    TLinuxFacts facts;
    facts.OsRelease = {{"PRETTY_NAME", "Debian GNU/Linux 12 (bookworm)"},
                       {"NAME", "Debian GNU/Linux"},
                       {"VERSION", "12 (bookworm)"}};
    facts.KernelRelease = "6.1.0-18-amd64";
    facts.UserName = "anna";
    facts.MachineName = "studio-pc";
    facts.ProfilePath = "/home/anna";
    facts.PhysicalMemory = 24ULL << 30;
    return facts;
}

TEST(SystemInformationTest, NamesTheLinuxSystem) {
    const TSystemInformation info = DescribeLinuxSystem(DebianFacts());
    EXPECT_EQ(info.OSShortName, "Debian GNU/Linux");
    EXPECT_EQ(info.OSLongName, "Debian GNU/Linux 12 (bookworm)");
    EXPECT_EQ(info.OSMajor, 6u);
    EXPECT_EQ(info.OSMinor, 1u);
    EXPECT_EQ(info.OSBuild, 0u);
    // No Windows class is claimed.
    EXPECT_EQ(info.OSVersion, osUnknown);
    EXPECT_EQ(info.OSCSDVersion, "");
    EXPECT_FALSE(info.IsNT || info.IsNT5 || info.IsWinXP || info.IsWin95);
    EXPECT_EQ(info.ClassKey, "SYSTEM\\CurrentControlSet\\Services\\Class");
    EXPECT_EQ(info.UserName, "anna");
    EXPECT_EQ(info.MachineName, "STUDIO-PC");
    EXPECT_EQ(info.ProfilePath, "/home/anna");
    // 24 GB do not fit a 32-bit count.
    EXPECT_EQ(info.TotalMemory, 25769803776);

    TLinuxFacts plain = DebianFacts();
    plain.OsRelease = {{"NAME", "Fedora Linux"}, {"VERSION", "40 (Workstation Edition)"}};
    plain.KernelRelease = "6.8.5-301.fc40.x86_64";
    const TSystemInformation fedora = DescribeLinuxSystem(plain);
    EXPECT_EQ(fedora.OSLongName, "Fedora Linux 40 (Workstation Edition)");
    EXPECT_EQ(fedora.OSBuild, 5u);

    plain.OsRelease = {};
    plain.KernelRelease = "unknown";
    const TSystemInformation bare = DescribeLinuxSystem(plain);
    EXPECT_EQ(bare.OSShortName, "Linux");
    EXPECT_EQ(bare.OSLongName, "Linux");
    EXPECT_EQ(bare.OSMajor, 0u);

    plain.KernelRelease = "5.99999999999.3";
    EXPECT_EQ(DescribeLinuxSystem(plain).OSMajor, 5u);
    EXPECT_EQ(DescribeLinuxSystem(plain).OSMinor, 0u);
}

std::string FirstLine(const std::string& text) {
    return text.substr(0, text.find('\n'));
}

std::string Command(const std::vector<std::string>& argv) {
    const test::ProcessResult result = test::RunProcess(argv);
    EXPECT_EQ(result.exitCode, 0) << argv[0];
    return FirstLine(result.out);
}

// The value of "KEY=..." in /etc/os-release, quotes removed.
std::string OsReleaseValue(const std::string& key) {
    std::ifstream file("/etc/os-release");
    std::string line;
    while (std::getline(file, line)) {
        if (line.rfind(key + "=", 0) != 0) continue;
        std::string value = line.substr(key.size() + 1);
        if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'')) {
            value = value.substr(1, value.size() - 2);
        }
        return value;
    }
    return {};
}

TEST(SystemInformationTest, AgreesWithTheMachine) {
    const TSystemInformation& info = SystemInformation();
    const std::string pretty = OsReleaseValue("PRETTY_NAME");
    if (!pretty.empty()) {
        EXPECT_EQ(info.OSLongName, pretty);
    }
    EXPECT_EQ(info.OSShortName, OsReleaseValue("NAME").empty() ? "Linux" : OsReleaseValue("NAME"));

    std::ifstream meminfo("/proc/meminfo");
    std::string key;
    std::int64_t kb = 0;
    while (meminfo >> key && key != "MemTotal:") meminfo.ignore(1 << 10, '\n');
    meminfo >> kb;
    ASSERT_GT(kb, 0);
    EXPECT_NEAR(static_cast<double>(info.TotalMemory), kb * 1024.0, kb * 1024.0 / 64);

    const std::string release = Command({"uname", "-r"});
    std::istringstream numbers(release);
    unsigned major = 0, minor = 0;
    char dot = 0;
    numbers >> major >> dot >> minor;
    EXPECT_EQ(info.OSMajor, major);
    EXPECT_EQ(info.OSMinor, minor);

    std::string host = Command({"hostname"});
    for (char& c : host) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    EXPECT_EQ(info.MachineName, host);
    EXPECT_EQ(info.UserName, Command({"id", "-un"}));
    const std::string entry = Command({"getent", "passwd", Command({"id", "-u"})});
    std::vector<std::string> fields;
    std::istringstream parts(entry);
    for (std::string field; std::getline(parts, field, ':');) fields.push_back(field);
    ASSERT_GE(fields.size(), 6u);
    EXPECT_EQ(info.ProfilePath, fields[5]);

    EXPECT_EQ(info.AppVersionInfo.ProductName, "Lorvix Reelvault");
}

}  // namespace
}  // namespace rv
