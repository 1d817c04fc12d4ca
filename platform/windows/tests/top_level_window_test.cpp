#include <gtest/gtest.h>

#include <QApplication>
#include <QCloseEvent>
#include <QWindow>

#include "platform/windows/screens.h"
#include "platform/windows/tests/host_fixture.h"
#include "platform/windows/top_level_window.h"

namespace rv {
namespace {

using test::RecordingWindow;

void Settle() {
    for (int i = 0; i < 3; ++i) QApplication::processEvents();
}

TWindowPlacement PlacementOf(HWND wnd) {
    TWindowPlacement p;
    EXPECT_TRUE(GetWindowPlacement(wnd, p));
    return p;
}

TEST(TopLevelWindow, PlacementKeepsTheNormalBoundsThroughMaximisingAndMinimising) {
    RecordingWindow w;
    SetWindowBounds(w.wnd, Bounds(30, 40, 300, 200));
    w.Show();
    TWindowPlacement p = PlacementOf(w.wnd);
    EXPECT_EQ(p.showCmd, SW_SHOWNORMAL);
    EXPECT_EQ(p.rcNormalPosition, Bounds(30, 40, 300, 200));
    EXPECT_EQ(p.ptMaxPosition, (TPoint{-1, -1}));

    w.log.clear();
    ShowWindowCmd(w.wnd, SW_SHOWMAXIMIZED);
    Settle();
    EXPECT_TRUE(IsZoomed(w.wnd));
    EXPECT_FALSE(IsIconic(w.wnd));
    EXPECT_FALSE(w.Only({WM_WINDOWPOSCHANGED}).empty());
    EXPECT_NE(GetWindowBounds(w.wnd), Bounds(30, 40, 300, 200));
    p = PlacementOf(w.wnd);
    EXPECT_EQ(p.showCmd, SW_SHOWMAXIMIZED);
    EXPECT_EQ(p.rcNormalPosition, Bounds(30, 40, 300, 200));

    // New normal bounds while maximised wait for the restore; the two positions are kept.
    p.rcNormalPosition = Bounds(50, 60, 320, 210);
    p.ptMaxPosition = {-4, -4};
    ASSERT_TRUE(SetWindowPlacement(w.wnd, p));
    Settle();
    EXPECT_TRUE(IsZoomed(w.wnd));
    EXPECT_EQ(PlacementOf(w.wnd).ptMaxPosition, (TPoint{-4, -4}));

    // Minimised from maximised, a restore goes back to maximised, a second one to normal.
    ShowWindowCmd(w.wnd, SW_MINIMIZE);
    Settle();
    EXPECT_TRUE(IsIconic(w.wnd));
    p = PlacementOf(w.wnd);
    EXPECT_EQ(p.showCmd, SW_SHOWMINIMIZED);
    EXPECT_EQ(p.flags, WPF_RESTORETOMAXIMIZED);
    ShowWindowCmd(w.wnd, SW_RESTORE);
    Settle();
    EXPECT_TRUE(IsZoomed(w.wnd));
    ShowWindowCmd(w.wnd, SW_RESTORE);
    Settle();
    EXPECT_FALSE(IsZoomed(w.wnd));
    EXPECT_EQ(GetWindowBounds(w.wnd), Bounds(50, 60, 320, 210));

    // A hidden window takes a placement without showing; SW_HIDE hides.
    p.showCmd = SW_HIDE;
    p.rcNormalPosition = Bounds(70, 80, 250, 150);
    SetWindowPlacement(w.wnd, p);
    EXPECT_FALSE(IsWindowVisible(w.wnd));
    EXPECT_EQ(GetWindowBounds(w.wnd), Bounds(70, 80, 250, 150));
    EXPECT_EQ(PlacementOf(w.wnd).showCmd, SW_SHOWNORMAL);
}

TEST(TopLevelWindow, BoundsFollowTheUserAndClosingHidesByDefault) {
    RecordingWindow w;
    SetWindowBounds(w.wnd, Bounds(10, 10, 200, 100));
    w.Show();
    w.log.clear();
    w.Widget()->setGeometry(QRect(100, 120, 240, 130));  // as the window manager would
    Settle();
    EXPECT_EQ(GetWindowBounds(w.wnd), Bounds(100, 120, 240, 130));
    EXPECT_EQ(PlacementOf(w.wnd).rcNormalPosition, Bounds(100, 120, 240, 130));
    EXPECT_FALSE(w.Only({WM_WINDOWPOSCHANGED}).empty());

    QCloseEvent close;
    QApplication::sendEvent(w.Widget(), &close);
    EXPECT_EQ(w.Msgs({WM_CLOSE}), test::Numbers{WM_CLOSE});
    EXPECT_FALSE(IsWindowVisible(w.wnd));

    // A procedure that answers WM_CLOSE itself keeps the window.
    w.Show();
    w.OnMessage = [](TMessage& m) { return m.Msg == WM_CLOSE; };
    QApplication::sendEvent(w.Widget(), &close);
    EXPECT_TRUE(IsWindowVisible(w.wnd));
}

TEST(TopLevelWindow, TheWindowsAnswerLimitsTheUsersSizingNotTheProgramsOne) {
    RecordingWindow w;
    TPoint least{150, 120};
    w.OnMessage = [&](TMessage& m) {
        if (m.Msg != WM_GETMINMAXINFO) return false;
        auto* info = reinterpret_cast<TMinMaxInfo*>(m.LParam);
        EXPECT_EQ(info->ptMaxSize.X, ScreenWorkAreas().front().Width());
        info->ptMinTrackSize = least;
        info->ptMaxTrackSize = {500, 400};
        return true;
    };
    SetWindowBounds(w.wnd, Bounds(0, 0, 300, 200));
    w.Show();
    EXPECT_EQ(w.Widget()->minimumSize(), QSize(150, 120));
    EXPECT_EQ(w.Widget()->maximumSize(), QSize(500, 400));
    SetWindowBounds(w.wnd, Bounds(0, 0, 100, 600));  // the program is free
    EXPECT_EQ(GetWindowBounds(w.wnd), Bounds(0, 0, 100, 600));
    EXPECT_EQ(w.Widget()->minimumSize(), QSize(100, 120));
    EXPECT_EQ(w.Widget()->maximumSize(), QSize(500, 600));

    // Not sizeable: the size the program gave it, with a frame of title and close button only.
    TWindowDecoration fixed;
    fixed.sizeable = fixed.minimizeBox = fixed.maximizeBox = false;
    SetWindowDecoration(w.wnd, fixed);
    EXPECT_TRUE(IsWindowVisible(w.wnd));
    EXPECT_EQ(w.Widget()->minimumSize(), QSize(100, 600));
    EXPECT_EQ(w.Widget()->maximumSize(), QSize(100, 600));
    Qt::WindowFlags flags = w.Widget()->windowFlags();
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    SetWindowBounds(w.wnd, Bounds(0, 0, 320, 240));
    EXPECT_EQ(w.Widget()->maximumSize(), QSize(320, 240));
}

TEST(TopLevelWindow, AShownWindowLandsWholeInTheWorkAreaOfItsScreen) {
    const TRect work = ScreenWorkAreas().front();
    // Where the window's frame goes: `edges` names the sides of the work area it then touches.
    struct Case {
        const char* what;
        TRect set;
        const char* edges;
        bool sizeKept;
    } cases[] = {
        {"inside: stays", Bounds(work.Left + 30, work.Top + 40, 300, 200), "", true},
        {"over the right and bottom edges: moved in",
         Bounds(work.Right - 50, work.Bottom - 20, 300, 200), "rb", true},
        {"above and left of it: moved in", Bounds(work.Left - 500, work.Top - 70, 300, 200), "lt",
         true},
        {"at the top left corner: its frame moved in too", Bounds(work.Left, work.Top, 300, 200),
         "lt", true},
        {"larger: as large as the work area",
         Bounds(work.Left + 10, work.Top + 10, work.Width() + 300, work.Height() + 100), "lrtb",
         false},
    };
    for (const Case& c : cases) {
        RecordingWindow w;
        SetWindowBounds(w.wnd, c.set);
        w.log.clear();
        w.Show();
        const TRect shown = GetWindowBounds(w.wnd);
        const TRect frame = GetWindowFrameRect(w.wnd);
        const std::string edges = c.edges;
        EXPECT_EQ(IntersectRect(frame, work), frame) << c.what;
        EXPECT_EQ(frame.Left == work.Left, edges.find('l') != std::string::npos) << c.what;
        EXPECT_EQ(frame.Right == work.Right, edges.find('r') != std::string::npos) << c.what;
        EXPECT_EQ(frame.Top == work.Top, edges.find('t') != std::string::npos) << c.what;
        EXPECT_EQ(frame.Bottom == work.Bottom, edges.find('b') != std::string::npos) << c.what;
        if (c.sizeKept) {
            EXPECT_EQ(shown.Width(), 300) << c.what;
            EXPECT_EQ(shown.Height(), 200) << c.what;
        }
        if (edges.empty()) {
            EXPECT_EQ(shown, c.set) << c.what;
        }
        EXPECT_EQ(PlacementOf(w.wnd).rcNormalPosition, shown) << c.what;
        // The window's procedure hears of a move, so that a form follows it.
        EXPECT_EQ(w.Only({WM_WINDOWPOSCHANGED}).empty(), shown == c.set) << c.what;
    }

    // Shown maximised, its normal bounds are fitted for the restore.
    RecordingWindow w;
    SetWindowBounds(w.wnd, Bounds(work.Right - 50, work.Top + 10, 300, 200));
    ShowWindowCmd(w.wnd, SW_SHOWMAXIMIZED);
    Settle();
    EXPECT_TRUE(IsZoomed(w.wnd));
    const TRect normal = PlacementOf(w.wnd).rcNormalPosition;
    EXPECT_LE(normal.Right, work.Right);
    EXPECT_GT(normal.Right, work.Right - 20);
    EXPECT_EQ(normal.Width(), 300);
    ShowWindowCmd(w.wnd, SW_RESTORE);
    Settle();
    EXPECT_EQ(GetWindowBounds(w.wnd), normal);
    EXPECT_EQ(GetWindowFrameRect(w.wnd).Right, work.Right);
}

TEST(TopLevelWindow, LosingTheActivationCancelsTheModeOfTheCaptureHolderInside) {
    RecordingWindow first, second;
    RecordingWindow child;
    SetParentWindow(child.wnd, first.wnd);
    ShowWindow(child.wnd, true);
    first.Show();
    second.Show();
    SetFocus(first.wnd);
    ASSERT_EQ(GetActiveWindow(), first.wnd);
    SetCapture(child.wnd);
    SetFocus(second.wnd);
    Settle();
    ASSERT_EQ(GetActiveWindow(), second.wnd);
    EXPECT_EQ(child.Msgs({WM_CANCELMODE}), test::Numbers{WM_CANCELMODE});
    EXPECT_EQ(GetCapture(), HWND(0));  // the default answer lets go of the mouse
    // A capture held outside the window that loses the activation stays.
    SetCapture(first.wnd);
    SetFocus(first.wnd);
    Settle();
    ASSERT_EQ(GetActiveWindow(), first.wnd);
    EXPECT_EQ(GetCapture(), first.wnd);
    ReleaseCapture();
}

TEST(TopLevelWindow, ADialogBelongsToItsOwnerOnceShown) {
    RecordingWindow owner, dialog, plain;
    owner.Show();
    TWindowDecoration d;
    d.dialog = true;
    d.minimizeBox = d.maximizeBox = d.sizeable = false;
    SetWindowDecoration(dialog.wnd, d);
    EXPECT_TRUE(IsDialogWindow(dialog.wnd));
    EXPECT_FALSE(IsDialogWindow(owner.wnd));
    EXPECT_EQ(dialog.Widget()->windowType(), Qt::Dialog);
    EXPECT_FALSE(dialog.Widget()->windowFlags() & Qt::WindowMinimizeButtonHint);

    SetWindowOwner(dialog.wnd, owner.wnd);
    SetWindowOwner(plain.wnd, plain.wnd);  // no window owns itself
    EXPECT_EQ(GetWindowOwner(dialog.wnd), owner.wnd);
    EXPECT_EQ(GetWindowOwner(plain.wnd), 0u);
    dialog.Show();
    plain.Show();
    ASSERT_NE(dialog.Widget()->windowHandle(), nullptr);
    // What the window manager is told: WM_TRANSIENT_FOR on X.
    EXPECT_EQ(dialog.Widget()->windowHandle()->transientParent(), owner.Widget()->windowHandle());
    EXPECT_EQ(plain.Widget()->windowHandle()->transientParent(), nullptr);

    // Taken back, and shown again: a window of its own.
    ShowWindow(dialog.wnd, false);
    SetWindowOwner(dialog.wnd, 0);
    dialog.Show();
    EXPECT_EQ(dialog.Widget()->windowHandle()->transientParent(), nullptr);
}

}  // namespace
}  // namespace rv
