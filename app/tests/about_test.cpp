#include <gtest/gtest.h>
#include <cstdint>

#include "app/about_box.h"
#include "platform/framework/modal_script.h"
#include "platform/windows/scripted_dialogs.h"
#include "platform/windows/tests/gui_app.h"

namespace rv {
namespace {

TAboutFacts Facts() {
    TAboutFacts facts;
    facts.Version.ProductName = "Lorvix Reelvault";
    facts.Version.CompanyName = "Lorvix";
    facts.Version.FileDescription = "Music catalogue";
    facts.Version.LegalCopyright = "Copyright 2026 Lorvix";
    facts.Version.Major = 1;
    facts.Version.Minor = 2;
    facts.Version.Build = 345;
    facts.CpuName = "  AMD Ryzen 7 5800X  ";
    facts.CpuVendor = "AMD";
    facts.CpuFriendlyName = "K8";
    facts.CpuMHz = 3800;
    facts.OSLongName = "Debian GNU/Linux 12 (bookworm)";
    facts.TotalMemory = std::int64_t(16) * 1024 * 1024 * 1024 + 5 * 1024;
    return facts;
}

TEST(AboutTexts, TellTheProgramTheProcessorTheSystemAndTheMemory) {
    TAboutFacts facts = Facts();
    TAboutTexts t = AboutTexts(0, "", facts);
    EXPECT_EQ(t.Product, "Lorvix Reelvault");
    EXPECT_EQ(t.Desc, "Lorvix Music catalogue");
    EXPECT_EQ(t.Copy, "Copyright 2026 Lorvix");
    EXPECT_EQ(t.CPU, "CPU: AMD Ryzen 7 5800X - 3800 Mhz");
    EXPECT_EQ(t.OS, "OS: Debian GNU/Linux 12 (bookworm)");
    EXPECT_EQ(t.Ver, "Version 1.2 [Build: 345]");
    EXPECT_EQ(t.Mem, "Memory: 16,777,221 KB");
    EXPECT_FALSE(t.Comment.empty());

    // No brand text: the maker's short name and the model's name; comments follow the version;
    // a given text is the comment.
    facts.CpuName = "   ";
    facts.Version.Comments = "test build";
    t = AboutTexts(0, "Thanks for testing", facts);
    EXPECT_EQ(t.CPU, "CPU: AMD K8 - 3800 Mhz");
    EXPECT_EQ(t.Ver, "Version 1.2 [Build: 345] - test build");
    EXPECT_EQ(t.Comment, "Thanks for testing");

    // The product named as its description in other letters: no description line.
    facts.Version.FileDescription = "LORVIX reelvault";
    EXPECT_EQ(AboutTexts(0, "", facts).Desc, "");
    EXPECT_EQ(GroupThousands(999), "999");
    EXPECT_EQ(GroupThousands(1000), "1,000");
    EXPECT_EQ(GroupThousands(-1234567), "-1,234,567");
    EXPECT_EQ(GroupThousands(INT64_MIN), "-9,223,372,036,854,775,808");
}

TEST(AboutBox, ShowsItsTextsAndOpensTheMakersLinks) {
    test::App();
    TScriptedDialogs dialogs;
    TdlgAbout box;
    TAboutFacts facts = Facts();
    facts.Version.FileDescription = facts.Version.ProductName;
    box.ShowTexts(AboutTexts(0, "", facts));
    EXPECT_EQ(box.lDesc->Caption(), "Application Description");
    EXPECT_EQ(box.lproduct->Caption(), "Lorvix Reelvault");
    EXPECT_EQ(box.BorderStyle(), bsNone);
    EXPECT_EQ(box.ClientWidth(), 397);
    EXPECT_EQ(box.ClientHeight(), 281);

    box.lCopy->Perform(CM_MOUSEENTER);
    EXPECT_TRUE(box.lCopy->Font().Style & fsUnderline);
    box.lCopy->Perform(CM_MOUSELEAVE);
    EXPECT_FALSE(box.lCopy->Font().Style & fsUnderline);
    box.lCopy->Click();
    box.Image1->Click();
    std::vector<TDialogCall> opened = dialogs.CallsOf(TDialogKind::Document);
    ASSERT_EQ(opened.size(), 2u);
    EXPECT_EQ(opened[0].Text, std::string("mailto:") + kMakerMail);
    EXPECT_EQ(opened[1].Text, kMakerWebPage);
}

TEST(AboutBox, TheCommandShowsTheRunningProgramsFacts) {
    test::App();
    TModalScript script;
    std::string product, os, memory, cpu;
    script.Then([&](TCustomForm& form) {
        auto& box = dynamic_cast<TdlgAbout&>(form);
        product = box.lproduct->Caption();
        os = box.lOS->Caption();
        memory = box.lMem->Caption();
        cpu = box.lCPU->Caption();
        box.bOK->Click();
    });
    ShowAboutDlg(0, "");
    EXPECT_EQ(product, "Lorvix Reelvault");
    EXPECT_EQ(os.rfind("OS: ", 0), 0u);
    EXPECT_GT(os.size(), 4u);
    EXPECT_EQ(memory.rfind("Memory: ", 0), 0u);
    EXPECT_NE(memory.find(','), std::string::npos);
    EXPECT_NE(cpu.find(" Mhz"), std::string::npos);
    EXPECT_EQ(script.Shown, (std::vector<std::string>{"About Lorvix Reelvault"}));
}

}  // namespace
}  // namespace rv
