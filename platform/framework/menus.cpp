#include "platform/framework/menus.h"

#include <algorithm>

namespace rv {

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner) {}

TMenuItem::~TMenuItem() {
    MarkDestroying();
    if (parent_) parent_->Remove(this);
    Clear();
}

int TMenuItem::IndexOf(const TMenuItem* item) const {
    auto it = std::find(items_.begin(), items_.end(), item);
    return it == items_.end() ? -1 : int(it - items_.begin());
}

void TMenuItem::Add(TMenuItem* item) {
    Insert(Count(), item);
}

void TMenuItem::Insert(int index, TMenuItem* item) {
    if (!item) return;
    if (item->parent_ || item->menu_) throw EComponentError("Menu inserted twice");
    index = std::clamp(index, 0, Count());
    items_.insert(items_.begin() + index, item);
    item->parent_ = this;
}

void TMenuItem::Remove(TMenuItem* item) {
    auto it = std::find(items_.begin(), items_.end(), item);
    if (it == items_.end()) return;
    items_.erase(it);
    item->parent_ = nullptr;
}

void TMenuItem::Clear() {
    while (!items_.empty()) delete items_.back();
}

TMenu* TMenuItem::GetParentMenu() const {
    const TMenuItem* item = this;
    while (item->parent_) item = item->parent_;
    return item->menu_;
}

void TMenuItem::Click() {
    // A copy: the handler may free the item, say by rebuilding its menu.
    if (TNotifyEvent handler = OnClick) handler(this);
}

void TMenuItem::PublishProperties(TPropList& list) {
    TComponent::PublishProperties(list);
    list.push_back(StringProperty(
        "Caption", [this] { return caption_; }, [this](const std::string& v) { caption_ = v; }));
}

TMenu::TMenu(TComponent* owner) : TComponent(owner), items_(std::make_unique<TMenuItem>(nullptr)) {
    items_->menu_ = this;
}

TMenu::~TMenu() {
    // The items go while the menu is still whole.
    items_.reset();
}

void TPopupMenu::Popup(int x, int y) {
    PopupPoint = {x, y};
    ++PopupCount;
    if (OnPopup) OnPopup(this);
}

std::string StripHotkey(const std::string& caption) {
    std::string shown;
    for (size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&' && i + 1 < caption.size()) ++i;
        shown += caption[i];
    }
    return shown;
}

}  // namespace rv
