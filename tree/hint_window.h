#pragma once

#include <string>

#include "platform/framework/custom_controls.h"
#include "tree/header_types.h"
#include "tree/tree_property_types.h"
#include "tree/virtual_node.h"

namespace rv {

class TBaseVirtualTree;

// What the tree hands its hint window: the node and column a hint is for (none for a header or
// the control's own hint), where the hint belongs (client coordinates) and its text.
struct TVTHintData {
    TBaseVirtualTree* Tree = nullptr;
    PVirtualNode Node = nullptr;
    TColumnIndex Column = NoColumn;
    TRect HintRect;
    std::string DefaultHint;
};

// The hint window of the tree: a popup that never takes the focus or the activation, showing a
// node's or a header column's hint, or in tooltip mode the whole text of a node whose text is
// cut off, with a soft shadow along its right and bottom edges; a draw tree's hint is sized and
// drawn by the tree's own events instead of the text. It fades or slides in on its own timer
// (ticks of WM_TIMER with kAnimationTimer), or appears at once.
class TVirtualTreeHintWindow : public TCustomControl {
public:
    static constexpr int kDefaultShadowSize = 5;
    static constexpr UINT_PTR kAnimationTimer = 1;
    static constexpr unsigned kAnimationInterval = 10;  // ms between animation steps

    explicit TVirtualTreeHintWindow(TComponent* owner);
    std::string ClassName() const override { return "TVirtualTreeHintWindow"; }

    TVTHintData& HintData() { return data_; }
    // Width of the shadow (0: none; the blending it takes is always there).
    int ShadowSize = kDefaultShadowSize;
    TVTHintAnimationType Animation = hatNone;
    std::uint32_t AnimationDuration = 200;

    // The size the hint needs (at the origin); empty when a tooltip is not needed after all
    // (a multi-line node whose cell shows its whole text).
    TRect CalcHintRect(int maxWidth, const std::string& hint, TVTHintData& data);
    // Shows the hint at `r` (screen coordinates) kept inside the work area of its screen; an
    // empty rectangle only hides it.
    void ActivateHint(const TRect& r, const std::string& hint);
    void HideHint();
    // Steps shown of the animation, and how many it has (0: not animated).
    int AnimationStep() const { return step_; }
    int AnimationSteps() const { return steps_; }
    // Stops a running animation at its end.
    void FinishAnimation();

    void WndProc(TMessage& message) override;

protected:
    void Paint() override;

private:
    void PrepareCanvas(TCanvas& canvas);
    // The hint's text inside `body`, the hint without its shadow.
    void PaintText(TCanvas& canvas, const TRect& body);
    bool Tooltip() const;
    void ShowStep();

    TVTHintData data_;
    std::string text_;
    TRect bounds_;  // where the whole hint goes (screen coordinates)
    int step_ = 0;
    int steps_ = 0;
    bool multiline_ = false;
    TBiDiMode bidiMode_ = bdLeftToRight;
};

}  // namespace rv
