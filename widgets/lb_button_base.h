#pragma once

#include <memory>

#include "platform/framework/actions.h"
#include "platform/framework/custom_controls.h"
#include "platform/graphics/bitmap.h"
#include "platform/graphics/image_list.h"
#include "widgets/lb_fade_timer.h"
#include "widgets/lb_paint.h"
#include "widgets/lb_types.h"

namespace rv {

// What TLbButton and TLbSpeedButton share: the look properties, colour styles, glyph cells and
// the hot colour that fades out when the mouse leaves.
template <class Base>
class TLbButtonBase : public Base {
public:
    explicit TLbButtonBase(TComponent* owner) : Base(owner) {
        this->InitBounds(0, 0, 100, 23);
        this->InitColor(clBtnFace);
        // The hot-track font starts as the owner form's font.
        if (auto* form = dynamic_cast<TCustomForm*>(owner)) hotTrackFont_ = form->Font();
    }
    ~TLbButtonBase() override { fade_.reset(); }

    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment v) { Set(alignment_, v); }
    TColor ColorWhenDown() const { return colorWhenDown_; }
    void SetColorWhenDown(TColor v) { Set(colorWhenDown_, v); }
    TColor HotTrackColor() const { return hotTrackColor_; }
    void SetHotTrackColor(TColor v) { Set(hotTrackColor_, v); }
    TColor LightColor() const { return lightColor_; }
    void SetLightColor(TColor v) { Set(lightColor_, v); }
    TColor ShadowColor() const { return shadowColor_; }
    void SetShadowColor(TColor v) { Set(shadowColor_, v); }
    bool Flat() const { return flat_; }
    void SetFlat(bool v) { Set(flat_, v); }
    bool UseHotTrackFont() const { return useHotTrackFont_; }
    void SetUseHotTrackFont(bool v) { Set(useHotTrackFont_, v); }
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool v) { Set(wordWrap_, v); }
    TLbButtonLayout Layout() const { return layout_; }
    void SetLayout(TLbButtonLayout v) { Set(layout_, v); }
    const TFont& HotTrackFont() const { return hotTrackFont_; }
    void SetHotTrackFont(const TFont& v) { Set(hotTrackFont_, v); }

    TLbColorStyle ColorStyle() const { return colorStyle_; }
    void SetColorStyle(TLbColorStyle style) {
        colorStyle_ = style;
        TLbColorStylePreset p;
        if (!GetColorStylePreset(style, p)) return;
        this->SetColor(p.Face);
        lightColor_ = p.Light;
        shadowColor_ = p.Shadow;
        hotTrackColor_ = p.HotTrack;
        colorWhenDown_ = p.WhenDown;
        flat_ = p.Flat;
        this->SetFontColor(p.Font);
        SetStyle(bsNormal);
        if (p.Style != bsNormal) SetStyle(p.Style);
        Refresh();
    }

    TLbButtonStyle Style() const { return style_; }
    virtual void SetStyle(TLbButtonStyle style) {
        style_ = style;
        this->Invalidate();
    }

    const TBitmap& Glyph() const { return glyph_; }
    // Copies the picture; its cells are taken as square (NumGlyphs = width div height).
    virtual void SetGlyph(const TBitmap& glyph) {
        glyph_ = glyph;
        numGlyphs_ = glyph.Empty() ? 0 : glyph.Width() / glyph.Height();
        this->Invalidate();
    }
    void ClearGlyph() { SetGlyph(TBitmap()); }
    int NumGlyphs() const { return numGlyphs_; }
    void SetNumGlyphs(int n) {
        numGlyphs_ = std::max(0, n);
        this->Invalidate();
    }

    bool SlowDecease() const { return fade_ != nullptr; }
    void SetSlowDecease(bool slow) {
        if (slow && !fade_) {
            fade_ = std::make_unique<TLbFadeTimer>([this] { FadeTick(); });
        } else if (!slow && fade_) {
            fadeStep_ = 0;
            fade_.reset();
        }
        this->Invalidate();
    }

    int FadeStep() const { return fadeStep_; }
    bool MouseInside() const { return mouseInside_; }
    bool Fading() const { return fade_ && fade_->Running(); }
    HWND FadeTimerHandle() const { return fade_ ? fade_->Handle() : 0; }

    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseExit;

    // Besides the common properties, an action's image becomes the glyph of a button without one.
    void ActionChange(TCustomAction* action) override {
        Base::ActionChange(action);
        TImageList* images = action->ActionList() ? action->ActionList()->Images() : nullptr;
        int index = action->ImageIndex();
        if (!images || index < 0 || index >= images->Count() || !glyph_.Empty()) return;
        TBitmap image;
        images->GetBitmap(index, image);
        // Drawn again at the screen's ratio, as the image itself is.
        glyph_ = TBitmap::Drawn([image](double ratio) {
            TBitmap picture(image.Width(), image.Height(), pf24bit, ratio);
            picture.Canvas().Brush.Color = kLbTransparent;
            picture.Canvas().FillRect({0, 0, image.Width(), image.Height()});
            picture.Canvas().DrawAlpha(0, 0, image.ForRatio(ratio));
            return picture;
        });
        numGlyphs_ = 1;
        this->Invalidate();
    }

    void WndProc(TMessage& m) override {
        if (m.Msg == CM_MOUSEENTER) {
            MouseEnter();
            return;
        }
        if (m.Msg == CM_MOUSELEAVE) {
            MouseLeave();
            return;
        }
        Base::WndProc(m);
    }

protected:
    // Shows a changed state or property at once.
    virtual void Refresh() = 0;

    template <class T>
    void Set(T& field, const T& value) {
        if (field == value) return;
        field = value;
        Refresh();
    }

    bool Reachable() const {
        return this->Enabled() && this->Visible() && this->Parent() && this->Parent()->Showing();
    }

    void MouseEnter() {
        if (!Reachable()) return;
        mouseInside_ = true;
        fadeStep_ = 8;
        // Back under the mouse the hot colour stays, however far the fade had gone.
        if (fade_) fade_->Stop();
        Refresh();
        if (OnMouseEnter) OnMouseEnter(this);
    }

    void MouseLeave() {
        mouseInside_ = false;
        if (fade_) {
            fade_->Start();
        } else {
            fadeStep_ = 0;
            Refresh();
        }
        if (Reachable() && OnMouseExit) OnMouseExit(this);
    }

    void FadeTick() {
        if (this->Destroying()) return;
        if (--fadeStep_ < 1) {
            fade_->Stop();
            fadeStep_ = 0;
        }
        Refresh();
    }

    // A picture of the button as PaintLbButton draws it, made for `target` (at its pixel ratio);
    // keyed pictures start transparent so that rounded corners show what lies below.
    TBitmap Picture(const TCanvas& target, int w, int h, bool keyed, const TFont& font,
                    TColor light, TColor shadow, bool transparent, bool hot, bool pressed) const {
        TBitmap picture(std::max(w, 0), std::max(h, 0), pf24bit, target.PixelRatio());
        if (keyed) {
            picture.Canvas().Brush.Color = kLbTransparent;
            picture.Canvas().FillRect({0, 0, w, h});
            picture.Transparent = true;
            picture.SetTransparentColor(kLbTransparent);
        }
        PaintLbButton(picture.Canvas(), w, h, alignment_, this->Caption(), layout_, font, shadow,
                      light, hotTrackColor_, colorWhenDown_, this->Color(), style_,
                      this->PopupMenu() != nullptr, wordWrap_, flat_, this->Enabled(), transparent,
                      hot, pressed, glyph_, numGlyphs_, fadeStep_);
        return picture;
    }

    static bool KeyedStyle(TLbButtonStyle s) {
        return s == bsModern || s == bsShape || s == bsQuicken;
    }

    TAlignment alignment_ = taCenter;
    TColor colorWhenDown_ = clNone;
    TColor hotTrackColor_ = clNone;
    TColor lightColor_ = 0xFFFFFF;
    TColor shadowColor_ = 0x808080;
    TLbColorStyle colorStyle_ = lcsCustom;
    bool flat_ = false;
    bool useHotTrackFont_ = false;
    bool wordWrap_ = false;
    TLbButtonLayout layout_ = TLbButtonLayout::blGlyphLeft;
    TLbButtonStyle style_ = bsNormal;
    TFont hotTrackFont_;
    TBitmap glyph_;
    int numGlyphs_ = 0;
    bool mouseInside_ = false;
    int fadeStep_ = 0;
    std::unique_ptr<TLbFadeTimer> fade_;
};

}  // namespace rv
