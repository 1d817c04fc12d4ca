#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/components/properties.h"
#include "platform/components/variant.h"
#include "platform/framework/custom_controls.h"
#include "platform/framework/menus.h"
#include "platform/windows/tests/gui_app.h"

namespace rv {
namespace {

using Names = std::vector<std::string>;

// A component that keeps what it hears and publishes a string list of its own.
struct Listener : TComponent {
    using TComponent::TComponent;
    std::vector<TComponent*> removed;
    std::vector<std::string> lines{"a"};
    int loaded = 0;
    std::vector<std::string>* order = nullptr;
    void Notification(TComponent* c, TOperation op) override {
        if (op == TOperation::opRemove) removed.push_back(c);
    }
    void PublishProperties(TPropList& list) override {
        TComponent::PublishProperties(list);
        list.push_back(StringListProperty(
            "Items", [this] { return lines; },
            [this](const std::vector<std::string>& v) { lines = v; }));
    }
    void Loaded() override {
        TComponent::Loaded();
        if (order) order->push_back(Name());
    }
};

TEST(Component, FreeNotificationsReachAnyOwnerAndLoadedRunsOwnedFirst) {
    TComponent formA(nullptr), formB(nullptr);
    auto* watcher = new Listener(&formA);
    auto* watched = new TComponent(&formB);
    watcher->FreeNotification(watched);
    delete watched;
    EXPECT_EQ(watcher->removed, std::vector<TComponent*>{watched});

    // Either side may go first; a removed link says nothing.
    auto* other = new Listener(&formB);
    other->FreeNotification(watcher);
    delete watcher;
    ASSERT_EQ(other->removed.size(), 1u);
    auto* quiet = new TComponent(&formA);
    other->FreeNotification(quiet);
    other->RemoveFreeNotification(quiet);
    delete quiet;
    EXPECT_EQ(other->removed.size(), 1u);

    std::vector<std::string> order;
    Listener root(nullptr);
    root.SetName("root");
    root.order = &order;
    for (const char* name : {"one", "two"}) {
        auto* c = new Listener(&root);
        c->SetName(name);
        c->order = &order;
    }
    root.FinishLoading();
    EXPECT_EQ(order, (Names{"one", "two", "root"}));
}

TEST(Properties, PublishedByNameSortedAndWritable) {
    test::App();
    TForm form(nullptr);
    auto* panel = new TCustomControl(&form);
    panel->SetParent(&form);
    panel->SetBounds(0, 0, 231, 100);
    TPropList props = GetPropList(panel);
    Names names;
    for (const TPropInfo& p : props) names.push_back(p.Name);
    EXPECT_EQ(names, (Names{"Caption", "Height", "Hint", "Left", "Tag", "Top", "Width"}));
    const TPropInfo* width = FindPropInfo(props, "WIDTH");
    ASSERT_TRUE(width);
    EXPECT_EQ(width->Kind, tkInteger);
    EXPECT_EQ(width->GetInteger(), 231);
    width->SetInteger(180);
    EXPECT_EQ(panel->Width(), 180);
    FindPropInfo(props, "Caption")->SetString("Tree");
    EXPECT_EQ(panel->Caption(), "Tree");
    EXPECT_EQ(FindPropInfo(props, "Font.Color"), nullptr);

    Listener list(nullptr);
    TPropList listProps = GetPropList(&list);
    const TPropInfo* items = FindPropInfo(listProps, "items");
    ASSERT_TRUE(items);
    EXPECT_EQ(items->Kind, tkStringList);
    EXPECT_EQ(items->GetStrings(), Names{"a"});
    items->SetStrings({"x", "y"});
    EXPECT_EQ(list.lines, (Names{"x", "y"}));
}

TEST(Menus, ItemsLeaveTheirMenuAndOwnerWhicheverGoesFirst) {
    TComponent owner(nullptr);
    auto* menu = new TMainMenu(&owner);
    auto* file = new TMenuItem(&owner);
    file->SetCaption("&File");
    menu->Items()->Add(file);
    auto* open = new TMenuItem(&owner);
    auto* recent = new TMenuItem(&owner);
    file->Add(open);
    file->Add(recent);
    EXPECT_EQ(file->Parent(), menu->Items());
    EXPECT_EQ(recent->GetParentMenu(), menu);
    EXPECT_EQ(file->IndexOf(recent), 1);
    EXPECT_THROW(menu->Items()->Add(open), EComponentError);

    int clicks = 0;
    recent->OnClick = [&](TObject* sender) { clicks += sender == recent; };
    recent->Click();
    EXPECT_EQ(clicks, 1);

    delete open;  // freed by its owner's side: the menu forgets it
    EXPECT_EQ(file->Count(), 1);
    int before = owner.ComponentCount();
    file->Clear();  // freed by the menu's side: the owner forgets it
    EXPECT_EQ(owner.ComponentCount(), before - 1);
    delete menu;
    EXPECT_EQ(owner.ComponentCount(), 0);

    EXPECT_EQ(StripHotkey("&0 /music/Simon && Garfunkel.rvl"), "0 /music/Simon & Garfunkel.rvl");
    EXPECT_EQ(StripHotkey("Save &As..."), "Save As...");
}

TEST(Variant, ConvertsBetweenTheSettingsKinds) {
    EXPECT_TRUE(TVariant().IsEmpty());
    EXPECT_EQ(TVariant().AsString(), "");
    EXPECT_EQ(TVariant(false).AsString(), "False");
    EXPECT_EQ(TVariant(80).AsString(), "80");
    EXPECT_EQ(TVariant(" 80 ").AsInteger(), 80);
    EXPECT_EQ(TVariant("-7").AsInteger(), -7);
    EXPECT_TRUE(TVariant("true").AsBoolean());
    EXPECT_FALSE(TVariant("FALSE").AsBoolean());
    EXPECT_TRUE(TVariant("-1").AsBoolean());
    EXPECT_TRUE(TVariant(true).AsInteger() == 1);
    for (const char* bad : {"", "8O", "99999999999", "1-2", "yes"})
        EXPECT_THROW(TVariant(bad).AsInteger(), EVariantError) << bad;
    EXPECT_THROW(TVariant("maybe").AsBoolean(), EVariantError);
    EXPECT_EQ(TVariant("80"), TVariant(std::string("80")));
    EXPECT_NE(TVariant("80"), TVariant(80));
}

}  // namespace
}  // namespace rv
