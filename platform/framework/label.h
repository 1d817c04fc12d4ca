#pragma once

#include "platform/framework/custom_controls.h"

namespace rv {

enum class TTextLayout { tlTop, tlCenter, tlBottom };
using enum TTextLayout;

// A caption on its parent. With AutoSize it takes the size of its text (with WordWrap: the
// height at its width); "&" marks the accelerator unless ShowAccelChar is off.
class TLabel : public TGraphicControl {
public:
    explicit TLabel(TComponent* owner);
    std::string ClassName() const override { return "TLabel"; }

    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool value);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment alignment);
    TTextLayout Layout() const { return layout_; }
    void SetLayout(TTextLayout layout);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool value);
    // Leaves the parent's pixels behind the text instead of filling with Color.
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool value);
    bool ShowAccelChar() const { return showAccelChar_; }
    void SetShowAccelChar(bool value);

    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;

    void WndProc(TMessage& message) override;

protected:
    void Paint() override;

private:
    unsigned TextFlags() const;
    void AdjustBounds();

    bool autoSize_ = true;
    TAlignment alignment_ = taLeftJustify;
    TTextLayout layout_ = tlTop;
    bool wordWrap_ = false;
    bool transparent_ = false;
    bool showAccelChar_ = true;
};

}  // namespace rv
