#include <gtest/gtest.h>

#include <sstream>

#include "platform/system/locale_language.h"
#include "recorded_dumps.h"
#include "recorded_processor.h"
#include "sysinfo/cpu.h"
#include "testsupport/process.h"

// The XML reports of the processor classes and the frame they are written in.
namespace rv {
namespace {

using test::RecordedProcessor;
using test::SteadyCounter;

std::string Joined(const TReportLines& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\n";
    return text;
}

TReportFrame DebianFrame(std::uint16_t langId = 1033) {
    return {langId, "Debian GNU/Linux 12 (bookworm)", 6, 1, 0, "R&D-PC"};
}

struct ReportedProcessor {
    ReportedProcessor(const test::dumps::Dump& dump, double mhz) : processor(dump), timing(mhz, 0) {
        processor.Key = {"GenuineIntel", "", "Pentium III (Katmai)", 498};
        cpu.GetInfo(true, true);
    }
    RecordedProcessor processor;
    SteadyCounter timing;
    TCPU cpu{processor, timing};
};

constexpr const char* kFrameStart =
    R"xml(<?xml version="1.0" encoding="iso8859-1" standalone="yes"?>
<classes componentname="Lorvix System Information Component" version="8.6" copyright="Copyright &#169; 2026 Lorvix" os="Debian GNU/Linux 12 (bookworm) (6.1.0)" machine="R&amp;D-PC">
)xml";

TEST(CpuReportTest, PentiumIIIReportsAsWrittenByHand) {
    const ReportedProcessor katmai(test::dumps::PentiumIIIKatmai(), 500.0);
    TReportLines lines;
    katmai.cpu.Report(lines, DebianFrame());
    EXPECT_EQ(Joined(lines), std::string(kFrameStart) + R"xml(  <CPU classname="TCPU">
    <data name="Count" type="integer" source="API">2</data>
    <data name="REG_Vendor" type="string" source="Registry">GenuineIntel</data>
    <data name="REG_VendorID" type="string" source="Registry"></data>
    <data name="REG_NameString" type="string" source="Registry">Pentium III (Katmai)</data>
    <data name="REG_Frequency" type="integer" source="Registry" unit="MHz">498</data>
    <data name="Vendor" type="string" source="CPUID">Intel Corporation</data>
    <data name="NameString" type="string" source="CPUID"></data>
    <data name="FriendlyName" type="string" source="CPUID">Pentium III</data>
    <data name="CodeName" type="string" source="CPUID">Katmai (0.25 &#181;m)</data>
    <data name="Family" type="integer" source="CPUID">6</data>
    <data name="ExtendedFamily" type="integer" source="CPUID">0</data>
    <data name="Model" type="integer" source="CPUID">7</data>
    <data name="ExtendedModel" type="integer" source="CPUID">0</data>
    <data name="Stepping" type="integer" source="CPUID">3</data>
    <data name="ExtendedStepping" type="integer" source="CPUID">0</data>
    <data name="Type" type="string" source="CPUID">Primary</data>
    <data name="Brand" type="integer" source="CPUID">0</data>
    <data name="MaximumFunctionLevel" type="integer" source="CPUID">3</data>
    <data name="MaximumExtendedFunctionLevel" type="integer" source="CPUID">0</data>
    <data name="Frequency" type="integer" source="CPUID" unit="MHz">500</data>
    <data name="SerialNumber" type="string" source="CPUID">0000-0673-0000-5E6F-1A2B-3C4D</data>
    <data name="FDIVBug" type="boolean" source="API">false</data>
  </CPU>
</classes>
)xml");

    // EDX of leaf 1 is 0387FBFF: bits 0-9, 11-18, 23-25; nothing extended.
    lines.clear();
    katmai.cpu.Features().Report(lines, DebianFrame());
    // Each flag in the report's order, + when set.
    std::istringstream flags(
        "BuiltInFPU+ VirtualModeExtension+ DebuggingExtension+ PageSizeExtension+ "
        "TimeStampCounter+ ModelSpecificRegisters+ PhysicalAddressExtension+ "
        "MachineCheckException+ CMPXCHG8BInstruction+ OnChipAPICHardware+ FastSystemCall+ "
        "MemoryTypeRangeRegisters+ PageGlobalExtension+ MachineCheckArchitecture+ "
        "ConditionalMoveInstruction+ PageAttributeTable+ PageSizeExtension36bit+ SerialNumber+ "
        "CLFLUSHInstruction- DebugStore- ACPI- MMX+ FastFloatingPointSaveRestore+ "
        "StreamingSIMDExtensions+ StreamingSIMDExtensions2- SelfSnoop- "
        "HyperThreadingTechnology- ThermalMonitor- 3DNow- Enhanced3DNow- EnhancedMMX-");
    std::string expected =
        std::string(kFrameStart) + "  <CPUFeatures classname=\"TCPUFeatures\">\n";
    for (std::string flag; flags >> flag;) {
        expected += "    <data name=\"" + flag.substr(0, flag.size() - 1) +
                    "\" type=\"boolean\" source=\"CPUID\">" +
                    (flag.back() == '+' ? "true" : "false") + "</data>\n";
    }
    EXPECT_EQ(Joined(lines), expected + "  </CPUFeatures>\n</classes>\n");

    lines.clear();
    katmai.cpu.Cache().Report(lines, DebianFrame());
    EXPECT_EQ(Joined(lines), std::string(kFrameStart) + R"xml(  <CPUCache classname="TCPUCache">
    <data name="Level1Data" type="integer" source="CPUID" unit="KB">16</data>
    <data name="Level1Code" type="integer" source="CPUID" unit="KB">16</data>
    <data name="Level2" type="integer" source="CPUID" unit="KB">512</data>
    <data name="Level3" type="integer" source="CPUID" unit="KB">0</data>
    <data name="CacheDescriptions" type="strings" source="CPUID">Instruction TLB, 4Kb pages, 4-way set associative, 32 entries
Instruction TLB, 4Mb pages, fully associative, 2 entries
Data TLB, 4Kb pages, 4-way set associative, 64 entries
L2 cache, 32 byte cache line, 4-way set associative, 512K
Instruction cache, 32 byte cache line, 4-way set associative, 16K
Data TLB, 4Mb pages, 4-way set associative, 8 entries
Data cache, 32 byte cache line, 4-way set associative, 16K</data>
  </CPUCache>
</classes>
)xml");
}

TEST(CpuReportTest, EscapingOrder) {
    const struct {
        const char* text;
        const char* escaped;
    } cases[] = {
        {"&\"'><©µ", "&amp;&quot;&apos;&gt;&lt;&#169;&#181;"},
        // The ampersand goes first, so no entity is escaped twice.
        {"&quot;&lt;", "&amp;quot;&amp;lt;"},
        {"Katmai (0.25 µm) – Ж", "Katmai (0.25 &#181;m) &#8211; &#1046;"},
        {"tab\tline\nfeed", "tab\tline\nfeed"},
        // What XML cannot hold: control characters and malformed UTF-8.
        {"a\x01z\x7F\xFF", "a&#65533;z\x7F&#65533;"},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(EscapeReportText(c.text), c.escaped) << c.text;
}

TEST(CpuReportTest, EncodingFollowsTheLocalesLanguage) {
    const struct {
        const char* locale;
        std::uint16_t langId;
        const char* encoding;
    } cases[] = {
        {"ja_JP.UTF-8", 1041, "Shift_JIS"},
        {"zh_TW.Big5", 1028, "Big5"},
        {"cs_CZ.UTF-8", 1029, "windows-1250"},
        {"he_IL", 1037, "hebrew"},
        {"ko_KR.EUC-KR", 1042, "korean"},
        {"ru_RU.KOI8-R", 1049, "KOI8-R"},
        {"zh_CN.GB2312", 2052, "GB2312"},
        {"zh_HK.UTF-8", 3076, "iso8859-1"},
        {"de_DE.UTF-8@euro", 1031, "iso8859-1"},
        {"en_GB", 2057, "iso8859-1"},
        {"ja", 1041, "Shift_JIS"},
        {"C.UTF-8", 1033, "iso8859-1"},
        {"", 1033, "iso8859-1"},
        {"xx_YY", 0, "iso8859-1"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LangIDOfLocale(c.locale), c.langId) << c.locale;
        TReportLines lines;
        TCPUCache().Report(lines, DebianFrame(LangIDOfLocale(c.locale)));
        EXPECT_EQ(lines.front(), std::string("<?xml version=\"1.0\" encoding=\"") + c.encoding +
                                     "\" standalone=\"yes\"?>")
            << c.locale;
    }
}

TEST(CpuReportTest, ReportsAreWellFormedInEveryEncoding) {
    RV_REQUIRE_TOOL("xmllint");
    const ReportedProcessor athlon(test::dumps::AthlonThunderbird(), 1200.0);
    // Texts of the system and machine that need every kind of escape.
    TReportFrame frame{0, "Ubuntu <\"Noble\"> & 'Numbat' – 24.04 ©", 6, 8, 0, "MÜNCHEN-PC"};
    for (const std::uint16_t langId : {1041, 1028, 1029, 1037, 1042, 1049, 2052, 1033}) {
        frame.LangID = langId;
        TReportLines lines;
        athlon.cpu.Report(lines, frame);
        athlon.cpu.Features().Report(lines, frame);
        athlon.cpu.Cache().Report(lines, frame);
        const std::string xml = Joined(lines);
        // Each report is a document of its own.
        std::size_t start = 0;
        for (int i = 0; i < 3; ++i) {
            const std::size_t end = xml.find("</classes>\n", start) + 11;
            const std::string report = xml.substr(start, end - start);
            start = end;
            const test::ProcessResult parsed =
                test::RunProcess({"xmllint", "--noout", "-"}, report);
            EXPECT_EQ(parsed.exitCode, 0) << langId << "\n" << parsed.err << report;
            const test::ProcessResult os =
                test::RunProcess({"xmllint", "--xpath", "string(/classes/@os)", "-"}, report);
            EXPECT_EQ(os.out, frame.OSLongName + " (6.8.0)\n") << langId;
            const test::ProcessResult machine =
                test::RunProcess({"xmllint", "--xpath", "string(/classes/@machine)", "-"}, report);
            EXPECT_EQ(machine.out, "MÜNCHEN-PC\n") << langId;
        }
    }
}

TEST(CpuReportTest, ExceptionModesArePassedOnAndOutliveGetInfo) {
    const TExceptionModes stack{TExceptionMode::emExceptionStack};
    EXPECT_EQ(TCPUFeatures().ExceptionModes(), stack);
    EXPECT_EQ(TCPUCache().ExceptionModes, stack);

    RecordedProcessor processor(test::dumps::PentiumIIIKatmai());
    SteadyCounter timing(500.0, 0);
    TCPU cpu(processor, timing);
    EXPECT_EQ(cpu.ExceptionModes(), stack);
    EXPECT_EQ(cpu.Features().ExceptionModes(), stack);

    const TExceptionModes journal{TExceptionMode::emDefault, TExceptionMode::emJournal};
    EXPECT_TRUE(journal.Contains(TExceptionMode::emJournal));
    EXPECT_FALSE(journal.Contains(TExceptionMode::emExceptionStack));
    const auto expectJournal = [&] {
        EXPECT_EQ(cpu.ExceptionModes(), journal);
        EXPECT_EQ(cpu.Features().ExceptionModes(), journal);
        EXPECT_EQ(cpu.Cache().ExceptionModes, journal);
    };
    cpu.SetExceptionModes(journal);
    expectJournal();
    // GetInfo makes the parts anew, with and without the cache decoding.
    for (const bool includeCache : {true, false}) {
        cpu.GetInfo(includeCache, true);
        expectJournal();
    }
}

}  // namespace
}  // namespace rv
