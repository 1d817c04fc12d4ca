#include <QElapsedTimer>
#include <QPointer>
#include <QToolTip>

#include "platform/base/exception.h"

#include "platform/windows/tests/host_fixture.h"

namespace rv {
namespace {

using test::Args;
using test::Numbers;
using test::Press;
using test::RecordingWindow;
using test::Release;

TEST(HostMouse, ClientAndNonClientAreasGetTheirOwnMessages) {
    RecordingWindow w(200, 100);
    SetWindowFrame(w.wnd, 2, 20);  // client starts at (2, 22)
    EXPECT_EQ(GetClientRect(w.wnd), (TRect{0, 0, 196, 76}));
    EXPECT_EQ(GetHeaderRect(w.wnd), (TRect{2, 2, 198, 22}));
    QWidget* q = w.Widget();

    Press(q, {50, 40});
    Release(q, {50, 40});
    EXPECT_EQ(w.ArgsOf({WM_LBUTTONDOWN, WM_LBUTTONUP}), (Args{{MK_LBUTTON, 48, 18}, {0, 48, 18}}));

    // In the header the window is asked where the point lies, then gets a non-client message
    // with screen coordinates and the answer.
    w.OnMessage = [](TMessage& m) {
        if (m.Msg != WM_NCHITTEST) return false;
        m.Result = HTBORDER;
        return true;
    };
    w.log.clear();
    Press(q, {30, 10});
    ASSERT_GE(w.log.size(), 2u);
    EXPECT_EQ(w.log[0].msg, WM_NCHITTEST);
    QPoint screen = q->mapToGlobal(QPoint(30, 10));
    EXPECT_EQ(w.log[0].lParam, MAKELPARAM(screen.x(), screen.y()));
    EXPECT_EQ(w.ArgsOf({WM_NCLBUTTONDOWN}), (Args{{HTBORDER, screen.x(), screen.y()}}));
    EXPECT_TRUE(w.Only({WM_LBUTTONDOWN}).empty());
    Release(q, {30, 10});
    EXPECT_EQ(w.Only({WM_NCLBUTTONUP}).size(), 1u);

    // Without an answer of its own the window finds the zones itself.
    TMessage hit{WM_NCHITTEST, 0, MAKELPARAM(screen.x(), screen.y()), 0};
    EXPECT_EQ(DefHostWindowProc(w.wnd, hit), HTNOWHERE);  // header strip
    QPoint inside = q->mapToGlobal(QPoint(100, 50)), border = q->mapToGlobal(QPoint(0, 50));
    hit.LParam = MAKELPARAM(inside.x(), inside.y());
    EXPECT_EQ(DefHostWindowProc(w.wnd, hit), HTCLIENT);
    hit.LParam = MAKELPARAM(border.x(), border.y());
    EXPECT_EQ(DefHostWindowProc(w.wnd, hit), HTBORDER);
}

TEST(HostMouse, CapturedMessagesFollowTheMouseAnywhere) {
    RecordingWindow a(100, 50), b(100, 50);
    SetWindowFrame(a.wnd, 1, 10);
    // Between a press and its release the client gets everything, also outside.
    Press(a.Widget(), {20, 20});
    test::Move(a.Widget(), {-5, 5}, Qt::LeftButton);
    Release(a.Widget(), {-5, 5});
    EXPECT_EQ(a.ArgsOf({WM_MOUSEMOVE, WM_LBUTTONUP}), (Args{{MK_LBUTTON, -6, -6}, {0, -6, -6}}));
    EXPECT_TRUE(a.Only({WM_NCMOUSEMOVE}).empty());

    // An explicit capture takes the mouse from another window, in the holder's coordinates.
    EXPECT_EQ(SetCapture(a.wnd), HWND(0));
    EXPECT_EQ(GetCapture(), a.wnd);
    a.log.clear();
    b.log.clear();
    QPoint global = b.Widget()->mapToGlobal(QPoint(7, 8));
    test::Move(b.Widget(), {7, 8});
    QPoint expected = a.Widget()->mapFromGlobal(global) - QPoint(1, 11);
    EXPECT_EQ(a.ArgsOf({WM_MOUSEMOVE}), (Args{{0, expected.x(), expected.y()}}));
    EXPECT_TRUE(b.log.empty());
    ReleaseCapture();
    EXPECT_EQ(a.Only({WM_CAPTURECHANGED}).size(), 1u);
    test::Move(b.Widget(), {7, 8});
    EXPECT_EQ(b.Only({WM_MOUSEMOVE}).size(), 1u);
}

TEST(HostMouse, DoubleClicksWheelCursorAndHover) {
    RecordingWindow w;
    QWidget* q = w.Widget();
    auto clicks = [&] {
        w.log.clear();
        Press(q, {5, 5});
        Release(q, {5, 5});
        test::SendMouse(q, QEvent::MouseButtonDblClick, {5, 5}, Qt::LeftButton, Qt::LeftButton);
        Release(q, {5, 5});
        return w.Msgs({WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK});
    };
    EXPECT_EQ(clicks(), (Numbers{WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP}));
    SetWantsDoubleClicks(w.wnd, false);
    EXPECT_EQ(clicks(), (Numbers{WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDOWN, WM_LBUTTONUP}));

    // The right button and the wheel.
    w.log.clear();
    Press(q, {9, 9}, Qt::RightButton);
    EXPECT_EQ(w.Only({WM_RBUTTONDOWN})[0].wParam, WPARAM(MK_RBUTTON));
    Release(q, {9, 9}, Qt::RightButton);
    QWheelEvent wheel(QPointF(10, 10), QPointF(q->mapToGlobal(QPoint(10, 10))), QPoint(),
                      QPoint(0, -240), Qt::NoButton, Qt::ShiftModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(q, &wheel);
    EXPECT_EQ(w.WParams({WM_MOUSEWHEEL}), std::vector<WPARAM>{MAKEWPARAM(MK_SHIFT, -240)});

    // Each move first asks for the cursor; an answer sets it for the window.
    SetWindowCursor(w.wnd, crIBeam);
    w.OnMessage = [](TMessage& m) {
        if (m.Msg != WM_SETCURSOR) return false;
        EXPECT_EQ(LOWORD(m.LParam), HTCLIENT);
        SetCursor(crHandPoint);
        m.Result = 1;
        return true;
    };
    w.log.clear();
    test::Move(q, {20, 20});
    EXPECT_EQ(w.Msgs({WM_SETCURSOR, WM_MOUSEMOVE}), (Numbers{WM_SETCURSOR, WM_MOUSEMOVE}));
    EXPECT_EQ(GetWindowCursorShown(w.wnd), crHandPoint);
    w.OnMessage = nullptr;
    test::Move(q, {21, 20});
    EXPECT_EQ(GetWindowCursorShown(w.wnd), crIBeam);

    QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(q->mapToGlobal(QPoint(1, 1))));
    QApplication::sendEvent(q, &enter);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(q, &leave);
    EXPECT_EQ(w.Msgs({CM_MOUSEENTER, CM_MOUSELEAVE}), (Numbers{CM_MOUSEENTER, CM_MOUSELEAVE}));
}

TEST(HostKeys, KeysCharactersAndKeyState) {
    RecordingWindow w;
    QWidget* q = w.Widget();
    short shiftSeen = 0;
    w.OnMessage = [&](TMessage& m) {
        if (m.Msg == WM_KEYDOWN) shiftSeen = GetKeyState(VK_SHIFT);
        return false;
    };
    test::Key(q, QEvent::KeyPress, Qt::Key_A, Qt::ShiftModifier, "A");
    test::Key(q, QEvent::KeyRelease, Qt::Key_A, Qt::ShiftModifier, "A");
    EXPECT_EQ(w.Msgs({WM_KEYDOWN, WM_CHAR, WM_KEYUP}), (Numbers{WM_KEYDOWN, WM_CHAR, WM_KEYUP}));
    EXPECT_EQ(w.WParams({WM_KEYDOWN, WM_CHAR}), (std::vector<WPARAM>{'A', 'A'}));
    EXPECT_LT(shiftSeen, 0);

    // Ctrl keeps the character back; an auto-repeat release is no key up; Alt makes system keys.
    // Each key is offered to the framework first.
    w.log.clear();
    test::Key(q, QEvent::KeyPress, Qt::Key_C, Qt::ControlModifier, "\x03");
    test::Key(q, QEvent::KeyRelease, Qt::Key_C, Qt::ControlModifier, "\x03", true);
    test::Key(q, QEvent::KeyPress, Qt::Key_F, Qt::AltModifier, "f");
    EXPECT_EQ(w.Msgs(),
              (Numbers{CN_KEYDOWN, WM_KEYDOWN, CN_SYSKEYDOWN, WM_SYSKEYDOWN, WM_SYSCHAR}));

    // Taken there, the key goes no further.
    w.log.clear();
    w.OnMessage = [](TMessage& m) {
        if (m.Msg != CN_KEYDOWN) return false;
        m.Result = 1;
        return true;
    };
    test::Key(q, QEvent::KeyPress, Qt::Key_N, Qt::ControlModifier, "\x0e");
    EXPECT_EQ(w.Msgs(), (Numbers{CN_KEYDOWN}));
    w.OnMessage = nullptr;

    // Named keys, Tab included, and the keypad's operators.
    w.log.clear();
    test::Key(q, QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier, "\t");
    test::Key(q, QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, "\r");
    test::Key(q, QEvent::KeyPress, Qt::Key_PageDown, Qt::NoModifier);
    test::Key(q, QEvent::KeyPress, Qt::Key_Plus, Qt::KeypadModifier, "+");
    EXPECT_EQ(w.WParams({WM_KEYDOWN}), (std::vector<WPARAM>{VK_TAB, VK_RETURN, VK_NEXT, VK_ADD}));
    EXPECT_EQ(w.Only({WM_CHAR}).size(), 3u);
}

// Keys of other scripts and accented letters have no key code of their own, and an input method
// hands over text without keys: each character still comes as a key that types it.
TEST(HostKeys, LettersWithoutKeyCodesAndInputMethodTextAreTyped) {
    RecordingWindow w;
    QWidget* q = w.Widget();
    test::Key(q, QEvent::KeyPress, 0x418, Qt::ShiftModifier, "\u0418");  // Cyrillic I
    test::Key(q, QEvent::KeyRelease, 0x418, Qt::ShiftModifier, "\u0418");
    test::Key(q, QEvent::KeyPress, Qt::Key_Oacute, Qt::NoModifier, "\u00f3");
    EXPECT_EQ(w.Msgs({WM_KEYDOWN, WM_CHAR, WM_KEYUP}),
              (Numbers{WM_KEYDOWN, WM_CHAR, WM_KEYUP, WM_KEYDOWN, WM_CHAR}));
    EXPECT_EQ(w.WParams({WM_KEYDOWN, WM_CHAR, WM_KEYUP}),
              (std::vector<WPARAM>{VK_PACKET, 0x418, VK_PACKET, VK_PACKET, 0xF3}));

    // A key that neither has a code nor types stays away.
    w.log.clear();
    test::Key(q, QEvent::KeyPress, Qt::Key_Dead_Acute, Qt::NoModifier, "");
    EXPECT_TRUE(w.log.empty());

    // Committed text: a key for each UTF-16 unit, a character beyond the first plane as two.
    QInputMethodEvent commit;
    commit.setCommitString(QString::fromUtf8("\u039c\u03ac\U0001d11e"));
    QApplication::sendEvent(q, &commit);
    EXPECT_EQ(w.WParams({WM_CHAR}), (std::vector<WPARAM>{0x39C, 0x3AC, 0xD834, 0xDD1E}));
    EXPECT_EQ(w.Msgs({WM_KEYDOWN, WM_CHAR, WM_KEYUP}).size(), 12u);
    EXPECT_EQ(w.WParams({WM_KEYDOWN, WM_KEYUP}), std::vector<WPARAM>(8, VK_PACKET));
    EXPECT_TRUE(q->testAttribute(Qt::WA_InputMethodEnabled));
}

TEST(HostWindow, FocusSizeAndExceptions) {
    // Focus moves announce each other.
    RecordingWindow w, other;
    w.Show();
    other.Show();
    SetWindowFocusable(w.wnd, true);
    SetWindowFocusable(other.wnd, true);
    SetFocus(w.wnd);
    EXPECT_EQ(GetFocus(), w.wnd);
    SetFocus(other.wnd);
    EXPECT_EQ(GetFocus(), other.wnd);
    ASSERT_FALSE(w.Only({WM_KILLFOCUS}).empty() || other.Only({WM_SETFOCUS}).empty());
    EXPECT_EQ(w.Only({WM_KILLFOCUS}).back().wParam, other.wnd);
    EXPECT_EQ(other.Only({WM_SETFOCUS}).back().wParam, w.wnd);

    // A frame change resizes the client and says so.
    w.log.clear();
    SetWindowFrame(w.wnd, 3, 0);
    EXPECT_EQ(w.ArgsOf({WM_SIZE}), (Args{{SIZE_RESTORED, 194, 94}}));

    // An exception in the procedure stops at the host.
    std::string reported;
    test::App().OnException = [&](const std::exception& e) { reported = e.what(); };
    w.OnMessage = [](TMessage& m) {
        if (m.Msg == WM_LBUTTONDOWN) throw Exception("handler failed");
        return false;
    };
    Press(w.Widget(), {10, 10});
    Release(w.Widget(), {10, 10});
    EXPECT_EQ(reported, "handler failed");
    EXPECT_EQ(w.Only({WM_LBUTTONUP}).size(), 1u);
    test::App().OnException = nullptr;
}

TEST(HostWindow, AHandlerMayDestroyItsOwnWindow) {
    // A key brings a character too: none arrives after the window is gone.
    for (UINT killer : {WM_LBUTTONDOWN, WM_KEYDOWN}) {
        std::vector<UINT> seen;
        HWND wnd = 0;
        wnd = CreateHostWindow([&](TMessage& m) {
            seen.push_back(m.Msg);
            if (m.Msg == killer) DestroyHostWindow(wnd);
            DefHostWindowProc(wnd, m);
        });
        SetWindowBounds(wnd, Bounds(0, 0, 50, 50));
        QPointer<QWidget> widget = HostWidget::Find(wnd);
        if (killer == WM_LBUTTONDOWN)
            Press(widget, {5, 5});
        else
            test::Key(widget, QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a");
        EXPECT_FALSE(IsHostWindow(wnd));
        EXPECT_EQ(seen.back(), killer);
        EXPECT_EQ(std::count(seen.begin(), seen.end(), WM_CHAR), 0);
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(widget.isNull());
    }
}

// The hint timing: each rest of the mouse first asks the window for the pause (the short one
// while a tool tip shows), and once it is over the window is asked for its hint there.
TEST(HostHints, TheWindowChoosesThePauseBeforeItIsAskedForItsHint) {
    RecordingWindow w;
    w.Show();
    QWidget* q = w.Widget();
    std::vector<std::pair<WPARAM, int>> pauses;
    int answer = 0;
    w.OnMessage = [&](TMessage& m) {
        if (m.Msg == CM_HINTSHOWPAUSE) {
            int& pause = *reinterpret_cast<int*>(m.LParam);
            pauses.push_back({m.WParam, pause});
            pause = answer;
            return true;
        }
        if (m.Msg == CM_HINTSHOW) {
            auto& info = *reinterpret_cast<THintInfo*>(m.LParam);
            info.HintStr = "Saves the library";
            info.CursorRect = {0, 0, 50, 50};
            return true;
        }
        return false;
    };
    test::Move(q, {20, 20});
    ASSERT_EQ(pauses.size(), 1u);
    EXPECT_EQ(pauses[0], (std::pair<WPARAM, int>{0, HintSettings().HintPause}));
    EXPECT_EQ(PendingHintWindow(), w.wnd);
    EXPECT_EQ(PendingHintPause(), 0);
    QElapsedTimer clock;
    clock.start();
    while (w.Only({CM_HINTSHOW}).empty() && clock.elapsed() < 5000) test::App().ProcessMessages();
    const auto asked = w.Only({CM_HINTSHOW});
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(PendingHintWindow(), HWND(0));
    EXPECT_TRUE(QToolTip::isVisible());
    EXPECT_EQ(QToolTip::text().toStdString(), "Saves the library");

    // Within the hint's place the mouse changes nothing; out of it the short pause is offered.
    test::Move(q, {30, 30});
    EXPECT_EQ(pauses.size(), 1u);
    answer = 100000;
    test::Move(q, {80, 30});
    ASSERT_EQ(pauses.size(), 2u);
    EXPECT_EQ(pauses[1], (std::pair<WPARAM, int>{1, HintSettings().HintShortPause}));
    EXPECT_EQ(PendingHintPause(), 100000);
    // A press, and leaving the window, end the rest.
    Press(q, {80, 30});
    EXPECT_EQ(PendingHintWindow(), HWND(0));
    Release(q, {80, 30});
    test::Move(q, {81, 30});
    EXPECT_EQ(PendingHintWindow(), w.wnd);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(q, &leave);
    EXPECT_EQ(PendingHintWindow(), HWND(0));
    QToolTip::hideText();
}

TEST(HostWindow, WindowFromPointAndTheSystemColours) {
    RecordingWindow a(100, 50), b(60, 30);
    SetParentWindow(b.wnd, a.wnd);
    SetWindowBounds(b.wnd, Bounds(10, 10, 60, 30));
    a.Show();
    b.Show();
    EXPECT_EQ(WindowFromPoint(ClientToScreen(a.wnd, {5, 5})), a.wnd);
    EXPECT_EQ(WindowFromPoint(ClientToScreen(a.wnd, {20, 20})), b.wnd);
    EXPECT_EQ(WindowFromPoint(ClientToScreen(a.wnd, {-500, -500})), HWND(0));

    // A change of the scheme reaches the top-level window.
    const TColor shadow = ColorToRGB(clBtnShadow);
    SetSysColors({{clBtnShadow & 0xFF, clRed}});
    EXPECT_EQ(ColorToRGB(clBtnShadow), clRed);
    EXPECT_EQ(a.Only({WM_SYSCOLORCHANGE}).size(), 1u);
    EXPECT_TRUE(b.Only({WM_SYSCOLORCHANGE}).empty()) << "its parent passes it on";
    SetSysColors({{clBtnShadow & 0xFF, shadow}});
}

}  // namespace
}  // namespace rv
