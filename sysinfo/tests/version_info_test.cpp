#include <gtest/gtest.h>

#include "sysinfo/version_info.h"

namespace rv {
namespace {

TEST(VersionInfoTest, ReadsTheFirstTranslationsStringTable) {
    VersionResource resource;
    resource.Fixed = FixedFileInfo{0x00020005, 0x0003000A};
    // US English, code page 1252; then German, which is not read.
    resource.Translations = {0x04E40409, 0x04E40407};
    const std::string table = "\\StringFileInfo\\040904E4\\";
    resource.Strings[table + "ProductName"] = "Reelvault";
    resource.Strings[table + "CompanyName"] = "Lorvix";
    resource.Strings[table + "FileDescription"] = "Catalogue";
    resource.Strings[table + "LegalCopyright"] = "© Lorvix";
    resource.Strings["\\StringFileInfo\\040704E4\\Comments"] = "Deutsch";

    TVersionInfo info;
    FillVersionInfo(resource, info);
    EXPECT_EQ(info.Version, "2.5.3.10");
    EXPECT_EQ(info.Major, 2);
    EXPECT_EQ(info.Minor, 5);
    EXPECT_EQ(info.Release, 3);
    EXPECT_EQ(info.Build, 10);
    EXPECT_EQ(info.ProductName, "Reelvault");
    EXPECT_EQ(info.CompanyName, "Lorvix");
    EXPECT_EQ(info.FileDescription, "Catalogue");
    EXPECT_EQ(info.LegalCopyright, "© Lorvix");
    EXPECT_EQ(info.Comments, "");

    // Without the root block nothing is read.
    resource.Fixed.reset();
    TVersionInfo empty;
    FillVersionInfo(resource, empty);
    EXPECT_EQ(empty.Version, "");
    EXPECT_EQ(empty.ProductName, "");
}

TEST(VersionInfoTest, OnlyTheProgramItselfHasVersionData) {
    TVersionInfo info;
    ASSERT_TRUE(GetFileVerInfo(ProgramFileName(), info));
    EXPECT_EQ(info.FileName, ProgramFileName());
    EXPECT_EQ(info.ProductName, "Lorvix Reelvault");
    EXPECT_FALSE(info.LegalCopyright.empty());
    // The build writes the project's version.
    EXPECT_EQ(info.Version.rfind(RV_PROJECT_VERSION ".", 0), 0u) << info.Version;

    EXPECT_FALSE(GetFileVerInfo("/bin/sh", info));
    EXPECT_EQ(info.FileName, "/bin/sh");
    EXPECT_EQ(info.Version, "");
    EXPECT_EQ(info.ProductName, "");
    EXPECT_FALSE(GetFileVerInfo("/no/such/file", info));
}

}  // namespace
}  // namespace rv
