#include "app/dialog_buttons.h"

#include <algorithm>

#include "platform/framework/menus.h"
#include "platform/graphics/bitmap.h"
#include "widgets/hand_cursors.h"

namespace rv {

namespace {

// The button's margins around its caption, and room for the round corners.
constexpr int kCaptionMargins = 8 + 6;

}  // namespace

TLbButton* MakeDialogButton(TComponent* owner, TWinControl* parent, const char* name,
                            const std::string& caption, int left, int top) {
    auto* button = new TLbButton(owner);
    button->SetName(name);
    button->SetParent(parent);
    button->SetCaption(caption);
    // Wider where the caption needs it in the desktop's font: the button cuts a caption that
    // does not fit.
    TBitmap scratch(1, 1);
    TCanvas& canvas = scratch.Canvas();
    canvas.Font = button->Font();
    const int needed = canvas.TextWidth(StripHotkey(caption)) + kCaptionMargins;
    button->SetBounds(left, top, std::max(kDialogButtonWidth, needed), kDialogButtonHeight);
    button->SetStyle(bsModern);
    button->SetCursor(crHand);
    return button;
}

}  // namespace rv
