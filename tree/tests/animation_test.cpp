// The toggle animation and a column's animated resize: the tree is in the end state at once, as
// without animation; the window shows the picture taken just before, its moving part shifted
// step by step on the animation timer with the uncovered strip in the background colour, and
// after the last step exactly what the tree shows without animation.

#include "platform/windows/window_host.h"
#include "tree/tests/paint_fixture.h"

namespace rv::test {
namespace {

// Rows 0 … 4 of 18 pixels; row 1 has two children.
struct AnimationFixture : PaintFixture {
    AnimationFixture() {
        AddRows(5);
        parent = tree->GetFirst()->NextSibling;
        AddRows(2, parent, 10);
        tree->TreeOptions().SetAnimationOptions({toAnimatedToggle});
        App().ProcessMessages();
        origin = GetClientOffset(tree->Handle());
    }
    // The window as the screen shows it now.
    TBitmap Window() {
        // What the window leaves unpainted (its scroll bars) stands out.
        TBitmap b(tree->Width(), tree->Height(), pf32bit);
        FillSolid(b.Canvas(), {0, 0, b.Width(), b.Height()}, clFuchsia);
        PaintWindowTo(tree->Handle(), b.Canvas());
        return b;
    }
    // The window with the node expanded without animation, which a slide must end in; the node
    // is collapsed again afterwards.
    TBitmap ExpandedPicture() {
        const TVTAnimationOptions animation = tree->TreeOptions().AnimationOptions();
        tree->TreeOptions().SetAnimationOptions({});
        tree->ToggleNode(parent);
        TBitmap picture = Window();
        tree->ToggleNode(parent);
        tree->TreeOptions().SetAnimationOptions(animation);
        return picture;
    }
    void Tick() { tree->Perform(WM_TIMER, TBaseVirtualTree::kAnimationTimer); }
    int TicksToEnd() {
        int ticks = 0;
        for (; tree->Slide() && ticks < 1000; ++ticks) Tick();
        return ticks;
    }
    // The client pixels of `r` (client coordinates) in `now` are those of `before` moved by
    // (dx, dy).
    testing::AssertionResult Moved(const TBitmap& now, const TBitmap& before, TRect r, int dx,
                                   int dy) const {
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; ++x) {
                const TColor a = now.Pixel(origin.X + x, origin.Y + y);
                const TColor b = before.Pixel(origin.X + x - dx, origin.Y + y - dy);
                if (a != b)
                    return testing::AssertionFailure()
                           << "(" << x << "," << y << ") " << std::hex << a << " not " << b;
            }
        return testing::AssertionSuccess();
    }
    testing::AssertionResult Same(const TBitmap& a, const TBitmap& b) const {
        return Moved(a, b, {-origin.X, -origin.Y, a.Width() - origin.X, a.Height() - origin.Y}, 0,
                     0);
    }
    int ClientCount(const TBitmap& b, const TRect& r, TColor color) const {
        return CountColor(b, OffsetRect(r, origin.X, origin.Y), color);
    }

    PVirtualNode parent;
    TPoint origin;
};

TEST(TreeAnimation, ExpandingSlidesTheRowsBelowDownAndEndsAsWithoutAnimation) {
    AnimationFixture f;
    PaintedTree& tree = *f.tree;
    const TBitmap before = f.Window();
    const int widthBefore = tree.ClientWidth();
    tree.ToggleNode(f.parent);
    // The state is the end state already (seven rows need the scroll bar now).
    EXPECT_TRUE(tree.Expanded(f.parent));
    EXPECT_EQ(tree.VisibleCount(), 7u);
    ASSERT_NE(tree.Slide(), nullptr);
    // Two rows appear below row 1 (which ends at 36): 36 pixels in 200 ms, a pixel a step, two
    // steps a tick.
    EXPECT_EQ(tree.Slide()->Distance(), 36);
    EXPECT_EQ(tree.Slide()->Area(), TRect(0, 36, widthBefore, tree.ClientHeight()));
    EXPECT_LT(tree.ClientWidth(), widthBefore);
    // At first the client shows the picture as it was (the scroll bar covers its right edge).
    EXPECT_TRUE(f.Moved(f.Window(), before, {0, 0, tree.ClientWidth(), tree.ClientHeight()}, 0, 0));
    f.Tick();
    EXPECT_EQ(tree.Slide()->Position(), 2);
    const TBitmap frame = f.Window();
    const int w = tree.ClientWidth(), h = tree.ClientHeight();
    EXPECT_TRUE(f.Moved(frame, before, {0, 0, w, 36}, 0, 0));
    EXPECT_TRUE(f.Moved(frame, before, {0, 38, w, h}, 0, 2));
    EXPECT_EQ(f.ClientCount(frame, {0, 36, w, 38}, clWhite), 2 * w);
    for (int i = 0; i < 5; ++i) f.Tick();
    EXPECT_TRUE(f.Moved(f.Window(), before, {0, 48, w, h}, 0, 12));

    EXPECT_EQ(f.TicksToEnd(), 12);
    const TBitmap animated = f.Window();
    // The same toggle without animation paints the same.
    tree.SetAnimationDuration(0);
    tree.ToggleNode(f.parent);
    tree.ToggleNode(f.parent);
    EXPECT_EQ(tree.Slide(), nullptr);
    EXPECT_TRUE(f.Same(animated, f.Window()));
    EXPECT_TRUE(f.Moved(animated, before, {0, 72, w, h}, 0, 36));
}

TEST(TreeAnimation, CollapsingSlidesTheRowsBelowUp) {
    AnimationFixture f;
    PaintedTree& tree = *f.tree;
    const TBitmap expanded = f.ExpandedPicture();
    const TBitmap collapsed = f.Window();
    tree.SetAnimationDuration(0);
    tree.ToggleNode(f.parent);
    tree.SetAnimationDuration(100);
    const int narrow = tree.ClientWidth();  // beside the vertical scroll bar
    tree.ToggleNode(f.parent);
    EXPECT_FALSE(tree.Expanded(f.parent));
    EXPECT_EQ(tree.VisibleCount(), 5u);
    ASSERT_NE(tree.Slide(), nullptr);
    EXPECT_EQ(tree.Slide()->Motion(), TSlideAnimation::TMotion::Up);
    f.Tick();
    // 36 pixels in 100 ms: four a tick; the strip at the bottom shows the tree's colour, and so
    // does the room the scroll bar left.
    const int w = tree.ClientWidth(), h = tree.ClientHeight();
    ASSERT_GT(w, narrow);
    const TBitmap frame = f.Window();
    EXPECT_TRUE(f.Moved(frame, expanded, {0, 0, narrow, 36}, 0, 0));
    EXPECT_TRUE(f.Moved(frame, expanded, {0, 36, narrow, h - 4}, 0, -4));
    EXPECT_EQ(f.ClientCount(frame, {0, h - 4, narrow, h}, clWhite), 4 * narrow);
    EXPECT_EQ(f.ClientCount(frame, {narrow, 0, w, h}, clWhite), (w - narrow) * h);
    EXPECT_EQ(f.TicksToEnd(), 8);
    EXPECT_TRUE(f.Same(f.Window(), collapsed));
}

TEST(TreeAnimation, InputAndANewToggleShowTheEndAtOnce) {
    AnimationFixture f;
    PaintedTree& tree = *f.tree;
    const TBitmap expanded = f.ExpandedPicture();
    tree.ToggleNode(f.parent);
    f.Tick();
    tree.Perform(WM_KEYDOWN, VK_SHIFT, 1);
    EXPECT_EQ(tree.Slide(), nullptr);
    EXPECT_TRUE(f.Same(f.Window(), expanded));

    // A toggle while one slides: the first shows its end, the second slides from there.
    tree.ToggleNode(f.parent);
    f.Tick();
    const TBitmap collapsedNow = f.Window();
    tree.ToggleNode(f.parent);
    ASSERT_NE(tree.Slide(), nullptr);
    EXPECT_EQ(tree.Slide()->Motion(), TSlideAnimation::TMotion::Down);
    EXPECT_FALSE(f.Same(f.Window(), collapsedNow)) << "the second starts from the first's end";
    f.TicksToEnd();
    EXPECT_TRUE(f.Same(f.Window(), expanded));

    // No slide inside an update bracket, for the last node (nothing below it moves) or while
    // the window is hidden.
    tree.BeginUpdate();
    tree.ToggleNode(f.parent);
    EXPECT_EQ(tree.Slide(), nullptr);
    tree.EndUpdate();
    PVirtualNode last = tree.GetLast();
    tree.Add(last, 20);
    tree.ToggleNode(last);
    EXPECT_EQ(tree.Slide(), nullptr);
    tree.Hide();
    tree.ToggleNode(f.parent);
    EXPECT_EQ(tree.Slide(), nullptr);
}

TEST(TreeAnimation, AColumnsAnimatedResizeSlidesWhatLiesRightOfIt) {
    AnimationFixture f;
    PaintedTree& tree = *f.tree;
    TVTHeader& header = tree.Header();
    header.SetOptions(header.Options() + TVTHeaderOptions{hoVisible});
    header.Columns().Add().SetWidth(50);
    header.Columns().Add().SetWidth(50);
    header.Columns()[0].SetColor(clYellow);
    int resized = 0;
    tree.OnColumnResize = [&](TVTHeader*, TColumnIndex) { ++resized; };
    App().ProcessMessages();
    f.origin = GetClientOffset(tree.Handle());
    const TBitmap before = f.Window();

    header.Columns().AnimatedResize(1, 114);
    // The width and its side effects are those of the end at once.
    EXPECT_EQ(header.Columns()[1].Width(), 114);
    EXPECT_EQ(header.Columns()[1].LastWidth(), 50);
    EXPECT_EQ(resized, 1);
    ASSERT_NE(tree.Slide(), nullptr);
    EXPECT_TRUE(tree.Slide()->HasHeader());
    // 32 steps of 64 div 32 pixels in about 32 ms: ten steps a tick.
    EXPECT_EQ(tree.Slide()->Distance(), 64);
    f.Tick();
    const TBitmap frame = f.Window();
    const int w = tree.ClientWidth(), h = tree.ClientHeight();
    EXPECT_TRUE(f.Moved(frame, before, {0, 0, 50, h}, 0, 0));
    EXPECT_TRUE(f.Moved(frame, before, {70, 0, w, h}, 20, 0));
    EXPECT_EQ(f.ClientCount(frame, {50, 0, 70, h}, clWhite), 20 * h);
    // The header strip moves with the client.
    const TRect strip = tree.HeaderRect();
    EXPECT_TRUE(f.Moved(frame, before, OffsetRect({70, strip.Top, w, strip.Bottom}, 0, -f.origin.Y),
                        20, 0));
    EXPECT_EQ(
        CountColor(frame, {f.origin.X + 50, strip.Top, f.origin.X + 70, strip.Bottom}, clWhite),
        20 * strip.Height());
    EXPECT_EQ(f.TicksToEnd(), 3);
    const TBitmap animated = f.Window();
    header.Columns()[1].SetWidth(50);
    header.Columns()[1].SetWidth(114);
    EXPECT_TRUE(f.Same(animated, f.Window()));

    // Less than 32 pixels of difference move nothing: no slide; a width out of the column's
    // range is kept within it.
    header.Columns().AnimatedResize(1, 100);
    EXPECT_EQ(tree.Slide(), nullptr);
    header.Columns()[1].SetMaxWidth(200);
    header.Columns().AnimatedResize(1, 900);
    EXPECT_EQ(header.Columns()[1].Width(), 200);
    ASSERT_NE(tree.Slide(), nullptr);
    EXPECT_EQ(tree.Slide()->Distance(), 96);
    header.Columns().AnimatedResize(1, 10);
    EXPECT_EQ(tree.Slide()->Motion(), TSlideAnimation::TMotion::Left);
    f.TicksToEnd();
    EXPECT_EQ(header.Columns()[1].Width(), 10);
    // The first column's left edge is the client's: everything right of it moves.
    header.Columns().AnimatedResize(0, 114);
    EXPECT_EQ(tree.Slide()->Area().Left, 0);
}

}  // namespace
}  // namespace rv::test
