// What each option of the tree and its header changes, as a table: every row sets a tree up the
// same way twice, once without and once with the option, does one thing and says what it saw
// (painted pixels or the tree's state); the table holds what must be seen each way. Then the
// edge cases of hidden children and the repaint and re-initialising calls.

#include <algorithm>
#include <functional>
#include <sstream>

#include "platform/graphics/image_list.h"
#include "tree/tests/effect_fixture.h"

namespace rv::test {
namespace {

// Where a colour lies along a pixel row: "left..right" (inclusive), "none" when nowhere.
std::string SpanOf(const TBitmap& b, int y, TColor color) {
    int left = -1, right = -1;
    for (int x = 0; x < b.Width(); ++x)
        if (b.Pixel(x, y) == color) {
            if (left < 0) left = x;
            right = x;
        }
    return left < 0 ? "none" : std::to_string(left) + ".." + std::to_string(right);
}

// The expand button of a top-level row: pixels in its level's box that are neither the white
// of the tree nor the grey of the dotted lines.
bool HasButton(const TBitmap& b, int row) {
    int ink = 0;
    for (int y = row * 18; y < row * 18 + 18; ++y)
        for (int x = 0; x < 18; ++x)
            ink += b.Pixel(x, y) != clWhite && b.Pixel(x, y) != kButtonShadow;
    return ink > 0;
}

// The columns where two pictures differ: "left..right" (inclusive), "none" when nowhere.
std::string DifferenceSpan(const TBitmap& a, const TBitmap& b) {
    int left = -1, right = -1;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            if (a.Pixel(x, y) != b.Pixel(x, y)) {
                left = left < 0 ? x : std::min(left, x);
                right = std::max(right, x);
            }
    return left < 0 ? "none" : std::to_string(left) + ".." + std::to_string(right);
}

bool Differ(const TBitmap& a, const TBitmap& b) {
    return DifferenceSpan(a, b) != "none";
}

// A selection colour: the solid highlight, or the highlight half blended into the white row.
std::string SelectionLook(TColor c) {
    if (c == kHighlight) return "solid highlight";
    if (c == kButtonFace) return "button face";
    const bool between = GetRValue(c) > GetRValue(kHighlight) && GetRValue(c) < 0xFF &&
                         GetBValue(c) > GetBValue(kHighlight) && GetBValue(c) < 0xFF;
    return between ? "blended highlight" : "other";
}

struct OptionEffect {
    const char* option;
    std::function<void(EffectFixture&)> setUp;
    std::function<void(EffectFixture&)> switchOn;
    std::function<std::string(EffectFixture&)> observe;
    std::string off, on;
};

// The label's row 1 pixel row inside the selection, below its frame and above the text.
constexpr int kRow1Inside = 19;

const OptionEffect kEffects[] = {
    {"toHideFocusRect", [](EffectFixture& f) { f.tree->SetFocusedNode(f.nodes[1]); },
     [](EffectFixture& f) { f.Paint(toHideFocusRect); },
     [](EffectFixture& f) {
         return Differ(f.Paint(), f.Paint(kWindowPaintOptions & ~poDrawFocusRect))
                    ? "focus frame"
                    : "no focus frame";
     },
     "focus frame", "no focus frame"},
    {"toPopupMode",
     [](EffectFixture& f) {
         f.Select(1);
         f.other->SetFocus();
     },
     [](EffectFixture& f) { f.Paint(toPopupMode); },
     [](EffectFixture& f) {
         const bool frame = Differ(f.Paint(), f.Paint(kWindowPaintOptions & ~poDrawFocusRect));
         return SelectionLook(f.Paint().Pixel(kLabelX, kRow1Inside + 1)) +
                (frame ? ", focus frame" : ", no focus frame");
     },
     "button face, no focus frame", "solid highlight, focus frame"},
    {"toUseBlendedSelection", [](EffectFixture& f) { f.Select(1); },
     [](EffectFixture& f) { f.Paint(toUseBlendedSelection); },
     [](EffectFixture& f) { return SelectionLook(f.Paint().Pixel(kLabelX, kRow1Inside + 1)); },
     "solid highlight", "blended highlight"},
    {"toAutoHideButtons",
     [](EffectFixture& f) {
         PVirtualNode child = f.tree->Add(f.nodes[0], 10);
         f.tree->SetIsVisible(child, false);
     },
     [](EffectFixture& f) { f.tree->SetAuto(toAutoHideButtons, true); },
     [](EffectFixture& f) { return HasButton(f.Paint(), 0) ? "button" : "no button"; }, "button",
     "no button"},
    {"toGridExtensions",
     [](EffectFixture& f) {
         f.Columns();
         f.Select(1, 0);  // the focus rectangle goes elsewhere
     },
     [](EffectFixture& f) { f.Misc(toGridExtensions); },
     [](EffectFixture& f) { return SpanOf(f.Paint(), kRow1Inside + 1, kHighlight); }, "22..61",
     "0..119"},
    {"toGridExtensions (focus)",
     [](EffectFixture& f) {
         f.Columns();
         f.tree->SetFocusedNode(f.nodes[1]);
     },
     [](EffectFixture& f) { f.Misc(toGridExtensions); },
     [](EffectFixture& f) {
         return "focus frame over " +
                DifferenceSpan(f.Paint(), f.Paint(kWindowPaintOptions & ~poDrawFocusRect));
     },
     "focus frame over 22..61", "focus frame over 0..119"},
    {"toGridExtensions (editing)",
     [](EffectFixture& f) {
         f.Columns();
         f.Misc(toEditable);
         f.Select(1);
     },
     [](EffectFixture& f) { f.Misc(toGridExtensions); },
     [](EffectFixture& f) {
         f.Click(100, f.RowY(1));  // on the row, right of the text
         return f.Has(tsEditPending) ? "edit armed" : "edit not armed";
     },
     "edit not armed", "edit armed"},
    {"toCenterScrollIntoView",
     [](EffectFixture& f) {
         for (int i = 3; i < 30; ++i) f.nodes.push_back(f.tree->Add(nullptr, i));
         f.tree->SetFocusedNode(f.nodes[4]);
     },
     [](EffectFixture& f) { f.Options({toCenterScrollIntoView}); },
     [](EffectFixture& f) {
         f.Key(VK_DOWN);
         const TRect r = f.tree->GetDisplayRect(f.nodes[5], NoColumn, false);
         return "row 5 from " + std::to_string(r.Top) + " to " + std::to_string(r.Bottom);
     },
     "row 5 from 78 to 96", "row 5 from 30 to 48"},
    {"toDisableAutoscrollOnFocus",
     [](EffectFixture& f) {
         f.Columns(150, 3);
         f.Options({toExtendedFocus});
         f.tree->SetFocusedNode(f.nodes[0]);
         f.tree->SetFocusedColumn(0);
     },
     [](EffectFixture& f) { f.tree->SetAuto(toDisableAutoscrollOnFocus, true); },
     [](EffectFixture& f) {
         f.tree->SetFocusedColumn(2);
         return f.tree->OffsetX() < 0 ? "scrolled to the column" : "not scrolled";
     },
     "scrolled to the column", "not scrolled"},
    {"toMiddleClickSelect", [](EffectFixture&) {},
     [](EffectFixture& f) { f.Options({toMiddleClickSelect}); },
     [](EffectFixture& f) {
         f.tree->Perform(WM_MBUTTONDOWN, MK_MBUTTON, MAKELPARAM(kLabelX, f.RowY(1)));
         f.tree->Perform(WM_MBUTTONUP, 0, MAKELPARAM(kLabelX, f.RowY(1)));
         return "selected " + f.Selected();
     },
     "selected ", "selected 1 "},
    {"toFullRowDrag",
     [](EffectFixture& f) {
         f.Options({toFullRowSelect, toMultiSelect});
         f.tree->SetDragMode(dmAutomatic);
     },
     [](EffectFixture& f) { f.Misc(toFullRowDrag); },
     [](EffectFixture& f) {
         f.Press(150, f.RowY(1));  // on the row, right of its text
         const std::string seen = f.Has(tsOLEDragPending)   ? "drag pending"
                                  : f.Has(tsDrawSelPending) ? "band pending"
                                                            : "nothing pending";
         f.Release(150, f.RowY(1));
         return seen;
     },
     "band pending", "drag pending"},
    {"toDisableDrawSelection", [](EffectFixture& f) { f.Options({toMultiSelect}); },
     [](EffectFixture& f) { f.Options({toDisableDrawSelection}); },
     [](EffectFixture& f) {
         f.Press(kLabelX, 80);  // below the last row
         f.Move(150, 20);
         const std::string seen = f.Has(tsDrawSelecting) ? "band" : "no band";
         f.Release(150, 20);
         return seen;
     },
     "band", "no band"},
    {"toSimpleDrawSelection", [](EffectFixture& f) { f.Options({toMultiSelect}); },
     [](EffectFixture& f) { f.Options({toSimpleDrawSelection}); },
     [](EffectFixture& f) {
         // A band right of the texts, over the first two rows.
         f.Press(150, 80);
         f.Move(160, 5);
         f.Release(160, 5);
         return "selected " + f.Selected();
     },
     "selected ", "selected 0 1 2 "},
    {"hoOwnerDraw",
     [](EffectFixture& f) {
         f.Columns();
         f.tree->Header().Columns()[0].SetStyle(vsOwnerDraw);
         f.tree->OnHeaderDraw = [](TVTHeader*, TCanvas& canvas, TVirtualTreeColumn&, const TRect& r,
                                   bool, bool, TVTDropMarkMode) { FillSolid(canvas, r, clRed); };
     },
     [](EffectFixture& f) { f.Header(hoOwnerDraw); },
     [](EffectFixture& f) {
         const TRect strip = f.tree->HeaderRect();
         return f.Window().Pixel(strip.Left + 60, strip.Top + 8) == clRed ? "drawn by the event"
                                                                          : "drawn by the header";
     },
     "drawn by the header", "drawn by the event"},
    {"hoRestrictDrag", [](EffectFixture& f) { f.Columns(60, 3); },
     [](EffectFixture& f) { f.Header(hoRestrictDrag); },
     [](EffectFixture& f) {
         const TRect window = GetWindowRect(f.tree->Handle());
         const TRect strip = f.tree->HeaderRect();
         const int top = -f.tree->Header().Height();
         f.tree->Perform(WM_NCLBUTTONDOWN, HTBORDER,
                         MAKELPARAM(window.Left + strip.Left + 30, window.Top + strip.Top + 8));
         f.tree->Perform(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(60, top + 8));
         const TRect before = f.tree->Header().DragImage().GetDragImageRect();
         f.tree->Perform(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(90, top + 48));
         const TRect after = f.tree->Header().DragImage().GetDragImageRect();
         f.tree->Perform(WM_LBUTTONUP, 0, MAKELPARAM(90, top + 48));
         return "moved " + std::to_string(after.Left - before.Left) + " across, " +
                std::to_string(after.Top - before.Top) + " down";
     },
     "moved 30 across, 40 down", "moved 30 across, 0 down"},
    {"hoShowImages",
     [](EffectFixture& f) {
         f.Columns();
         static TImageList images;
         if (images.Count() == 0) images.Add(Filled(16, 16, clBlue));
         f.tree->Header().SetImages(&images);
         f.tree->Header().Columns()[0].SetImageIndex(0);
     },
     [](EffectFixture& f) { f.Header(hoShowImages); },
     [](EffectFixture& f) {
         const TRect strip = f.tree->HeaderRect();
         return CountColor(f.Window(), strip, clBlue) > 0 ? "image" : "no image";
     },
     "no image", "image"},
};

TEST(TreeOptionEffects, EachOptionChangesWhatItsRowSays) {
    for (const OptionEffect& effect : kEffects) {
        SCOPED_TRACE(effect.option);
        for (bool on : {false, true}) {
            EffectFixture f;
            effect.setUp(f);
            if (on) effect.switchOn(f);
            App().ProcessMessages();
            EXPECT_EQ(effect.observe(f), on ? effect.on : effect.off) << (on ? "on" : "off");
        }
    }
}

// A node whose children are all hidden shows no button with toAutoHideButtons, however they
// came to be hidden; a child shown again brings it back.
TEST(TreeOptionEffects, AutoHiddenButtonsFollowTheChildren) {
    EffectFixture f;
    f.tree->SetAuto(toAutoHideButtons, true);
    const auto button = [&] { return HasButton(f.Paint(), 0); };
    PVirtualNode a = f.tree->Add(f.nodes[0], 10);
    PVirtualNode b = f.tree->Add(f.nodes[0], 11);
    EXPECT_TRUE(button());
    f.tree->SetIsVisible(a, false);
    EXPECT_TRUE(button()) << "one child is still shown";
    f.tree->BeginUpdate();
    f.tree->SetIsVisible(b, false);
    f.tree->EndUpdate();
    EXPECT_FALSE(button());
    f.tree->SetIsVisible(a, true);
    EXPECT_TRUE(button());
    // Children not made yet are not hidden ones.
    f.tree->SetIsVisible(a, false);
    f.tree->DeleteChildren(f.nodes[0]);
    f.tree->SetChildCount(f.nodes[0], 0);
    f.nodes[0]->Include(nsHasChildren);
    EXPECT_TRUE(button());
}

// RepaintNode paints the node's row at once and nothing else; InvalidateToBottom leaves the rows
// from the node down to the next paint (every row for nil).
TEST(TreeOptionEffects, RepaintNodeAndInvalidateToBottomPaintTheirRows) {
    EffectFixture f;
    for (int i = 3; i < 5; ++i) f.nodes.push_back(f.tree->Add(nullptr, i));
    App().ProcessMessages();
    std::vector<int> painted;
    f.tree->OnBeforeItemPaint = [&](TBaseVirtualTree*, TCanvas&, PVirtualNode n, const TRect&,
                                    bool&) { painted.push_back(f.tree->Id(n)); };
    f.tree->RepaintNode(f.nodes[2]);
    EXPECT_EQ(painted, (std::vector<int>{2}));

    painted.clear();
    f.tree->InvalidateToBottom(f.nodes[3]);
    EXPECT_TRUE(painted.empty()) << "not before the next paint";
    UpdateWindow(f.tree->Handle());
    EXPECT_EQ(painted, (std::vector<int>{3, 4}));

    painted.clear();
    f.tree->InvalidateToBottom(nullptr);
    UpdateWindow(f.tree->Handle());
    EXPECT_EQ(painted, (std::vector<int>{0, 1, 2, 3, 4}));
}

// ReinitChildren makes the children anew and initialises each again; Recursive goes all the way
// down; nil stands for the top level.
TEST(TreeOptionEffects, ReinitChildrenAsksForChildrenAndNodesAgain) {
    EffectFixture f;
    PVirtualNode child = f.tree->Add(f.nodes[1], 10);
    f.tree->Add(child, 20);
    f.tree->InitRecursive(nullptr);
    std::vector<int> inits, childInits;
    f.tree->OnInitNode = [&](TBaseVirtualTree*, PVirtualNode, PVirtualNode n,
                             TVirtualNodeInitStates&) { inits.push_back(f.tree->Id(n)); };
    f.tree->OnInitChildren = [&](TBaseVirtualTree*, PVirtualNode n, std::uint32_t&) {
        childInits.push_back(f.tree->Id(n));
    };
    f.tree->ReinitChildren(f.nodes[1], false);
    EXPECT_EQ(childInits, (std::vector<int>{1}));
    EXPECT_EQ(inits, (std::vector<int>{10}));
    inits.clear();
    childInits.clear();
    f.tree->ReinitChildren(f.nodes[1], true);
    EXPECT_EQ(inits, (std::vector<int>{10, 20}));
    EXPECT_EQ(childInits, (std::vector<int>{1, 10}));  // 20 has no children to ask for
    inits.clear();
    f.tree->ReinitChildren(nullptr, false);
    EXPECT_EQ(inits, (std::vector<int>{0, 1, 2}));
    EXPECT_TREE_OK(*f.tree);
}

}  // namespace
}  // namespace rv::test
