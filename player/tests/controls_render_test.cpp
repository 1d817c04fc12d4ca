// Renders the knob and the scroll bar in their states into pictures for a person to look at, at
// 100 % and at 200 %.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>

#include "platform/framework/tests/form_fixture.h"
#include "platform/graphics/tests/pixels.h"
#include "player/fat_scroll_bar.h"
#include "player/knob.h"

namespace rv::test {
namespace {

const TColor kSheet = RGB(236, 236, 236);

// Paints `control` into the sheet with its top-left corner at (x, y).
template <class Control>
void PaintAt(TBitmap& sheet, Control* control, int x, int y) {
    TCanvas& c = sheet.Canvas();
    const int level = c.SaveState();
    c.SetOrigin(x, y);
    c.IntersectClipRect({0, 0, control->Width(), control->Height()});
    control->PaintTo(c);
    c.RestoreState(level);
}

void Save(const TBitmap& sheet, const std::string& name) {
    const std::string path = std::string(RV_ARTIFACT_DIR) + "/" + name;
    ASSERT_TRUE(sheet.SaveToFile(path));
    EXPECT_GT(std::filesystem::file_size(path), 500u);
}

void RenderKnobs(double ratio, const std::string& name) {
    FormWith f;
    auto* elsewhere = f.Add<TKnob>(200, 100);
    const std::function<void(TKnob*)> states[] = {
        [](TKnob*) {},
        [](TKnob* k) { k->SetPosition(64); },
        [](TKnob* k) { k->SetPosition(128); },
        [](TKnob* k) { k->SetPosition(255); },
        [](TKnob* k) {
            k->SetPosition(200);
            k->SetFocus();
        },
        [](TKnob* k) {
            k->SetPosition(100);
            k->SetEnabled(false);
        },
    };
    const int cell = 70;
    TBitmap sheet = Filled(int(std::size(states)) * cell, 2 * cell, kSheet, ratio);
    for (int size = 0; size < 2; ++size) {
        for (int s = 0; s < int(std::size(states)); ++s) {
            elsewhere->SetFocus();
            auto* knob = f.Add<TKnob>(TRect{10, 10, 50, 50});
            if (size == 1) knob->SetBounds(10, 10, 60, 60);
            knob->SetMax(255);
            states[s](knob);
            PaintAt(sheet, knob, s * cell + 5, size * cell + 5);
            delete knob;
        }
    }
    Save(sheet, name);
    // Each knob drew its black rim.
    const int k = int(ratio);
    for (int s = 0; s < int(std::size(states)) - 1; ++s)
        EXPECT_GT(CountColor(sheet, Bounds(k * s * cell, 0, k * cell, k * cell), clBlack), 0) << s;
}

void RenderScrollBars(double ratio, const std::string& name) {
    FormWith f;
    auto mouse = [&](TFatScrollBar* bar, UINT msg, int x, WPARAM keys) {
        f.form.Perform(msg, keys, MAKELPARAM(bar->Left() + x, bar->Top() + 9));
    };
    const std::function<void(TFatScrollBar*)> states[] = {
        [](TFatScrollBar*) {},
        [&](TFatScrollBar* b) { mouse(b, WM_MOUSEMOVE, 5, 0); },
        [&](TFatScrollBar* b) { mouse(b, WM_LBUTTONDOWN, 145, MK_LBUTTON); },
        [&](TFatScrollBar* b) { mouse(b, WM_MOUSEMOVE, 100, 0); },
        [&](TFatScrollBar* b) { mouse(b, WM_LBUTTONDOWN, 50, MK_LBUTTON); },
        [](TFatScrollBar* b) { b->SetMax(0); },
        [](TFatScrollBar* b) {
            // As the player window dresses its position bar.
            b->SetArrowWidth(15);
            b->SetScrollerWidth(10);
            b->StyleTrack().Fill().SetColorCold(clGreen);
            b->StyleScroller().Fill().SetColorCold(clBlack);
            b->StyleScroller().Border().SetColorCold(clWhite);
        },
        [](TFatScrollBar* b) {
            b->StyleTrack().Fill().SetStyleCold(bsPattern);
            b->StyleTrack().Fill().SetColorCold(clBtnShadow);
        },
    };
    const int rowH = 26, states_ = int(std::size(states));
    TBitmap sheet = Filled(160 + 40, std::max(states_ * rowH, 160) + 4, kSheet, ratio);
    for (int s = 0; s < states_; ++s) {
        auto* bar = f.Add<TFatScrollBar>(10, 10);
        bar->SetPosition(40);
        states[s](bar);
        PaintAt(sheet, bar, 5, s * rowH + 4);
        mouse(bar, WM_LBUTTONUP, 0, 0);
        delete bar;
    }
    // Upright, held on its lower arrow.
    auto* upright = f.Add<TFatScrollBar>(10, 10);
    upright->SetKind(sbVertical);
    upright->SetBounds(10, 10, 18, 150);
    upright->SetPosition(70);
    f.form.Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(19, 150));
    PaintAt(sheet, upright, 175, 4);
    f.form.Perform(WM_LBUTTONUP, 0, MAKELPARAM(19, 150));
    Save(sheet, name);
    // Every row got its bar.
    const int k = int(ratio);
    for (int s = 0; s < states_; ++s)
        EXPECT_EQ(CountColor(sheet, Bounds(5 * k, (s * rowH + 4) * k, 150 * k, 18 * k), kSheet), 0)
            << s;
}

TEST(ControlsRender, KnobsInTheirStates) {
    RenderKnobs(1, "knobs.png");
    RenderKnobs(2, "knobs@2x.png");
}

TEST(ControlsRender, ScrollBarsInTheirStates) {
    RenderScrollBars(1, "scroll_bars.png");
    RenderScrollBars(2, "scroll_bars@2x.png");
}

}  // namespace
}  // namespace rv::test
