#pragma once

#include "widgets/lb_button_base.h"

namespace rv {

// The owner-drawn push button: focusable, with Default and Cancel keys, a modal result and
// predefined kinds.
class TLbButton : public TLbButtonBase<TCustomControl> {
public:
    explicit TLbButton(TComponent* owner);
    std::string ClassName() const override { return "TLbButton"; }

    bool Default = false;  // Enter clicks it (unless another button has the focus)
    bool Cancel = false;   // Escape clicks it

    TLbButtonKind Kind() const { return kind_; }
    void SetKind(TLbButtonKind kind);
    TModalResult ModalResult() const { return modalResult_; }
    void SetModalResult(TModalResult result);

    void SetGlyph(const TBitmap& glyph) override;
    void SetStyle(TLbButtonStyle style) override;

    bool Pressed() const { return pressed_; }
    void Click() override;
    void WndProc(TMessage& m) override;

protected:
    void Paint() override;
    void Refresh() override { Repaint(); }
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void KeyDown(int& key, TShiftState shift) override;
    void KeyUp(int& key, TShiftState shift) override;

private:
    bool DialogKey(int key);

    TLbButtonKind kind_ = bkCustom;
    TModalResult modalResult_ = mrNone;
    bool pressed_ = false;
};

}  // namespace rv
