#pragma once

#include "platform/framework/widget_control.h"

namespace rv {

// A box the user ticks, with its caption beside it. OnClick runs whenever the tick changes, by
// the user or by SetChecked.
class TCheckBox : public TWidgetControl {
public:
    explicit TCheckBox(TComponent* owner);
    std::string ClassName() const override { return "TCheckBox"; }

    bool Checked() const;
    void SetChecked(bool checked);

protected:
    void TextChanged() override;
    unsigned DialogCode() const override { return 0; }
};

}  // namespace rv
