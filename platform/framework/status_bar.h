#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/framework/custom_controls.h"

namespace rv {

class TStatusBar;

// One field of a status bar, Width pixels wide; the last one takes the rest of the bar.
class TStatusPanel {
public:
    const std::string& Text() const { return text_; }
    void SetText(const std::string& text);
    int Width() const { return width_; }
    void SetWidth(int width);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment alignment);

private:
    friend class TStatusBar;
    explicit TStatusPanel(TStatusBar* bar) : bar_(bar) {}
    TStatusBar* bar_;
    std::string text_;
    int width_ = 50;
    TAlignment alignment_ = taLeftJustify;
};

// The strip of fields along the bottom of a window.
class TStatusBar : public TCustomControl {
public:
    explicit TStatusBar(TComponent* owner);
    std::string ClassName() const override { return "TStatusBar"; }

    TStatusPanel* AddPanel();
    int PanelCount() const { return int(panels_.size()); }
    TStatusPanel* Panels(int index) const;  // nullptr out of range
    // Where the field is drawn, client coordinates.
    TRect PanelRect(int index) const;
    // The width a panel (not the last) needs to show `text` whole in the bar's font.
    int PanelWidthFor(const std::string& text) const;

protected:
    void Paint() override;

private:
    friend class TStatusPanel;
    std::vector<std::unique_ptr<TStatusPanel>> panels_;
};

}  // namespace rv
