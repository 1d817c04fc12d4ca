#include <gtest/gtest.h>

#include <QApplication>
#include <QCloseEvent>

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

}  // namespace
}  // namespace rv
