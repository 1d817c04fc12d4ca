// Properties and options: the defaults a new tree has, what their setters change, the
// clipboard formats a tree class may offer, the legacy option names, and copying a tree's
// properties.

#include "platform/framework/tests/form_fixture.h"
#include "platform/windows/theme_services.h"
#include "tree/legacy_options.h"
#include "tree/tests/tree_fixture.h"

namespace rv::test {
namespace {

TEST(TreeOptions, NewTreeStartsWithTheDefaults) {
    App();
    TVirtualStringTree tree(nullptr);
    EXPECT_EQ(tree.Width(), 200);
    EXPECT_EQ(tree.Height(), 100);
    EXPECT_TRUE(tree.TabStop);
    EXPECT_EQ(tree.Color(), clWindow);
    EXPECT_EQ(tree.ClientWidth(), 196);  // inside the single border's two pixels
    EXPECT_EQ(tree.AnimationDuration(), 200u);
    EXPECT_TRUE(tree.TreeOptions().AnimationOptions().Empty());
    EXPECT_EQ(tree.AutoExpandDelay(), 1000u);
    EXPECT_EQ(tree.AutoScrollInterval(), 1u);
    EXPECT_EQ(tree.BorderStyle(), bsSingle);
    EXPECT_EQ(tree.ButtonFillMode(), fmTreeColor);
    EXPECT_EQ(tree.CheckImageKind(), ckLightCheck);
    EXPECT_EQ(tree.DefaultPasteMode(), amAddChildLast);
    EXPECT_EQ(tree.DragHeight(), 350);
    EXPECT_EQ(tree.DragWidth(), 200);
    EXPECT_EQ(tree.DragOperations(), (TDragOperations{doCopy, doMove}));
    EXPECT_EQ(tree.EditDelay(), 1000u);
    EXPECT_EQ(tree.HintAnimation(), hatSystemDefault);
    EXPECT_EQ(tree.IncrementalSearch(), isNone);
    EXPECT_EQ(tree.IncrementalSearchStart(), ssFocusedNode);
    EXPECT_EQ(tree.LineStyle(), lsDotted);
    EXPECT_EQ(tree.Margin(), 4);
    EXPECT_EQ(tree.TextMargin(), 4);
    EXPECT_EQ(tree.NodeDataSize(), -1);
    EXPECT_EQ(tree.SelectionBlendFactor(), 128);
    EXPECT_EQ(tree.ScrollBarOptions().ScrollBars(), ssBoth);
    EXPECT_EQ(tree.ScrollBarOptions().HorizontalIncrement(), 20);
    EXPECT_EQ(tree.Header().Background(), clBtnFace);
    EXPECT_EQ(tree.Header().Style(), hsThickButtons);
}

TEST(TreeOptions, SettersReact) {
    FormWith form;
    auto* tree = form.Add<IdTree>(Bounds(0, 0, 200, 100));
    tree->SetAnimationDuration(150);
    EXPECT_TRUE(tree->TreeOptions().AnimationOptions().Contains(toAnimatedToggle));
    tree->SetAnimationDuration(0);
    EXPECT_FALSE(tree->TreeOptions().AnimationOptions().Contains(toAnimatedToggle));

    // Switching multi-select off, or a selection constraint on, clears the selection.
    tree->MultiSelect();
    const PVirtualNode a = tree->Add(nullptr, 1), b = tree->Add(nullptr, 2);
    tree->SetSelected(a, true);
    tree->SetSelected(b, true);
    int changes = 0;
    tree->OnChange = [&](TBaseVirtualTree*, PVirtualNode) { ++changes; };
    auto selection = [&](TVTSelectionOptions s) { tree->TreeOptions().SetSelectionOptions(s); };
    selection({toMultiSelect, toFullRowSelect});
    EXPECT_EQ(tree->SelectionCount(), 2u);
    selection({toFullRowSelect});
    EXPECT_EQ(tree->SelectionCount(), 0u);
    EXPECT_EQ(changes, 1);
    EXPECT_FALSE(tree->Selected(a));
    selection({toMultiSelect});
    tree->SetSelected(a, true);
    selection({toMultiSelect, toSiblingSelectConstraint});
    EXPECT_EQ(tree->SelectionCount(), 0u);

    // Without extended focus the focused column is the main column.
    for (int i = 0; i < 3; ++i) tree->Header().Columns().Add();
    selection({toExtendedFocus});
    tree->SetFocusedColumn(2);
    EXPECT_EQ(tree->FocusedColumn(), 2);
    selection({});
    EXPECT_EQ(tree->FocusedColumn(), 0);
    tree->Header().SetMainColumn(1);
    EXPECT_EQ(tree->FocusedColumn(), 1);

    // Theme awareness draws themed while visual styles are on, the classic look without them.
    SetVisualStylesEnabled(false);
    tree->TreeOptions().SetPaintOptions(kDefaultPaintOptions - TVTPaintOptions{toThemeAware});
    tree->TreeOptions().SetPaintOptions(kDefaultPaintOptions);
    EXPECT_FALSE(tree->TreeStates().Contains(tsUseThemes));
    SetVisualStylesEnabled(true);
    tree->TreeOptions().SetPaintOptions(kDefaultPaintOptions - TVTPaintOptions{toThemeAware});
    EXPECT_FALSE(tree->TreeStates().Contains(tsUseThemes));
    tree->TreeOptions().SetPaintOptions(kDefaultPaintOptions);
    EXPECT_TRUE(tree->TreeStates().Contains(tsUseThemes));

    tree->lastSearchNode_ = a;
    tree->SetIncrementalSearch(isAll);
    EXPECT_EQ(tree->lastSearchNode_, a);
    tree->SetIncrementalSearch(isNone);
    EXPECT_EQ(tree->lastSearchNode_, nullptr);

    // The frame: no border, then the header strip of 17 pixels.
    tree->SetBorderStyle(bsNone);
    EXPECT_EQ(tree->ClientHeight(), 100);
    tree->Header().SetOptions(tree->Header().Options() + TVTHeaderOptions{hoVisible});
    EXPECT_EQ(tree->ClientHeight(), 83);
    tree->Header().SetHeight(30);
    EXPECT_EQ(tree->ClientHeight(), 70);

    tree->Colors().Set(TVTColors::GridLineColor, clRed);
    IdTree other;
    other.Colors().Assign(tree->Colors());
    EXPECT_EQ(other.Colors().Get(TVTColors::GridLineColor), clRed);
    EXPECT_TRUE(other.Colors() == tree->Colors());
}

TEST(TreeOptions, ClipboardFormatsFollowTheTreeClass) {
    App();
    TBaseVirtualTree base(nullptr);
    TVirtualStringTree text(nullptr);
    EXPECT_EQ(base.ClipboardFormats().Add("CSV"), -1);  // the text tree's format
    EXPECT_EQ(base.ClipboardFormats().Add("Virtual Tree Data"), 0);
    EXPECT_EQ(text.ClipboardFormats().Add("CSV"), 0);
    EXPECT_EQ(text.ClipboardFormats().Add("Virtual Tree Data"), 1);
    EXPECT_EQ(text.ClipboardFormats().Add("html format"), 1);  // sorted, case ignored
    EXPECT_EQ(text.ClipboardFormats().Add("csv"), -1);         // listed already
    EXPECT_EQ(text.ClipboardFormats().Add("Windows bitmap"), -1);
    EXPECT_EQ(text.ClipboardFormats().Items(),
              (std::vector<std::string>{"CSV", "html format", "Virtual Tree Data"}));
    base.SetClipboardFormats(text.ClipboardFormats());
    EXPECT_EQ(base.ClipboardFormats().Items(), std::vector<std::string>{"Virtual Tree Data"});
}

TEST(TreeOptions, LegacyOptionNamesMapToTheirSets) {
    const TVTOptionSets plain = MapLegacyOptions({"voMultiSelect", "voShowRoot"});
    EXPECT_EQ(plain, (TVTOptionSets{{toShowRoot}, {}, {}, {toMultiSelect}, {}, {}}));
    std::vector<std::string> unknown;
    const TVTOptionSets mixed =
        MapLegacyOptions({"voAnimatedToggle", "voAutoSort", "voCheckSupport", "soShowStaticText",
                          "voBogus", "toMultiSelect", "so", ""},
                         &unknown);
    EXPECT_EQ(mixed,
              (TVTOptionSets{
                  {}, {toAnimatedToggle}, {toAutoSort}, {}, {toCheckSupport}, {toShowStaticText}}));
    EXPECT_EQ(unknown, (std::vector<std::string>{"voBogus", "toMultiSelect", "so", ""}));

    // Reading the old value replaces the five sets, defaults included; the string set is not
    // the old value's to replace: captions are still saved and leaving an editor accepts.
    IdTree tree;
    ReadLegacyOptions(tree.TreeOptions(), {"voMultiSelect", "soShowStaticText"});
    EXPECT_TRUE(tree.TreeOptions().PaintOptions().Empty());
    EXPECT_EQ(tree.TreeOptions().MiscOptions(), TVTMiscOptions{});
    EXPECT_EQ(tree.TreeOptions().SelectionOptions(), TVTSelectionOptions{toMultiSelect});
    EXPECT_EQ(tree.TreeOptions().StringOptions(), kDefaultStringOptions);
}

TEST(TreeOptions, AssignFromCopiesThroughTheSetters) {
    IdTree source, target;
    source.SetIndent(25);
    source.SetMargin(6);
    source.SetLineStyle(lsSolid);
    source.SetAnimationDuration(0);
    source.MultiSelect();
    source.Header().Columns().Add().SetText("Name");
    source.ScrollBarOptions().SetScrollBars(ssVertical);
    source.Colors().Set(TVTColors::TreeLineColor, clGreen);
    target.AssignFrom(source);
    EXPECT_EQ(target.Indent(), 25u);
    EXPECT_EQ(target.Margin(), 6);
    EXPECT_EQ(target.LineStyle(), lsSolid);
    EXPECT_EQ(target.TreeOptions().SelectionOptions(), source.TreeOptions().SelectionOptions());
    EXPECT_TRUE(target.Header().Columns().Equals(source.Header().Columns()));
    EXPECT_EQ(target.ScrollBarOptions().ScrollBars(), ssVertical);
    EXPECT_EQ(target.Colors().Get(TVTColors::TreeLineColor), clGreen);

    IdTree locked;
    locked.SetMisc(toReadOnly, true);
    locked.AssignFrom(source);
    EXPECT_EQ(locked.Indent(), 18u);
}

}  // namespace
}  // namespace rv::test
