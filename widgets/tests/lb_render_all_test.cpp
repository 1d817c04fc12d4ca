// Renders every style, colour preset and state of the push button (and the speed button's down
// state) into one picture for a person to look at, at 100 % and at 200 %.

#include <filesystem>
#include <functional>

#include "widgets/lb_button.h"
#include "widgets/lb_speed_button.h"
#include "widgets/tests/widget_fixture.h"

namespace rv {
namespace {

// The picture of every look at the pixel ratio, saved under `name`.
void RenderAll(double ratio, const std::string& name) {
    test::FormWith f;
    auto* focusElsewhere = f.Add<test::PlainControl>(0, 150);
    const TLbButtonStyle styles[] = {bsNormal, bsEncarta, bsModern, bsOld, bsShape, bsQuicken};
    const TLbColorStyle presets[] = {lcsCustom, lcsGold,       lcsChrome,     lcsBlue,
                                     lcsRed,    lcsUltraFlat1, lcsUltraFlat2, lcsUltraFlatXP,
                                     lcsAqua,   lcsDefault,    lcsQuicken};
    // The states, one row each; the last shows the speed button instead.
    const std::function<void(TLbButton*, TLbSpeedButton*)> states[] = {
        [](TLbButton*, TLbSpeedButton*) {},
        [](TLbButton* b, TLbSpeedButton*) { b->Perform(CM_MOUSEENTER); },
        [](TLbButton* b, TLbSpeedButton*) {
            b->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
        },
        [](TLbButton* b, TLbSpeedButton*) { b->SetFocus(); },
        [](TLbButton* b, TLbSpeedButton*) { b->SetEnabled(false); },
        [](TLbButton*, TLbSpeedButton* speed) { speed->SetDown(true); },
    };
    const int kStates = int(std::size(states));
    const int cellW = 108, cellH = 29;
    const int columns = int(std::size(presets));
    const int rows = int(std::size(styles)) * kStates;
    TBitmap sheet = test::Filled(columns * cellW, rows * cellH, RGB(236, 236, 236), ratio);

    for (int p = 0; p < columns; ++p) {
        for (int s = 0; s < int(std::size(styles)); ++s) {
            for (int state = 0; state < kStates; ++state) {
                auto dress = [&](auto* button, const char* caption) {
                    button->SetColorStyle(presets[p]);
                    button->SetStyle(styles[s]);
                    button->SetCaption(caption);
                    return button;
                };
                auto* b = dress(f.Add<TLbButton>(10, 10), "Button");
                b->SetKind(bkOK);
                auto* speed = dress(f.Add<TLbSpeedButton>(10, 50), "Speed");
                speed->SetGlyph(LoadLbBitmap("LBRETRY"));
                if (presets[p] == lcsCustom) b->SetHotTrackColor(RGB(255, 230, 160));
                focusElsewhere->SetFocus();
                states[state](b, speed);
                TCanvas& c = sheet.Canvas();
                int level = c.SaveState();
                c.SetOrigin(p * cellW + 4, (s * kStates + state) * cellH + 3);
                c.IntersectClipRect({0, 0, b->Width(), b->Height()});
                if (state == kStates - 1)
                    speed->PaintTo(c);
                else
                    b->PaintTo(c);
                c.RestoreState(level);
                delete b;
                delete speed;
            }
        }
    }
    std::string path = std::string(RV_ARTIFACT_DIR) + "/" + name;
    ASSERT_TRUE(sheet.SaveToFile(path));
    EXPECT_GT(std::filesystem::file_size(path), 1000u);
    // Every cell got a button: a good part of it is no longer the sheet's grey.
    const int k = int(ratio);
    for (int r = 0; r < rows; ++r)
        for (int col = 0; col < columns; ++col) {
            const TRect cell = Bounds(k * (col * cellW + 4), k * (r * cellH + 3), k * 100, k * 23);
            EXPECT_LT(test::CountColor(sheet, cell, RGB(236, 236, 236)), k * k * (100 * 23 - 40))
                << "row " << r << " column " << col;
        }
}

TEST(LbRenderAll, EveryStylePresetAndStateIntoOnePicture) {
    RenderAll(1, "lb_buttons.png");
    RenderAll(2, "lb_buttons_200.png");
}

}  // namespace
}  // namespace rv
