// Incremental search as the program's views use it (all nodes, always from the start), and its
// other starts and directions: prefixes, a repeated letter, Backspace, the timeout, and a text
// that nothing answers, which beeps and ends.

#include "platform/windows/desktop_settings.h"
#include "tree/tests/input_fixture.h"

namespace rv::test {
namespace {

struct SearchFixture : InputFixture {
    SearchFixture() : InputFixture(6) {
        tree->Names = {"apple", "banana", "blueberry", "bbq", "cherry", "date"};
        tree->SetIncrementalSearch(isAll);
        tree->SetIncrementalSearchStart(ssAlwaysStartOver);
        tree->SetIncrementalSearchTimeout(500);
    }
    void Timeout() { tree->Perform(WM_TIMER, TBaseVirtualTree::kSearchTimer, 0); }
    PVirtualNode Focused() const { return tree->FocusedNode(); }
};

TEST(TreeIncrementalSearch, PrefixesRepeatedLettersAndTheTimeout) {
    SearchFixture f;
    f.Type("bl");
    EXPECT_EQ(f.Focused(), f.nodes[2]);
    EXPECT_TRUE(f.tree->Selected(f.nodes[2]));
    EXPECT_EQ(f.tree->SearchBuffer(), "bl");
    EXPECT_TRUE(f.Has(tsIncrementalSearching));
    f.Timeout();
    EXPECT_EQ(f.tree->SearchBuffer(), "");
    EXPECT_FALSE(f.Has(tsIncrementalSearching));

    // The same letter again goes on to the next node with it, and round.
    f.Type("b");
    EXPECT_EQ(f.Focused(), f.nodes[1]);
    f.Type("b");
    EXPECT_EQ(f.Focused(), f.nodes[2]);
    f.Type("b");
    EXPECT_EQ(f.Focused(), f.nodes[3]);
    EXPECT_EQ(f.tree->SearchBuffer(), "b");
    EXPECT_EQ(f.tree->SelectionCount(), 1u);
    f.Timeout();

    // Unless the node it starts from has both letters.
    f.tree->SetIncrementalSearchStart(ssFocusedNode);
    f.tree->SetFocusedNode(f.nodes[3]);
    f.Type("bb");
    EXPECT_EQ(f.Focused(), f.nodes[3]);
    EXPECT_EQ(f.tree->SearchBuffer(), "bb");
    f.Type("\b");  // Backspace: one letter less, searched backwards from here
    EXPECT_EQ(f.tree->SearchBuffer(), "b");
    EXPECT_EQ(f.Focused(), f.nodes[3]);
}

TEST(TreeIncrementalSearch, NoMatchBeepsAndEnds) {
    SearchFixture f;
    f.Type("c");
    ASSERT_EQ(f.Focused(), f.nodes[4]);
    const unsigned beeps = MessageBeepCount();
    f.Type("x");  // "cx": nothing answers, the walk goes round once and stops
    EXPECT_EQ(MessageBeepCount(), beeps + 1);
    EXPECT_EQ(f.Focused(), f.nodes[4]);
    EXPECT_EQ(f.tree->SelectionCount(), 1u);
    EXPECT_EQ(f.tree->SearchBuffer(), "c");

    // Every start and direction ends the same way.
    for (TVTSearchStart start : {ssAlwaysStartOver, ssLastHit, ssFocusedNode})
        for (TVTSearchDirection direction : {sdForward, sdBackward}) {
            f.tree->SetIncrementalSearchStart(start);
            f.tree->SetIncrementalSearchDirection(direction);
            f.Timeout();
            f.Type("zz");
        }
    EXPECT_EQ(MessageBeepCount(), beeps + 1 + 12);

    InputFixture empty(0);
    empty.tree->SetIncrementalSearch(isAll);
    empty.Type("a");
    EXPECT_EQ(MessageBeepCount(), beeps + 14);
}

TEST(TreeIncrementalSearch, ModesAndTheHandler) {
    SearchFixture f;
    PVirtualNode hidden = f.tree->Add(f.nodes[0], 0);  // "apple" too, under a collapsed node
    f.tree->Names[0] = "apple";
    f.tree->SetIncrementalSearch(isVisibleOnly);
    f.tree->SetIncrementalSearchStart(ssFocusedNode);
    f.tree->SetFocusedNode(f.nodes[1]);
    f.Type("a");  // from banana on, visible nodes only: round to the top-level apple
    EXPECT_EQ(f.Focused(), f.nodes[0]);
    f.Timeout();
    f.tree->SetIncrementalSearch(isAll);
    f.tree->SetFocusedNode(f.nodes[1]);
    f.Type("a");
    EXPECT_EQ(f.Focused(), f.nodes[0]);
    f.Timeout();
    f.tree->SetFocusedNode(f.nodes[0]);
    f.tree->SetIncrementalSearchStart(ssLastHit);
    f.Type("a");
    f.Type("p");  // from the last hit: it still answers
    EXPECT_EQ(f.Focused(), f.nodes[0]);
    f.Timeout();

    // A handler decides which node answers.
    f.tree->SetIncrementalSearch(isAll);
    f.tree->OnIncrementalSearch = [&](TBaseVirtualTree*, PVirtualNode n, const std::string&,
                                      int& result) { result = n == hidden ? 0 : 1; };
    f.tree->SetIncrementalSearchStart(ssAlwaysStartOver);
    f.Type("q");
    EXPECT_EQ(f.Focused(), hidden);
    EXPECT_TRUE(f.tree->VisiblePath(hidden));
}

}  // namespace
}  // namespace rv::test
