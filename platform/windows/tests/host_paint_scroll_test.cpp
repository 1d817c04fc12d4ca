#include <QImage>

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
}

}  // namespace
}  // namespace rv
