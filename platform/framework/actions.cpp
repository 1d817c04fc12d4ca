#include "platform/framework/actions.h"

#include <algorithm>

#include "platform/framework/control.h"
#include "platform/graphics/image_list.h"

namespace rv {

void TActionList::SetImages(TImageList* images) {
    SetLink(images_, images);
}

void TActionList::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == TOperation::opRemove && component == images_) images_ = nullptr;
}

void TCustomAction::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == TOperation::opRemove && component == actionList_) actionList_ = nullptr;
}

TCustomAction::~TCustomAction() {
    for (TControl* c : std::vector<TControl*>(clients_)) c->SetAction(nullptr);
}

void TCustomAction::SetCaption(const std::string& caption) {
    caption_ = caption;
    Changed();
}

void TCustomAction::SetEnabled(bool enabled) {
    enabled_ = enabled;
    Changed();
}

void TCustomAction::SetHint(const std::string& hint) {
    hint_ = hint;
    Changed();
}

void TCustomAction::SetVisible(bool visible) {
    visible_ = visible;
    Changed();
}

void TCustomAction::SetImageIndex(int index) {
    imageIndex_ = index;
    Changed();
}

bool TCustomAction::Execute() {
    if (!enabled_ || !OnExecute) return false;
    OnExecute(this);
    return true;
}

void TCustomAction::RegisterClient(TControl* control) {
    if (std::find(clients_.begin(), clients_.end(), control) == clients_.end())
        clients_.push_back(control);
}

void TCustomAction::UnregisterClient(TControl* control) {
    clients_.erase(std::remove(clients_.begin(), clients_.end(), control), clients_.end());
}

void TCustomAction::Changed() {
    for (TControl* c : std::vector<TControl*>(clients_)) c->ActionChange(this);
}

}  // namespace rv
