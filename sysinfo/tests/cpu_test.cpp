#include <gtest/gtest.h>

#include <algorithm>

#include "recorded_dumps.h"
#include "recorded_processor.h"
#include "sysinfo/cpu.h"
#include "sysinfo/cpu_vendor.h"

namespace rv {
namespace {

using namespace test::dumps;
using test::RecordedProcessor;
using test::SteadyCounter;

struct Measured {
    explicit Measured(const Dump& dump, double mhz = 1000.0) : processor(dump), timing(mhz, 0) {
        cpu.GetInfo(true, true);
    }
    RecordedProcessor processor;
    SteadyCounter timing;
    TCPU cpu{processor, timing};
};

bool Describes(const TCPUCache& cache, const std::string& line) {
    const auto& lines = cache.CacheDescriptions;
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

TEST(CpuTest, PentiumIIIWithoutExtendedLeaves) {
    const Measured m(PentiumIIIKatmai(), 500.0);
    const TCPU& cpu = m.cpu;
    // Leaves beyond those reported answer with leaf 3's data; none may be asked.
    EXPECT_EQ(m.processor.HighestAsked(true), 0x80000000u);
    EXPECT_EQ(m.processor.HighestAsked(false), 3u);
    EXPECT_EQ(cpu.MaximumExtendedFunctionLevel(), 0u);
    EXPECT_EQ(cpu.NameString(), "");

    EXPECT_EQ(cpu.VendorText(), "GenuineIntel");
    EXPECT_EQ(cpu.Vendor(), "Intel Corporation");
    EXPECT_EQ(cpu.Family() * 100 + cpu.Model() * 10 + cpu.Stepping(), 673);
    EXPECT_EQ(cpu.FamilyType(), TCPUFamily::cf686);
    EXPECT_EQ(cpu.CPUType(), TCPUType::ctPrimary);
    EXPECT_EQ(cpu.FriendlyName(), "Pentium III");
    EXPECT_EQ(cpu.CodeName(), "Katmai (0.25 µm)");
    EXPECT_EQ(cpu.Frequency(), 500);
    EXPECT_EQ(cpu.Count(), 2);
    EXPECT_FALSE(cpu.FDIVBug());
    EXPECT_EQ(cpu.SerialNumber(), "0000-0673-0000-5E6F-1A2B-3C4D");

    const TCPUFeatures& f = cpu.Features();
    EXPECT_TRUE(f.FPU() && f.TSC() && f.CX8() && f.SEP() && f.CMOV() && f.PSN() && f.MMX());
    EXPECT_TRUE(f.FXSR() && f.SSE());
    EXPECT_FALSE(f.SSE2() || f.HTT() || f.CLFSH() || f.EX_MMX() || f._3DNOW());

    const TCPUCache& c = cpu.Cache();
    EXPECT_EQ(c.Level1Code, 16);
    EXPECT_EQ(c.Level1Data, 16);
    EXPECT_EQ(c.Level1, 32);
    EXPECT_EQ(c.Level2, 512);
    EXPECT_EQ(c.Level3, 0);
    EXPECT_EQ(c.Descriptors, (std::vector<std::uint8_t>{1, 2, 3, 0x43, 8, 4, 0x0C}));
    EXPECT_EQ(c.CacheDescriptions.size(), 7u);
    EXPECT_TRUE(Describes(c, "Instruction TLB, 4Kb pages, 4-way set associative, 32 entries"));
}

TEST(CpuTest, Family6Model5IsNamedByItsSecondLevelCache) {
    const struct {
        std::uint8_t descriptor;
        int level2;
        const char* name;
        const char* codeName;
    } cases[] = {
        {0x40, 0, "Celeron", "Covington (0,25µm)"},
        {0x41, 128, "Celeron A", "Mendocino (0,25µm)"},
        {0x42, 256, "Pentium II PE", "Dixon (0,25µm)"},
        {0x43, 512, "Pentium II", "Deschutes (0,25µm)"},
        {0x44, 1024, "Pentium II Xeon", "Deschutes (0,25µm)"},
    };
    for (const auto& c : cases) {
        const Measured m(Family6Model5(c.descriptor), 333.0);
        EXPECT_EQ(m.cpu.Cache().Level2, c.level2);
        EXPECT_EQ(m.cpu.FriendlyName(), c.name);
        EXPECT_EQ(m.cpu.CodeName(), c.codeName);
    }
    // Pentium Pro: 06 is an 8 KB code cache, 0A an 8 KB data cache, 42 256 KB L2.
    const Measured pro({Intel(2),
                        {1, 0, {0x00000619, 0x00000000, 0x00000000, 0x0000FBFF}},
                        {2, 0, {0x03020101, 0x00000000, 0x00000000, 0x0A040642}}});
    EXPECT_EQ(pro.cpu.FriendlyName(), "Pentium Pro");
    EXPECT_EQ(pro.cpu.Cache().Level1Code, 8);
    EXPECT_EQ(pro.cpu.Cache().Level1Data, 8);
    EXPECT_EQ(pro.cpu.Cache().Level2, 256);
}

TEST(CpuTest, Pentium4BrandTextIsTrimmed) {
    const Measured m(Pentium4Northwood(), 2398.6);
    EXPECT_EQ(m.cpu.NameString(), "Intel(R) Pentium(R) 4 CPU 2.40GHz");
    EXPECT_EQ(m.cpu.FriendlyName(), "Pentium 4");
    EXPECT_EQ(m.cpu.CodeName(), "Northwood (0.13 µm)");
    EXPECT_EQ(m.cpu.FamilyType(), TCPUFamily::cf786);
    EXPECT_EQ(m.cpu.Frequency(), 2400);
    EXPECT_TRUE(m.cpu.Features().SSE2() && m.cpu.Features().HTT() && m.cpu.Features().TM());
    EXPECT_EQ(m.cpu.SerialNumber(), "");
    // The trace cache counts as code cache.
    EXPECT_EQ(m.cpu.Cache().Level1Data, 8);
    EXPECT_EQ(m.cpu.Cache().Level1Code, 12);
    EXPECT_EQ(m.cpu.Cache().Level2, 512);
    EXPECT_EQ(m.cpu.Cache().Level3, 0);

    // 23 is a third-level cache of 1 MB, beside the 512 KB of 7B.
    Dump gallatin = Pentium4Northwood();
    gallatin[2].Registers.Edx = 0x00237B70;
    const Measured xeon(gallatin);
    EXPECT_EQ(xeon.cpu.Cache().Level2, 512);
    EXPECT_EQ(xeon.cpu.Cache().Level3, 1024);
}

TEST(CpuTest, IntelDescriptorFFIsFollowedToLeaf4) {
    const Measured m(CoreI7Skylake(), 4000.0);
    const TCPUCache& c = m.cpu.Cache();
    EXPECT_EQ(c.Level1Data, 32);
    EXPECT_EQ(c.Level1Code, 32);
    EXPECT_EQ(c.Level2, 256);
    EXPECT_EQ(c.Level3, 8192);
    EXPECT_TRUE(Describes(c, "L3 unified cache, 64 byte cache line, 16-way set associative, 8M"));
    EXPECT_EQ(m.cpu.NameString(), "Intel(R) Core(TM) i7-6700K CPU @ 4.00GHz");
    // Model 0x5E is no Pentium of the tables, whatever its low four bits say.
    EXPECT_EQ(m.cpu.Model(), 14);
    EXPECT_EQ(m.cpu.FriendlyName(), "");
    EXPECT_EQ(m.cpu.CodeName(), "");
}

TEST(CpuTest, AmdSecondLevelCacheOfEveryFamily) {
    const Measured thunderbird(AthlonThunderbird(), 1200.0);
    const TCPU& athlon = thunderbird.cpu;
    EXPECT_EQ(athlon.Vendor(), "Advanced Micro Devices");
    EXPECT_EQ(athlon.NameString(), "AMD Athlon(tm) Processor");
    EXPECT_EQ(athlon.FriendlyName(), "Athlon");
    EXPECT_EQ(athlon.CodeName(), "Thunderbird (0.18 µm)");
    EXPECT_EQ(athlon.ExtendedFamily(), 7);
    EXPECT_EQ(athlon.Cache().Level1, 128);
    EXPECT_EQ(athlon.Cache().Level2, 256);
    EXPECT_TRUE(athlon.Features()._3DNOW() && athlon.Features().EX_3DNOW());
    EXPECT_TRUE(athlon.Features().EX_MMX() && !athlon.Features().SSE());
    const TCPUCache& c = athlon.Cache();
    EXPECT_TRUE(Describes(c, "Instruction TLB, 4K pages, fully associative, 16 entries"));
    EXPECT_TRUE(Describes(c, "Data TLB, 2M/4M pages, 4-way associative, 8 entries"));
    EXPECT_TRUE(
        Describes(c, "Data cache 64K, 2-way associative, 64 byte line size, 1 line per tag"));
    EXPECT_TRUE(Describes(c, "L2 Data TLB, 4K pages, 4-way associative, 256 entries"));
    EXPECT_TRUE(
        Describes(c, "Unified cache 256K, 16-way associative, 64 byte line size, 1 line per tag"));

    const Measured duron(DuronMorgan(64));
    EXPECT_EQ(duron.cpu.FriendlyName(), "Duron");
    EXPECT_EQ(duron.cpu.Cache().Level2, 64);
    // On the Athlon XP's die a Duron reports the die's 256 KB, of which 64 KB are enabled.
    EXPECT_EQ(Measured(DuronMorgan(256)).cpu.Cache().Level2, 64);

    const Measured clawhammer(Athlon64(0xF48, 0, "AMD Athlon(tm) 64 Processor 3200+"));
    EXPECT_EQ(clawhammer.cpu.FriendlyName(), "Athlon 64");
    EXPECT_EQ(clawhammer.cpu.CodeName(), "Clawhammer (0.13 µm)");
    EXPECT_EQ(clawhammer.cpu.Cache().Level2, 1024);

    const Measured zen3(EpycZen3());
    EXPECT_EQ(zen3.cpu.NameString(), "AMD EPYC 7713 64-Core Processor");
    EXPECT_EQ(zen3.cpu.Family(), 15);
    EXPECT_EQ(zen3.cpu.Cache().Level1, 64);
    EXPECT_EQ(zen3.cpu.Cache().Level2, 512);
    EXPECT_EQ(zen3.cpu.Cache().Level3, 262144);
    EXPECT_TRUE(
        Describes(zen3.cpu.Cache(),
                  "Unified cache 512K, 8-way associative, 64 byte line size, 1 line per tag"));
    EXPECT_EQ(zen3.cpu.FriendlyName(), "");
}

TEST(CpuTest, OpteronsAreNumberedByClockAndWidth) {
    const std::pair<std::uint8_t, const char*> cases[] = {
        {3, "Opteron UP144"}, {4, "Opteron DP244"}, {5, "Opteron MP844"}, {0, "Opteron"}};
    for (const auto& [brand, name] : cases) {
        const Measured m(Athlon64(0xF58, brand, "AMD Opteron(tm) Processor 244"), 1796.0);
        EXPECT_EQ(m.cpu.FriendlyName(), name);
        EXPECT_EQ(m.cpu.CodeName(), "Sledgehammer (0.13 µm)");
    }
}

TEST(CpuTest, UnknownMakerAndNoCpuid) {
    // Zhaoxin's "  Shanghai  " is not in the vendor table.
    const Measured zhaoxin({{0, 0, {0x0000000D, 0x68532020, 0x20206961, 0x68676E61}},
                            {1, 0, {0x000107B5, 0x00000800, 0x00000000, 0x0383FBFF}}});
    const TCPU& unknown = zhaoxin.cpu;
    EXPECT_EQ(unknown.VendorText(), "  Shanghai  ");
    EXPECT_EQ(unknown.VendorIndex(), vendorUnknown);
    EXPECT_EQ(unknown.Vendor(), "");
    EXPECT_EQ(unknown.FriendlyName() + unknown.CodeName(), "");
    EXPECT_EQ(unknown.Cache().Level1 + unknown.Cache().Level2 + unknown.Cache().Level3, 0);
    EXPECT_EQ(unknown.Frequency(), 1000);

    // A processor without CPUID (any other architecture) has no facts of it, and no counter.
    const RecordedProcessor none({}, false);
    SteadyCounter timing(1000.0, 0);
    TCPU cpu(none, timing);
    cpu.GetInfo(true, true);
    EXPECT_TRUE(none.AskedNothing());
    EXPECT_EQ(cpu.Count(), 2);
    EXPECT_EQ(cpu.Vendor(), "");
    EXPECT_EQ(cpu.Frequency(), 0);
    EXPECT_EQ(cpu.FamilyType(), TCPUFamily::cfUnknown);
    EXPECT_EQ(cpu.CPUType(), TCPUType::ctUnknown);
}

TEST(CpuTest, VendorTable) {
    const char* const texts[] = {"GenuineIntel", "AuthenticAMD", "CyrixInstead", "CentaurHauls",
                                 "NexGenDriven", "UMC UMC UMC ", "RiseRiseRise", "GenuineTMx86",
                                 "SiS SiS SiS ", "Geode by NSC"};
    for (int i = 0; i < 10; ++i) EXPECT_EQ(VendorIndexOf(texts[i]), i + 1) << texts[i];
    EXPECT_EQ(VendorIndexOf("UMC UMC UMC"), vendorUnknown);
    EXPECT_EQ(VendorShortName(vendorIDT), "IDT");
    EXPECT_EQ(VendorLongName(vendorIDT), "IDT/Centaur/VIA");
    EXPECT_EQ(VendorShortName(vendorUnknown), "");
}

}  // namespace
}  // namespace rv
