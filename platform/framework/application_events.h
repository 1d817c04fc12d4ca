#pragma once

#include <functional>

#include "platform/components/component.h"

namespace rv {

// Hears of the application's idle passes for as long as it lives (Application's OnIdle stays
// free for others). Done starts true; set to false it asks to be called again at once instead
// of after the next message.
class TApplicationEvents : public TComponent {
public:
    explicit TApplicationEvents(TComponent* owner);
    ~TApplicationEvents() override;
    std::string ClassName() const override { return "TApplicationEvents"; }

    std::function<void(TObject* sender, bool& done)> OnIdle;
};

}  // namespace rv
