#include "widgets/mru_list.h"

#include <gtest/gtest.h>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/registry/registry.h"
#include "platform/registry/tests/settings_sandbox.h"

namespace rv {
namespace {

using Names = std::vector<std::string>;
using MRUList = test::SettingsSandbox;
const std::string kKey = "SOFTWARE\\Lorvix\\Reelvault\\1.x\\Recent Files";

// A window's File menu with the list at its end, as the main window has it.
struct FileMenu {
    FileMenu() {
        bar->Items()->Add(file);
        for (const char* caption : {"&Open...", "E&xit"}) {
            auto* item = new TMenuItem(&owner);
            item->SetCaption(caption);
            file->Add(item);
        }
        list->SetApplication("Reelvault");
        list->SetManufacturer("Lorvix");
        list->SetVersion("1.x");
        list->SetCapacity(10);
        list->SetMainMenuItem(file);
    }
    Names Captions() const {
        Names captions;
        for (int i = 0; i < file->Count(); ++i) captions.push_back(file->Items(i)->Caption());
        return captions;
    }
    TComponent owner{nullptr};
    TMainMenu* bar = new TMainMenu(&owner);
    TMenuItem* file = new TMenuItem(&owner);
    Lorvix_MRUList* list = new Lorvix_MRUList(&owner);
};

Names Stored() {
    TRegistry reg(KEY_READ);
    Names values;
    if (reg.OpenKeyReadOnly(kKey))
        for (const std::string& name : reg.GetValueNames())
            values.push_back(name + "=" + reg.ReadString(name));
    return values;
}

void Store(const Names& namesAndValues) {
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(kKey, true));
    for (size_t i = 0; i + 1 < namesAndValues.size(); i += 2)
        reg.WriteString(namesAndValues[i], namesAndValues[i + 1]);
}

TEST_F(MRUList, TheListRestartsWithItsEntriesAndMenuCaptions) {
    const std::string cwd = std::filesystem::current_path().string();
    const std::string relative = cwd + "/rock/Simon & Garfunkel.rvl";
    Names captions;
    {
        FileMenu m;
        EXPECT_EQ(m.Captions(), (Names{"&Open...", "E&xit"}));  // no entries: no separator
        m.list->AddFile("/music/Jazz.rvl");
        m.list->AddFile("rock/../rock/Simon & Garfunkel.rvl");
        m.list->AddFile("/music/jazz.rvl");  // another file on Linux
        m.list->AddFile("/music/Jazz.rvl");  // moved to the top
        captions = m.Captions();
        EXPECT_EQ(captions,
                  (Names{"&Open...", "E&xit", "-", "&0 /music/Jazz.rvl", "&1 /music/jazz.rvl",
                         "&2 " + cwd + "/rock/Simon && Garfunkel.rvl"}));
        EXPECT_EQ(StripHotkey(m.file->Items(5)->Caption()), "2 " + relative);
        EXPECT_EQ(m.file->Items(2)->Tag, -1);
        EXPECT_EQ(m.file->Items(5)->Tag, 2);
        m.list->Save();
    }  // saved again when freed
    EXPECT_EQ(Stored(),
              (Names{"File 0=/music/Jazz.rvl", "File 1=/music/jazz.rvl", "File 2=" + relative}));

    FileMenu again;
    EXPECT_EQ(again.list->GetFiles(), (Names{"/music/Jazz.rvl", "/music/jazz.rvl", relative}));
    EXPECT_EQ(again.Captions(), captions);

    // The program opens the chosen file and puts it at the top: the menu is rebuilt under the
    // click, and the entries are replaced, not repeated.
    int clicks = 0;
    again.list->OnMenuItemClick = [&](TObject* sender) {
        ++clicks;
        auto* item = static_cast<TMenuItem*>(sender);
        again.list->AddFile(again.list->GetFiles().at(size_t(item->Tag)));
    };
    again.file->Items(5)->Click();
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(again.list->GetFiles().front(), relative);
    EXPECT_EQ(again.file->Count(), 6);
}

TEST_F(MRUList, LoadingStopsAtAGapTakesEachNameOnceAndTrimsToTheCapacity) {
    Store({"File 0", "/a", "File 1", "/b", "File 2", "/a", "File 3", "/c", "File 4", "/d", "File 6",
           "/after-the-gap", "Other", "kept"});
    {
        FileMenu m;
        EXPECT_EQ(m.list->GetFiles(), (Names{"/a", "/b", "/c", "/d"}));
    }
    // Saving a shorter list removes the entries beyond it, and nothing else.
    {
        Lorvix_MRUList list(nullptr);
        list.SetManufacturer("Lorvix");
        list.SetApplication("Reelvault");
        list.SetVersion("1.x");
        list.SetCapacity(2);
        EXPECT_EQ(list.GetFiles(), (Names{"/a", "/b"}));
    }
    EXPECT_EQ(Stored(), (Names{"File 0=/a", "File 1=/b", "Other=kept"}));

    // A capacity below one keeps one file.
    FileMenu m;
    m.list->SetCapacity(0);
    EXPECT_EQ(m.list->Capacity(), 1);
    m.list->AddFile("/e");
    EXPECT_EQ(m.list->GetFiles(), Names{"/e"});
    EXPECT_EQ(m.Captions().back(), "&0 /e");
}

TEST_F(MRUList, AFullListDropsItsOldestAndIndexesCountInHexadecimal) {
    FileMenu m;
    for (int i = 0; i < 10; ++i) m.list->AddFile("/f" + std::to_string(i));
    m.list->AddFile("/new");
    EXPECT_EQ(m.list->GetFiles().size(), 10u);
    EXPECT_EQ(m.list->GetFiles().front(), "/new");
    EXPECT_EQ(m.list->GetFiles().back(), "/f1");
    m.list->SetCapacity(20);
    for (int i = 0; i < 7; ++i) m.list->AddFile("/g" + std::to_string(i));
    ASSERT_EQ(m.file->Count(), 2 + 1 + 17);
    EXPECT_EQ(m.file->Items(3 + 10)->Caption(), "&A /f7");
    EXPECT_EQ(m.file->Items(3 + 16)->Caption(), "&10 /f1");
}

TEST_F(MRUList, SubmenusPopupsAndKeys) {
    Store({"File 0", "/x"});
    FileMenu m;
    // A submenu holds the entries alone and is disabled without any.
    auto* recent = new TMenuItem(&m.owner);
    m.file->Add(recent);
    m.list->SetMainMenuItem(recent);
    EXPECT_EQ(recent->Count(), 1);
    EXPECT_TRUE(recent->Enabled());

    auto* popup = new TPopupMenu(&m.owner);
    m.list->SetPopupMenu(popup);
    ASSERT_EQ(popup->Items()->Count(), 1);
    EXPECT_EQ(popup->Items()->Items(0)->Caption(), "&0 /x");
    TObject* clicked = nullptr;
    m.list->OnPopupMenuClick = [&](TObject* sender) { clicked = sender; };
    popup->Items()->Items(0)->Click();
    EXPECT_EQ(clicked, popup->Items()->Items(0));

    // Another key: the list is saved under the old one and read from the new one.
    m.list->AddFile("/y");
    m.list->SetVersion("2.x");
    EXPECT_EQ(Stored(), (Names{"File 0=/y", "File 1=/x"}));
    EXPECT_TRUE(m.list->GetFiles().empty());
    m.list->RebuildMainMenu();
    EXPECT_FALSE(recent->Enabled());
    EXPECT_EQ(recent->Count(), 0);

    // An empty list saved removes its key; without a manufacturer nothing is written.
    m.list->SetVersion("1.x");
    m.list->SetCapacity(1);
    m.list->SetManufacturer("");
    m.list->AddFile("/z");
    m.list->Save();
    EXPECT_EQ(Stored(), (Names{"File 0=/y", "File 1=/x"}));
    delete popup;
    EXPECT_EQ(m.list->PopupMenu(), nullptr);
    TRegistry reg;
    ASSERT_TRUE(reg.DeleteKey(kKey));
    Store({"Other", "x"});
    FileMenu empty;
    EXPECT_TRUE(empty.list->GetFiles().empty());
    empty.list->Save();
    EXPECT_FALSE(reg.OpenKeyReadOnly(kKey));
}

}  // namespace
}  // namespace rv
