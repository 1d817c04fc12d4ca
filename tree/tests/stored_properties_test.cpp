// The tree's properties as a form keeps them: "Options", every option set in one set of names.

#include "platform/framework/properties.h"
#include "tree/legacy_options.h"
#include "tree/tests/tree_fixture.h"

namespace rv::test {
namespace {

TEST(TreeStoredProperties, OptionsRoundTripAsOneSetOfNames) {
    IdTree tree;
    const TPropList list = GetPropList(&tree);
    const TPropInfo* options = FindPropInfo(list, "options");
    ASSERT_NE(options, nullptr);
    ASSERT_EQ(options->Kind, tkString);
    TStringTreeOptions& o = tree.TreeOptions();
    o.SetPaintOptions({toShowRoot, toHotTrack});
    o.SetAnimationOptions({});
    o.SetAutoOptions({toAutoSort});
    o.SetSelectionOptions({});
    o.SetMiscOptions({toCheckSupport, toFullRowDrag});
    o.SetStringOptions({toShowStaticText});
    EXPECT_EQ(options->GetString(),
              "[voHotTrack,voShowRoot,voAutoSort,voCheckSupport,voFullRowDrag,soShowStaticText]");

    // Read back into another tree, every set is replaced; words may be parted by spaces too.
    IdTree other;
    const TPropList otherList = GetPropList(&other);
    FindPropInfo(otherList, "Options")->SetString(options->GetString());
    EXPECT_EQ(LegacyOptionNames(other.TreeOptions()), LegacyOptionNames(o));
    FindPropInfo(otherList, "Options")->SetString("[ voMultiSelect , voShowRoot ]");
    EXPECT_EQ(other.TreeOptions().SelectionOptions(), TVTSelectionOptions{toMultiSelect});
    EXPECT_EQ(other.TreeOptions().PaintOptions(), TVTPaintOptions{toShowRoot});
    EXPECT_TRUE(other.TreeOptions().MiscOptions().Empty());
    EXPECT_TRUE(other.TreeOptions().StringOptions().Empty());
    FindPropInfo(otherList, "Options")->SetString("[]");
    EXPECT_EQ(FindPropInfo(otherList, "Options")->GetString(), "[]");
    // The defaults survive the trip whole.
    IdTree fresh, copy;
    FindPropInfo(GetPropList(&copy), "Options")
        ->SetString(FindPropInfo(GetPropList(&fresh), "Options")->GetString());
    EXPECT_EQ(LegacyOptionNames(copy.TreeOptions()), LegacyOptionNames(fresh.TreeOptions()));
}

}  // namespace
}  // namespace rv::test
