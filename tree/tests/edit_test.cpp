// In-place editing: F2, typing and Enter; Escape; leaving the box with and without
// toAutoAcceptEditChange; a click arming the edit timer, and a sort stopping it; the node or an
// ancestor deleted while it is edited; an edit whose node has gone writing nothing; the box's
// keys (Up and Down, Tab, the clipboard), its lines in a multi-line node, its growing with the
// text, its least width and its right edge.

#include "platform/windows/tests/toolkit_input.h"
#include "tree/string_edit_link.h"
#include "tree/tests/input_fixture.h"

namespace rv::test {
namespace {

struct EditFixture : InputFixture {
    EditFixture() : InputFixture(3) {
        tree->Names = {"alpha", "beta", "gamma"};
        tree->SetMisc(toEditable, true);
        tree->OnNewText = [this](TCustomVirtualStringTree*, PVirtualNode n, TColumnIndex,
                                 const std::string& text) {
            newTexts.push_back(std::to_string(tree->Id(n)) + ":" + text);
        };
        tree->OnEditCancelled = [this](TBaseVirtualTree*, TColumnIndex) { ++cancelled; };
        tree->OnEdited = [this](TBaseVirtualTree*, PVirtualNode, TColumnIndex) { ++edited; };
        tree->SetFocus();
    }
    TVTEdit* Box() {
        auto* link = dynamic_cast<TStringEditLink*>(tree->EditLink());
        return link ? link->Edit() : nullptr;
    }
    // F2 on the focused node opens the box.
    TVTEdit* Open(int node) {
        tree->SetFocusedNode(nodes[std::size_t(node)]);
        Key(VK_F1 + 1);
        return Box();
    }
    void BoxType(HWND box, const std::string& text) {
        for (char c : text) {
            const int vk = c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c == ' ' ? VK_SPACE : c;
            SendToolkitKey(box, vk, std::string(1, c));
        }
    }
    void BoxKey(HWND box, int vk, unsigned modifiers = 0, const std::string& text = "") {
        SendToolkitKey(box, vk, text, modifiers);
    }
    std::vector<std::string> newTexts;
    int cancelled = 0;
    int edited = 0;
};

TEST(TreeEditing, F2TypeEnterAndEscape) {
    EditFixture f;
    TVTEdit* box = f.Open(1);
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(f.tree->IsEditing());
    EXPECT_TRUE(box->Visible());
    EXPECT_TRUE(box->Focused());
    EXPECT_EQ(box->Text(), "beta");
    EXPECT_EQ(box->SelText(), "beta");  // all of it, to be typed over
    f.BoxType(box->Handle(), "delta");
    EXPECT_EQ(box->Text(), "delta");
    f.BoxKey(box->Handle(), VK_RETURN, 0, "\r");
    EXPECT_EQ(f.newTexts, std::vector<std::string>{"1:delta"});
    EXPECT_EQ(f.edited, 1);
    EXPECT_EQ(f.cancelled, 0);
    EXPECT_FALSE(f.tree->IsEditing());
    EXPECT_FALSE(box->Visible());
    EXPECT_TRUE(f.tree->Focused());
    App().ProcessMessages();  // the box goes

    // Escape: cancelled, no text.
    box = f.Open(2);
    ASSERT_NE(box, nullptr);
    f.BoxType(box->Handle(), "x");
    f.BoxKey(box->Handle(), VK_ESCAPE, 0, "\x1b");
    EXPECT_EQ(f.cancelled, 1);
    EXPECT_EQ(f.newTexts.size(), 1u);
    EXPECT_FALSE(f.tree->IsEditing());
    EXPECT_TRUE(f.tree->Focused());
    // Enter without a change writes nothing.
    box = f.Open(2);
    f.BoxKey(box->Handle(), VK_RETURN, 0, "\r");
    EXPECT_EQ(f.newTexts.size(), 1u);
    EXPECT_EQ(f.edited, 2);
    // No editing without toEditable, or when OnEditing refuses.
    f.tree->SetMisc(toEditable, false);
    EXPECT_EQ(f.Open(0), nullptr);
    f.tree->SetMisc(toEditable, true);
    f.tree->OnEditing = [](TBaseVirtualTree*, PVirtualNode, TColumnIndex, bool& allowed) {
        allowed = false;
    };
    EXPECT_FALSE(f.tree->EditNode(f.nodes[0], NoColumn));
}

TEST(TreeEditing, LeavingTheBoxAcceptsOrCancels) {
    for (bool autoAccept : {true, false}) {
        EditFixture f;
        TStringTreeOptions& options = f.tree->TreeOptions();
        TVTStringOptions strings = options.StringOptions();
        autoAccept ? strings.Include(toAutoAcceptEditChange)
                   : strings.Exclude(toAutoAcceptEditChange);
        options.SetStringOptions(strings);
        TVTEdit* box = f.Open(0);
        ASSERT_NE(box, nullptr);
        f.BoxType(box->Handle(), "omega");
        auto* other = f.form.Add<IdTree>(Bounds(0, 150, 50, 50));
        other->SetFocus();
        EXPECT_FALSE(f.tree->IsEditing());
        EXPECT_EQ(f.newTexts,
                  autoAccept ? std::vector<std::string>{"0:omega"} : std::vector<std::string>{});
        EXPECT_EQ(f.cancelled, autoAccept ? 0 : 1);
    }
}

TEST(TreeEditing, ClickOnTheSelectedNodeArmsTheEditTimer) {
    EditFixture f;
    f.Click(kLabelX, InputFixture::RowY(1));  // focuses and selects
    EXPECT_FALSE(f.Has(tsEditPending));
    f.Click(kLabelX, InputFixture::RowY(1));  // on the selected node: armed, then the timer
    EXPECT_TRUE(f.Has(tsEditPending));
    EXPECT_FALSE(f.tree->IsEditing());
    f.tree->Perform(WM_TIMER, TBaseVirtualTree::kEditTimer);
    EXPECT_TRUE(f.tree->IsEditing());
    ASSERT_NE(f.Box(), nullptr);
    EXPECT_EQ(f.Box()->Text(), "beta");
    // A press elsewhere ends the edit.
    f.Press(kLabelX, InputFixture::RowY(2));
    EXPECT_FALSE(f.tree->IsEditing());
}

TEST(TreeEditing, SortingStopsAPendingEdit) {
    EditFixture f;
    f.tree->SetEditDelay(5);
    f.Click(kLabelX, InputFixture::RowY(1));
    f.Click(kLabelX, InputFixture::RowY(1));  // armed
    ASSERT_TRUE(f.Has(tsEditPending));
    f.tree->Sort(nullptr, NoColumn, sdDescending);
    EXPECT_FALSE(f.Has(tsEditPending));
    // Well past the delay no editor has opened: the timer went with the sort.
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(40);
    PumpUntil([&] { return std::chrono::steady_clock::now() > until; });
    EXPECT_FALSE(f.tree->IsEditing());
    EXPECT_EQ(f.Box(), nullptr);
    EXPECT_FALSE(KillTimer(f.tree->Handle(), TBaseVirtualTree::kEditTimer));
}

TEST(TreeEditing, DeletingTheEditedNodeCancelsFirst) {
    for (bool ancestor : {false, true}) {
        EditFixture f;
        PVirtualNode child = f.tree->Add(f.nodes[0], 7);
        f.tree->SetExpanded(f.nodes[0], true);
        f.tree->SetFocusedNode(child);
        f.Key(VK_F1 + 1);
        TVTEdit* box = f.Box();
        ASSERT_NE(box, nullptr);
        f.BoxType(box->Handle(), "gone");
        f.tree->DeleteNode(ancestor ? f.nodes[0] : child);
        EXPECT_FALSE(f.tree->IsEditing());
        EXPECT_EQ(f.cancelled, 1);
        EXPECT_TRUE(f.newTexts.empty());
        EXPECT_EQ(f.tree->EditedNode(), nullptr);
        EXPECT_FALSE(box->Visible());
        EXPECT_TRUE(f.tree->EndEditNode());
        App().ProcessMessages();
        EXPECT_TRUE(f.newTexts.empty());
        EXPECT_TREE_OK(*f.tree);
    }
    // Clearing the tree while editing: the same.
    EditFixture f;
    f.Open(0);
    f.tree->Clear();
    EXPECT_FALSE(f.tree->IsEditing());
    EXPECT_EQ(f.cancelled, 1);
}

// A link that does not let itself be cancelled, so that the edit outlives its node.
class StubbornLink : public TStringEditLink {
public:
    bool CancelEdit() override { return false; }
};

TEST(TreeEditing, EndingAnEditWhoseNodeWentWritesNothing) {
    EditFixture f;
    f.tree->OnCreateEditor = [](TBaseVirtualTree*, PVirtualNode, TColumnIndex,
                                std::shared_ptr<IVTEditLink>& link) {
        link = std::make_shared<StubbornLink>();
    };
    TVTEdit* box = f.Open(1);
    ASSERT_NE(box, nullptr);
    f.BoxType(box->Handle(), "late");
    f.tree->DeleteNode(f.nodes[1]);
    EXPECT_TRUE(f.tree->IsEditing());  // the link refused
    EXPECT_EQ(f.tree->EditedNode(), nullptr);
    EXPECT_TRUE(f.tree->EndEditNode());
    EXPECT_FALSE(f.tree->IsEditing());
    EXPECT_TRUE(f.newTexts.empty());
    EXPECT_EQ(f.edited, 0);
    // An assigned handler that gives no link is an error.
    f.tree->OnCreateEditor = [](TBaseVirtualTree*, PVirtualNode, TColumnIndex,
                                std::shared_ptr<IVTEditLink>&) {};
    f.tree->SetFocusedNode(f.nodes[0]);
    EXPECT_THROW(f.Key(VK_F1 + 1), EVirtualTreeError);
    EXPECT_FALSE(f.tree->IsEditing());
}

TEST(TreeEditing, KeysOfTheBox) {
    EditFixture f;
    TVTEdit* box = f.Open(2);
    ASSERT_NE(box, nullptr);
    const HWND h = box->Handle();
    f.BoxKey(h, VK_HOME);
    f.BoxKey(h, VK_DOWN);  // as Right
    f.BoxKey(h, VK_DOWN);
    EXPECT_EQ(box->SelStart(), 2);
    f.BoxKey(h, VK_UP);  // as Left
    EXPECT_EQ(box->SelStart(), 1);
    f.BoxKey(h, VK_TAB, 0, "\t");
    EXPECT_EQ(box->Text(), "gamma");
    EXPECT_TRUE(f.tree->IsEditing());
    // The clipboard keys: all copied, pasted at the end.
    f.BoxKey(h, 'A', kToolkitCtrl);
    f.BoxKey(h, 'C', kToolkitCtrl);
    f.BoxKey(h, VK_END);
    f.BoxKey(h, 'V', kToolkitCtrl);
    EXPECT_EQ(box->Text(), "gammagamma");
    f.BoxKey(h, VK_HOME);
    f.BoxKey(h, VK_RIGHT, kToolkitShift);
    f.BoxKey(h, 'X', kToolkitCtrl);
    EXPECT_EQ(box->Text(), "ammagamma");
    f.BoxKey(h, VK_RETURN, 0, "\r");
    EXPECT_EQ(f.newTexts, std::vector<std::string>{"2:ammagamma"});
}

TEST(TreeEditing, MultiLineNodeIsEditedOnSeveralLines) {
    EditFixture f;
    f.tree->Names[1] = "first line\nsecond";
    f.nodes[1]->Include(nsMultiline);
    f.tree->SetNodeHeight(f.nodes[1], 40);
    TVTEdit* box = f.Open(1);
    ASSERT_NE(box, nullptr);
    const HWND h = box->Handle();
    // Several lines that wrap, scrolled up and down, over the node's whole row.
    EXPECT_TRUE(box->MultiLine());
    EXPECT_TRUE(box->WordWrap());
    EXPECT_EQ(box->ScrollBars(), ssVertical);
    EXPECT_EQ(box->Text(), "first line\nsecond");
    EXPECT_EQ(box->BoundsRect(), f.tree->GetDisplayRect(f.nodes[1], NoColumn, false, true));
    // Enter breaks the line; Up goes to the line above, not one character left.
    f.BoxType(h, "ab");
    f.BoxKey(h, VK_RETURN, 0, "\r");
    f.BoxType(h, "cd");
    EXPECT_TRUE(f.tree->IsEditing());
    EXPECT_EQ(box->Text(), "ab\ncd");
    f.BoxKey(h, VK_UP);
    EXPECT_EQ(box->SelStart(), 2);
    f.BoxKey(h, VK_TAB, 0, "\t");
    EXPECT_EQ(box->Text(), "ab\ncd");
    // Ctrl+Enter accepts the lines.
    f.BoxKey(h, VK_RETURN, kToolkitCtrl, "\r");
    EXPECT_FALSE(f.tree->IsEditing());
    EXPECT_EQ(f.newTexts, std::vector<std::string>{"1:ab\ncd"});
    App().ProcessMessages();

    // A single-line node's box is one line again, and Enter accepts there.
    box = f.Open(2);
    ASSERT_NE(box, nullptr);
    EXPECT_FALSE(box->MultiLine());
    f.BoxType(box->Handle(), "x");
    f.BoxKey(box->Handle(), VK_RETURN, 0, "\r");
    EXPECT_EQ(f.newTexts.back(), "2:x");
}

TEST(TreeEditing, BoxGrowsWithItsTextWithinTheClientArea) {
    EditFixture f;
    f.tree->Names[0] = "a";
    f.tree->NodeWidth = 10;
    TVTEdit* box = f.Open(0);
    ASSERT_NE(box, nullptr);
    // A text narrower than the least width: 30 pixels from the text's left edge.
    EXPECT_EQ(box->Width(), TStringEditLink::kMinimumWidth);
    EXPECT_EQ(box->Left(), 22);
    f.BoxType(box->Handle(), "a longer one");
    App().ProcessMessages();
    TBitmap measure(1, 1);
    measure.Canvas().Font = box->Font();
    EXPECT_EQ(box->Left(), 22);
    EXPECT_EQ(box->Width(), measure.Canvas().TextWidth("a longer one") + 2 * f.tree->TextMargin());
    // Never past the client area's right edge, nor left of its left edge.
    auto* link = dynamic_cast<TStringEditLink*>(f.tree->EditLink());
    link->SetBounds({150, 18, 400, 36});
    EXPECT_EQ(box->BoundsRect(), TRect(150, 18, f.tree->ClientWidth(), 36));
    link->SetBounds({-20, 18, 0, 36});
    EXPECT_EQ(box->BoundsRect(), TRect(0, 18, TStringEditLink::kMinimumWidth, 36));
    EXPECT_EQ(link->GetBounds(), box->BoundsRect());
}

}  // namespace
}  // namespace rv::test
