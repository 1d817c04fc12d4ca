#include "platform/framework/application_events.h"

#include "platform/messages/application.h"

namespace rv {

TApplicationEvents::TApplicationEvents(TComponent* owner) : TComponent(owner) {
    if (Application)
        Application->AddIdleHandler(this, [this](bool& done) {
            if (OnIdle) OnIdle(this, done);
        });
}

TApplicationEvents::~TApplicationEvents() {
    if (Application) Application->RemoveIdleHandler(this);
}

}  // namespace rv
