#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

#include "platform/system/cpu_info.h"
#include "platform/system/locale_language.h"
#include "platform/system/memory.h"
#include "platform/system/os_release.h"
#include "platform/system/processor.h"
#include "platform/system/version_resource.h"

namespace rv {
namespace {

TEST(LargeBlockTest, IsZeroedAlignedAndWritable) {
    for (std::size_t bytes : {std::size_t(1), std::size_t(3) << 20, std::size_t(8) << 20}) {
        auto* block = static_cast<unsigned char*>(AllocateLargeBlock(bytes));
        ASSERT_NE(block, nullptr);
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(block) % (std::uintptr_t(2) << 20), 0u);
        EXPECT_EQ(block[0], 0);
        EXPECT_EQ(block[bytes - 1], 0);
        EXPECT_EQ(block[bytes / 2], 0);
        std::memset(block, 0xA5, bytes);
        EXPECT_EQ(block[bytes - 1], 0xA5);
        FreeLargeBlock(block, bytes);
    }
    EXPECT_EQ(AllocateLargeBlock(0), nullptr);
    FreeLargeBlock(nullptr, 0);
}

TEST(OsReleaseTest, ReadsShellStyleAssignments) {
    const OsReleaseFields fields = ParseOsRelease(
        "# written by the distribution\n"
        "PRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\n"
        "NAME='Debian GNU/Linux'\n"
        "VERSION_ID=12\r\n"
        "  ID = debian  \n"
        "VARIANT=\"say \\\"hi\\\" for \\$5 \\\\ \\n\"\n"
        "BROKEN=\"no closing quote\n"
        "not an assignment\n"
        "BAD KEY=1\n"
        "=empty key\n"
        "EMPTY=\n");
    EXPECT_EQ(fields.at("PRETTY_NAME"), "Debian GNU/Linux 12 (bookworm)");
    EXPECT_EQ(fields.at("NAME"), "Debian GNU/Linux");
    EXPECT_EQ(fields.at("VERSION_ID"), "12");
    EXPECT_EQ(fields.at("ID"), "debian");
    EXPECT_EQ(fields.at("VARIANT"), "say \"hi\" for $5 \\ \\n");
    EXPECT_EQ(fields.at("BROKEN"), "no closing quote");
    EXPECT_EQ(fields.at("EMPTY"), "");
    EXPECT_EQ(fields.size(), 7u);
    EXPECT_TRUE(ParseOsRelease("").empty());
}

TEST(ProgramFileTest, OnlyTheRunningProgramHasAVersionResource) {
    const std::string program = ProgramFileName();
    ASSERT_FALSE(program.empty());
    EXPECT_NE(program.find("platform_system_tests"), std::string::npos) << program;
    const std::optional<VersionResource> resource = ReadVersionResource(program);
    ASSERT_TRUE(resource.has_value());
    ASSERT_TRUE(resource->Fixed.has_value());
    EXPECT_EQ(resource->Translations, std::vector<std::uint32_t>{0x04B00409});
    EXPECT_EQ(resource->Strings.at("\\StringFileInfo\\040904B0\\ProductName"), "Lorvix Reelvault");
    EXPECT_FALSE(ReadVersionResource("/bin/sh").has_value());
    EXPECT_FALSE(ReadVersionResource("").has_value());
}

TEST(ProcessorTest, AnswersOnX86AndSaysNoElsewhere) {
    std::uint64_t first = 0, second = 0;
#if defined(__x86_64__) || defined(__i386__)
    ASSERT_TRUE(CpuidPresent());
    EXPECT_GE(Cpuid(0).Eax, 1u);
    ASSERT_TRUE(ReadTimeStampCounter(first));
    ASSERT_TRUE(ReadTimeStampCounter(second));
    EXPECT_GT(second, first);
#else
    EXPECT_FALSE(CpuidPresent());
    EXPECT_EQ(Cpuid(0).Eax, 0u);
    EXPECT_FALSE(ReadTimeStampCounter(first));
#endif
    EXPECT_GE(ProcessorCount(), 1);
}

TEST(CpuInfoTest, ReadsTheFirstProcessorOnly) {
    const CpuInfoFields fields = ParseCpuInfo(
        "\n"
        "processor\t: 0\n"
        "vendor_id\t: GenuineIntel\n"
        "model name\t: Intel(R) Core(TM) i7-6700K CPU @ 4.00GHz  \n"
        "cpu MHz\t\t: 4000.000\n"
        "flags\t\t:\n"
        "not a field\n"
        "\n"
        "processor\t: 1\n"
        "vendor_id\t: AuthenticAMD\n");
    EXPECT_EQ(fields.at("vendor_id"), "GenuineIntel");
    EXPECT_EQ(fields.at("model name"), "Intel(R) Core(TM) i7-6700K CPU @ 4.00GHz");
    EXPECT_EQ(fields.at("cpu MHz"), "4000.000");
    EXPECT_EQ(fields.at("flags"), "");
    EXPECT_EQ(fields.size(), 5u);
    EXPECT_TRUE(ParseCpuInfo("").empty());
}

// Each step sets LC_ALL, LC_CTYPE and LANG; the variables are put back afterwards.
TEST(LocaleLanguageTest, CharacterTypeCategoryDecides) {
    const char* const names[] = {"LC_ALL", "LC_CTYPE", "LANG"};
    std::optional<std::string> saved[3];
    for (int i = 0; i < 3; ++i) {
        if (const char* value = std::getenv(names[i])) saved[i] = value;
    }
    const struct {
        const char* values[3];
        int langId;
    } steps[] = {{{"", "", "ru_RU.UTF-8"}, 1049},
                 {{"", "ja_JP.UTF-8", "ru_RU.UTF-8"}, 1041},
                 {{"zh_CN.GB18030", "ja_JP.UTF-8", "ru_RU.UTF-8"}, 2052},
                 {{"", "", ""}, 1033}};
    for (const auto& step : steps) {
        for (int i = 0; i < 3; ++i) setenv(names[i], step.values[i], 1);
        EXPECT_EQ(SystemDefaultLangID(), step.langId) << step.values[0] << step.values[1];
    }
    for (int i = 0; i < 3; ++i) {
        if (saved[i]) {
            setenv(names[i], saved[i]->c_str(), 1);
        } else {
            unsetenv(names[i]);
        }
    }
}

}  // namespace
}  // namespace rv
