#include <QImage>
#include <climits>

#include "platform/graphics/tests/pixels.h"
#include "platform/windows/tests/host_fixture.h"

namespace rv {
namespace {

using test::Numbers;
using test::RecordingWindow;
using Codes = std::vector<WPARAM>;

// Client red, frame left to the default (a sunken edge).
void PaintRed(RecordingWindow& w) {
    w.OnMessage = [](TMessage& m) {
        if (m.Msg != WM_PAINT) return false;
        auto* c = reinterpret_cast<TCanvas*>(m.WParam);
        c->Brush.Color = clRed;
        c->FillRect({-100, -100, 1000, 1000});  // the canvas keeps it inside the client
        return true;
    };
}

TEST(HostPaint, PaintMessagesGetCanvasesForClientAndFrame) {
    RecordingWindow w(120, 80);
    SetWindowFrame(w.wnd, 2, 10);
    PaintRed(w);
    w.Show();
    w.log.clear();
    InvalidateWindow(w.wnd);
    UpdateWindow(w.wnd);
    auto paints = w.Only({WM_NCPAINT, WM_PAINT});
    ASSERT_EQ(w.Msgs({WM_NCPAINT, WM_PAINT}), (Numbers{WM_NCPAINT, WM_PAINT}));
    EXPECT_EQ(paints[0].origin, (TPoint{0, 0}));
    EXPECT_EQ(paints[1].origin, (TPoint{2, 12}));
    EXPECT_EQ(paints[1].clip, (TRect{0, 0, 116, 66}));

    QImage shot = w.Widget()->grab().toImage();
    EXPECT_EQ(FromQColor(shot.pixelColor(60, 40)), clRed);
    EXPECT_EQ(FromQColor(shot.pixelColor(0, 40)), ColorToRGB(clBtnShadow));  // the edge
    EXPECT_NE(FromQColor(shot.pixelColor(60, 5)), clRed);                    // header is frame

    // Only the invalid part is painted, in client coordinates.
    w.log.clear();
    TRect part{10, 10, 30, 20};
    InvalidateRect(w.wnd, &part);
    UpdateWindow(w.wnd);
    auto client = w.Only({WM_PAINT});
    ASSERT_EQ(client.size(), 1u);
    EXPECT_EQ(client[0].clip, part);
    EXPECT_TRUE(w.Only({WM_NCPAINT}).empty());

    // With redraw off nothing is painted; the same paint routine also serves a bitmap.
    w.log.clear();
    SendMessage(w.wnd, WM_SETREDRAW, 0, 0);
    EXPECT_FALSE(RedrawEnabled(w.wnd));
    InvalidateRect(w.wnd, nullptr);
    UpdateWindow(w.wnd);
    EXPECT_TRUE(w.Only({WM_PAINT}).empty());
    SendMessage(w.wnd, WM_SETREDRAW, 1, 0);

    TBitmap copy(120, 80);
    PaintWindowTo(w.wnd, copy.Canvas());
    // The header is left alone by the default frame.
    EXPECT_TRUE(test::PixelsAre(
        copy, {{60, 40, clRed}, {1, 1, ColorToRGB(cl3DDkShadow)}, {60, 11, clWhite}}));

    // Scrolling the client repaints only the uncovered strip.
    UpdateWindow(w.wnd);
    w.log.clear();
    ScrollWindow(w.wnd, 0, -30, nullptr);
    UpdateWindow(w.wnd);
    auto scrolled = w.Only({WM_PAINT});
    ASSERT_EQ(scrolled.size(), 1u);
    EXPECT_EQ(scrolled[0].clip, (TRect{0, 36, 116, 66}));
}

TEST(HostPaint, OnAScaledScreenLinesAndFocusRectanglesCoverWholeLogicalPixels) {
    RecordingWindow w(60, 30);
    std::vector<double> ratios;
    w.OnMessage = [&](TMessage& m) {
        if (m.Msg != WM_PAINT) return false;
        auto* c = reinterpret_cast<TCanvas*>(m.WParam);
        ratios.push_back(c->PixelRatio());
        c->Brush.Color = clWhite;
        c->FillRect({0, 0, 60, 30});
        c->MoveTo(5, 10);
        c->LineTo(50, 10);
        c->DrawFocusRect({4, 20, 12, 22});
        return true;
    };
    w.Show();
    ratios.clear();
    // What a screen at 200 % gets: the window painted into an image of twice its size.
    QImage shot(120, 60, QImage::Format_RGB32);
    shot.setDevicePixelRatio(2);
    w.Widget()->render(&shot);
    // And what the screen itself gets, at its own ratio (2 under QT_SCALE_FACTOR=2).
    QImage plain = w.Widget()->grab().toImage();
    const int s = int(plain.devicePixelRatio());
    ASSERT_EQ(ratios.size(), 2u);
    EXPECT_EQ(ratios, (std::vector<double>{2, double(s)}));

    auto black = [&](const QImage& image, int x, int y) {
        return FromQColor(image.pixelColor(x, y)) == clBlack;
    };
    // The line: logical row 10, device rows 20 and 21, not a pixel missing from 10 to 99.
    int line = 0, stray = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 120; ++x)
            (y == 20 || y == 21) ? line += black(shot, x, y) : stray += black(shot, x, y);
    EXPECT_EQ(line, 2 * 90);
    EXPECT_EQ(stray, 0);
    EXPECT_TRUE(black(shot, 10, 21) && black(shot, 99, 20) && !black(shot, 100, 20));
    EXPECT_TRUE(black(plain, 5 * s, 10 * s) && black(plain, 49 * s + s - 1, 11 * s - 1) &&
                !black(plain, 5 * s, 11 * s) && !black(plain, 50 * s, 10 * s));
    // The focus rectangle's dots: every other logical pixel, 2 x 2 device pixels each.
    std::string dots;
    for (int x = 8; x < 24; ++x) dots += black(shot, x, 40) && black(shot, x, 41) ? '#' : '.';
    EXPECT_EQ(dots, "##..##..##..##..");
}

// Range 0..max with the given page, and whatever else `mask` names.
int SetRange(HWND wnd, int bar, int max, unsigned page, unsigned mask = 0, int pos = 0) {
    TScrollInfo info;
    info.fMask = SIF_RANGE | SIF_PAGE | mask;
    info.nMin = 0;
    info.nMax = max;
    info.nPage = page;
    info.nPos = pos;
    return SetScrollInfo(wnd, bar, info);
}

TEST(HostScrollBars, SetTheWindowsWayAndReportUserActions) {
    RecordingWindow w(200, 100);
    w.Show();
    w.log.clear();
    EXPECT_EQ(SetRange(w.wnd, SB_VERT, 99, 10, SIF_POS, 200), 90);  // the last page starts at 90
    EXPECT_TRUE(IsScrollBarVisible(w.wnd, SB_VERT));
    EXPECT_EQ(GetClientRect(w.wnd), (TRect{0, 0, 184, 100}));
    ASSERT_EQ(w.Only({WM_SIZE}).size(), 1u);
    TScrollInfo back;
    ASSERT_TRUE(GetScrollInfo(w.wnd, SB_VERT, back));
    EXPECT_EQ(std::tie(back.nMax, back.nPage, back.nPos), std::make_tuple(99, 10u, 90));
    EXPECT_EQ(SetScrollPos(w.wnd, SB_VERT, 5), 90);

    // The user's action is reported; the position stays until the window sets it.
    QScrollBar* bar = w.Widget()->bars[SB_VERT].widget;
    w.log.clear();
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    bar->triggerAction(QAbstractSlider::SliderPageStepSub);
    bar->triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(w.WParams({WM_VSCROLL}), (Codes{SB_LINEDOWN, SB_PAGEUP, SB_BOTTOM}));
    EXPECT_EQ(GetScrollPos(w.wnd, SB_VERT), 5);
    EXPECT_EQ(bar->value(), 5);

    // Dragging the thumb tracks, releasing it gives the final position and ends the scroll.
    w.log.clear();
    bar->setSliderDown(true);
    bar->setSliderPosition(40);
    TScrollInfo track;
    track.fMask = SIF_TRACKPOS;
    GetScrollInfo(w.wnd, SB_VERT, track);
    EXPECT_EQ(track.nTrackPos, 40);
    bar->setSliderDown(false);
    EXPECT_EQ(w.WParams({WM_VSCROLL}), (Codes{MAKEWPARAM(SB_THUMBTRACK, 40),
                                              MAKEWPARAM(SB_THUMBPOSITION, 40), SB_ENDSCROLL}));

    // A page that covers the range hides the bar, unless asked to keep it disabled.
    SetRange(w.wnd, SB_VERT, 9, 10);
    EXPECT_FALSE(IsScrollBarVisible(w.wnd, SB_VERT));
    EXPECT_EQ(GetClientRect(w.wnd).Right, 200);
    SetRange(w.wnd, SB_VERT, 9, 10, SIF_DISABLENOSCROLL);
    EXPECT_TRUE(IsScrollBarVisible(w.wnd, SB_VERT));
    EXPECT_FALSE(bar->isEnabled());

    // The horizontal bar takes the bottom; with both, the corner is shared.
    SetRange(w.wnd, SB_HORZ, 499, 100);
    EXPECT_EQ(GetClientRect(w.wnd), (TRect{0, 0, 184, 84}));
    w.log.clear();
    w.Widget()->bars[SB_HORZ].widget->triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(w.WParams({WM_HSCROLL}), Codes{SB_LINEUP});
    ShowScrollBar(w.wnd, SB_BOTH, false);
    EXPECT_EQ(GetClientRect(w.wnd), (TRect{0, 0, 200, 100}));

    // The widest range there is, with the largest page: 2^32 positions, the last page starting
    // at INT_MAX - (UINT_MAX - 1) = -2^31 + 1.
    TScrollInfo wide;
    wide.nMin = INT_MIN;
    wide.nMax = INT_MAX;
    wide.nPage = UINT_MAX;
    wide.nPos = INT_MAX;
    EXPECT_EQ(SetScrollInfo(w.wnd, SB_VERT, wide), INT_MIN + 1);
    EXPECT_TRUE(IsScrollBarVisible(w.wnd, SB_VERT));
    EXPECT_EQ(std::make_tuple(bar->minimum(), bar->maximum(), bar->value()),
              std::make_tuple(INT_MIN, INT_MIN + 1, INT_MIN + 1));
    wide.nPage = 0;
    EXPECT_EQ(SetScrollInfo(w.wnd, SB_VERT, wide), INT_MAX);
    EXPECT_EQ(bar->maximum(), INT_MAX);
    wide.fMask = SIF_PAGE;
    wide.nPage = 1u << 31;
    EXPECT_EQ(SetScrollInfo(w.wnd, SB_VERT, wide), 0);
    EXPECT_EQ(bar->pageStep(), INT_MAX);
}

// The vertical bar's left edge and the horizontal bar's extent, in window coordinates.
QRect BarGeometry(RecordingWindow& w, int bar) {
    return w.Widget()->bars[bar].widget->geometry();
}

TEST(HostScrollBars, OnTheLeftTheClientAndTheHeaderBeginRightOfTheBar) {
    RecordingWindow w(200, 100);
    SetWindowFrame(w.wnd, 2, 10);
    PaintRed(w);
    w.Show();
    EXPECT_FALSE(HasLeftScrollBar(w.wnd));
    SetLeftScrollBar(w.wnd, true);
    EXPECT_TRUE(HasLeftScrollBar(w.wnd));
    // Without a bar nothing moves.
    EXPECT_EQ(GetClientOffset(w.wnd), (TPoint{2, 12}));

    w.log.clear();
    SetRange(w.wnd, SB_VERT, 99, 10);
    EXPECT_EQ(BarGeometry(w, SB_VERT), QRect(2, 2, 16, 96));
    EXPECT_EQ(GetClientOffset(w.wnd), (TPoint{18, 12}));
    EXPECT_EQ(GetClientRect(w.wnd), (TRect{0, 0, 180, 86}));
    EXPECT_EQ(GetHeaderRect(w.wnd), (TRect{18, 2, 198, 12}));
    ASSERT_EQ(w.Only({WM_SIZE}).size(), 1u);
    const QPoint origin = w.Widget()->mapToGlobal(QPoint(18, 12));
    EXPECT_EQ(ClientToScreen(w.wnd, {0, 0}), (TPoint{origin.x(), origin.y()}));

    // The client moved: all of it is painted again, at its new place; a click still arrives in
    // client coordinates.
    w.log.clear();
    UpdateWindow(w.wnd);
    auto client = w.Only({WM_PAINT});
    ASSERT_EQ(client.size(), 1u);
    EXPECT_EQ(client[0].clip, (TRect{0, 0, 180, 86}));
    // A logical pixel of the window as shown, at any scale.
    const auto shown = [&w](int x, int y) {
        const QImage shot = w.Widget()->grab().toImage();
        const double ratio = shot.devicePixelRatio();
        return FromQColor(shot.pixelColor(int(x * ratio), int(y * ratio)));
    };
    EXPECT_EQ(shown(19, 50), clRed);
    EXPECT_EQ(shown(197, 50), clRed);
    test::Press(w.Widget(), {28, 22});
    test::Release(w.Widget(), {28, 22});
    EXPECT_EQ(w.ArgsOf({WM_LBUTTONDOWN}), (test::Args{{MK_LBUTTON, 10, 10}}));
    const TPoint onBar = ClientToScreen(w.wnd, {-8, 30});
    TMessage hit{WM_NCHITTEST, 0, MAKELPARAM(onBar.X, onBar.Y)};
    EXPECT_EQ(DefHostWindowProc(w.wnd, hit), HTVSCROLL);

    // The horizontal bar starts beside it, and the corner they share is at the left.
    SetRange(w.wnd, SB_HORZ, 499, 100);
    EXPECT_EQ(BarGeometry(w, SB_HORZ), QRect(18, 82, 180, 16));
    EXPECT_EQ(BarGeometry(w, SB_VERT), QRect(2, 2, 16, 80));
    InvalidateWindow(w.wnd);
    UpdateWindow(w.wnd);
    EXPECT_EQ(shown(10, 90), ColorToRGB(clBtnFace));

    // Back to the right: the bar, the client and the header return.
    SetLeftScrollBar(w.wnd, false);
    EXPECT_EQ(BarGeometry(w, SB_VERT), QRect(182, 2, 16, 80));
    EXPECT_EQ(BarGeometry(w, SB_HORZ), QRect(2, 82, 180, 16));
    EXPECT_EQ(GetClientOffset(w.wnd), (TPoint{2, 12}));
    EXPECT_EQ(GetHeaderRect(w.wnd), (TRect{2, 2, 182, 12}));
    EXPECT_FALSE(HasLeftScrollBar(w.wnd));
    EXPECT_FALSE(HasLeftScrollBar(0));
}

}  // namespace
}  // namespace rv
