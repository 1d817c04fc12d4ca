#pragma once

#include "platform/framework/custom_controls.h"

namespace rv {

// A frame with its caption in the top line, around the controls it holds. Disabled, it disables
// them too.
class TGroupBox : public TCustomControl {
public:
    explicit TGroupBox(TComponent* owner);
    std::string ClassName() const override { return "TGroupBox"; }

protected:
    void Paint() override;
    void AdjustClientRect(TRect& rect) const override;
};

}  // namespace rv
