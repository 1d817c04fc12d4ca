#include <chrono>
#include <functional>

#include "widgets/lb_button.h"
#include "widgets/tests/widget_fixture.h"

namespace rv {
namespace {

using test::FormWith;
using test::Snapshot;

TColor FaceOf(TLbButton& b) {
    return Snapshot(b).Pixel(b.Width() / 2, b.Height() / 2);
}

void Tick(TLbButton& b) {
    SendMessage(b.FadeTimerHandle(), WM_TIMER, 1, 0);
}

// Handles messages until `done` holds or `ms` milliseconds have passed; returns the time taken.
long long PumpFor(
    long long ms, const std::function<bool()>& done = [] { return false; }) {
    const auto start = std::chrono::steady_clock::now();
    auto elapsed = [&] {
        return std::chrono::duration_cast<std::chrono::milliseconds>(
                   std::chrono::steady_clock::now() - start)
            .count();
    };
    while (!done() && elapsed() < ms) test::App().ProcessMessages();
    return elapsed();
}

TEST(LbFade, LeavingFadesTheHotColourOutInEightSteps) {
    FormWith f;
    auto* b = f.Add<TLbButton>(10, 10);
    b->SetColor(clBlack);
    b->SetHotTrackColor(RGB(0, 0, 240));
    b->SetSlowDecease(true);
    int entered = 0, left = 0;
    b->OnMouseEnter = [&](TObject*) { ++entered; };
    b->OnMouseExit = [&](TObject*) { ++left; };

    b->Perform(CM_MOUSEENTER);
    EXPECT_EQ(b->FadeStep(), 8);
    EXPECT_EQ(FaceOf(*b), RGB(0, 0, 240));
    b->Perform(CM_MOUSELEAVE);
    EXPECT_EQ(entered, 1);
    EXPECT_EQ(left, 1);
    EXPECT_TRUE(b->Fading());

    std::vector<TColor> faces;
    while (b->Fading()) {
        Tick(*b);
        faces.push_back(FaceOf(*b));
        ASSERT_LE(faces.size(), 8u);
    }
    EXPECT_EQ(faces.size(), 8u);
    for (size_t i = 0; i < faces.size(); ++i)
        EXPECT_EQ(faces[i], RGB(0, 0, 240 * (7 - i) / 8)) << i;
    EXPECT_EQ(b->FadeStep(), 0);
}

TEST(LbFade, ComingBackStopsTheFadeTheTimerRunsByItselfAndAHotColourIsNeeded) {
    FormWith f;
    auto* b = f.Add<TLbButton>(10, 10);
    b->SetHotTrackColor(clRed);
    b->SetSlowDecease(true);
    b->Perform(CM_MOUSEENTER);
    b->Perform(CM_MOUSELEAVE);
    Tick(*b);
    Tick(*b);
    EXPECT_EQ(b->FadeStep(), 6);
    b->Perform(CM_MOUSEENTER);
    EXPECT_FALSE(b->Fading());
    EXPECT_EQ(b->FadeStep(), 8);
    PumpFor(120);
    EXPECT_EQ(b->FadeStep(), 8);  // the hot colour stays under the mouse
    EXPECT_EQ(FaceOf(*b), clRed);

    // Left alone, the timer brings the face back within about 8 x 30 ms.
    b->Perform(CM_MOUSELEAVE);
    EXPECT_GE(PumpFor(3000, [&] { return !b->Fading(); }), 8 * 30 - 30);
    EXPECT_FALSE(b->Fading());
    EXPECT_EQ(b->FadeStep(), 0);

    // Switching the slow fade off mid-way puts the face back at once.
    b->Perform(CM_MOUSEENTER);
    b->Perform(CM_MOUSELEAVE);
    b->SetSlowDecease(false);
    EXPECT_EQ(b->FadeStep(), 0);
    EXPECT_FALSE(b->Fading());
    // … and without it leaving does so as well.
    b->Perform(CM_MOUSEENTER);
    b->Perform(CM_MOUSELEAVE);
    EXPECT_EQ(b->FadeStep(), 0);
    EXPECT_EQ(FaceOf(*b), ColorToRGB(clBtnFace));

    // No hot colour: the face never changes, whatever the step.
    b->SetHotTrackColor(clNone);
    b->Perform(CM_MOUSEENTER);
    EXPECT_EQ(b->FadeStep(), 8);
    EXPECT_EQ(FaceOf(*b), ColorToRGB(clBtnFace));

    // A disabled button does not light up.
    b->Perform(CM_MOUSELEAVE);
    b->SetHotTrackColor(clRed);
    b->SetEnabled(false);
    b->Perform(CM_MOUSEENTER);
    EXPECT_FALSE(b->MouseInside());
    EXPECT_EQ(b->FadeStep(), 0);
}

}  // namespace
}  // namespace rv
