#include "platform/components/component.h"

#include <algorithm>

#include "platform/text/ascii_case.h"

namespace rv {

TComponent::TComponent(TComponent* owner) {
    if (owner) owner->InsertComponent(this);
}

TComponent::~TComponent() {
    MarkDestroying();
    DestroyComponents();
    while (!freeNotifies_.empty()) {
        TComponent* other = freeNotifies_.back();
        RemoveFreeNotification(other);
        other->Notification(this, TOperation::opRemove);
    }
    if (owner_) owner_->RemoveComponent(this);
}

void TComponent::FreeNotification(TComponent* component) {
    if (!component || component == this) return;
    auto add = [](std::vector<TComponent*>& list, TComponent* c) {
        if (std::find(list.begin(), list.end(), c) == list.end()) list.push_back(c);
    };
    add(freeNotifies_, component);
    add(component->freeNotifies_, this);
}

void TComponent::RemoveFreeNotification(TComponent* component) {
    if (!component) return;
    std::erase(freeNotifies_, component);
    std::erase(component->freeNotifies_, this);
}

void TComponent::FinishLoading() {
    for (TComponent* c : std::vector<TComponent*>(components_)) c->Loaded();
    Loaded();
}

void TComponent::Loaded() {
    SetLoading(false);
}

void TComponent::PublishProperties(TPropList& list) {
    list.push_back(IntegerProperty(
        "Tag", [this] { return Tag; }, [this](int v) { Tag = v; }));
}

void TComponent::DestroyComponents() {
    while (!components_.empty()) {
        TComponent* last = components_.back();
        RemoveComponent(last);
        delete last;
    }
}

void TComponent::SetName(const std::string& name) {
    if (SameText(name, name_)) {
        name_ = name;
        return;
    }
    if (owner_ && !name.empty() && owner_->FindComponent(name))
        throw EComponentError("A component named " + name + " already exists.");
    name_ = name;
}

TComponent* TComponent::FindComponent(const std::string& name) const {
    if (name.empty()) return nullptr;
    for (TComponent* c : components_)
        if (SameText(c->name_, name)) return c;
    return nullptr;
}

void TComponent::InsertComponent(TComponent* component) {
    if (!component || component->owner_ == this) return;
    if (component->owner_) component->owner_->RemoveComponent(component);
    if (!component->name_.empty() && FindComponent(component->name_))
        throw EComponentError("A component named " + component->name_ + " already exists.");
    components_.push_back(component);
    component->owner_ = this;
    for (TComponent* c : std::vector<TComponent*>(components_))
        if (c != component) c->Notification(component, TOperation::opInsert);
}

void TComponent::RemoveComponent(TComponent* component) {
    auto it = std::find(components_.begin(), components_.end(), component);
    if (it == components_.end()) return;
    components_.erase(it);
    component->owner_ = nullptr;
    for (TComponent* c : std::vector<TComponent*>(components_))
        c->Notification(component, TOperation::opRemove);
    Notification(component, TOperation::opRemove);
}

void TComponent::Notification(TComponent*, TOperation) {}

}  // namespace rv
