#include <gtest/gtest.h>

#include <vector>

#include "platform/framework/control.h"

namespace rv {
namespace {

struct Tracked : TComponent {
    Tracked(TComponent* owner, std::vector<std::string>& log, std::string tag)
        : TComponent(owner), log_(log), tag_(std::move(tag)) {}
    ~Tracked() override { log_.push_back(tag_); }
    std::vector<std::string>& log_;
    std::string tag_;
};

TEST(Component, OwnedComponentsGoWithTheirOwnerLastFirst) {
    std::vector<std::string> freed;
    auto* root = new Tracked(nullptr, freed, "root");
    auto* a = new Tracked(root, freed, "a");
    new Tracked(a, freed, "a1");
    new Tracked(root, freed, "b");
    EXPECT_EQ(root->ComponentCount(), 2);
    EXPECT_EQ(a->Owner(), root);

    // A component freed early leaves its owner's list.
    auto* c = new Tracked(root, freed, "c");
    delete c;
    EXPECT_EQ(root->ComponentCount(), 2);

    delete root;
    // Each destructor runs before the components it owns go.
    EXPECT_EQ(freed, (std::vector<std::string>{"c", "root", "b", "a", "a1"}));
}

TEST(Component, NamesAreUniquePerOwnerWithoutCase) {
    TComponent owner(nullptr);
    auto* first = new TComponent(&owner);
    first->SetName("OkButton");
    auto* second = new TComponent(&owner);
    EXPECT_THROW(second->SetName("OKBUTTON"), EComponentError);
    EXPECT_EQ(second->Name(), "");
    second->SetName("CancelButton");
    EXPECT_EQ(owner.FindComponent("okbutton"), first);
    EXPECT_EQ(owner.FindComponent(""), nullptr);
    first->SetName("okButton");  // a change of case only is allowed
    EXPECT_EQ(first->Name(), "okButton");

    // Another owner has names of its own; moving in a clash is refused.
    TComponent other(nullptr);
    auto* third = new TComponent(&other);
    third->SetName("CancelButton");
    EXPECT_THROW(owner.InsertComponent(third), EComponentError);
    other.RemoveComponent(third);
    EXPECT_EQ(third->Owner(), nullptr);
    delete third;
}

TEST(Component, ReferencesToAFreedSiblingAreDropped) {
    TComponent form(nullptr);
    auto* menu = new TPopupMenu(&form);
    auto* control = new TControl(&form);
    control->SetPopupMenu(menu);
    delete menu;
    EXPECT_EQ(control->PopupMenu(), nullptr);
}

}  // namespace
}  // namespace rv
