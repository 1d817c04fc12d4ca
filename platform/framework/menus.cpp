#include "platform/framework/menus.h"

#include <algorithm>
#include <functional>

#include "platform/framework/internal/menu_views.h"
#include "platform/text/format.h"
#include "platform/windows/window_constants.h"

namespace rv {

TShortCut ShortCut(int key, TShiftState shift) {
    TShortCut sc = TShortCut(key & 0xFF);
    if (shift & ssShift) sc |= scShift;
    if (shift & ssCtrl) sc |= scCtrl;
    if (shift & ssAlt) sc |= scAlt;
    return sc;
}

namespace {

std::string KeyName(int key) {
    switch (key) {
        case VK_BACK:
            return "BkSp";
        case VK_TAB:
            return "Tab";
        case VK_RETURN:
            return "Enter";
        case VK_ESCAPE:
            return "Esc";
        case VK_SPACE:
            return "Space";
        case VK_PRIOR:
            return "PgUp";
        case VK_NEXT:
            return "PgDn";
        case VK_END:
            return "End";
        case VK_HOME:
            return "Home";
        case VK_LEFT:
            return "Left";
        case VK_UP:
            return "Up";
        case VK_RIGHT:
            return "Right";
        case VK_DOWN:
            return "Down";
        case VK_INSERT:
            return "Ins";
        case VK_DELETE:
            return "Del";
        default:
            break;
    }
    if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) return std::string(1, char(key));
    if (key >= VK_F1 && key < VK_F1 + 24) return Format("F%d", key - VK_F1 + 1);
    return {};
}

}  // namespace

std::string ShortCutToText(TShortCut shortCut) {
    std::string name = KeyName(shortCut & 0xFF);
    if (name.empty()) return {};
    std::string text;
    if (shortCut & scShift) text += "Shift+";
    if (shortCut & scCtrl) text += "Ctrl+";
    if (shortCut & scAlt) text += "Alt+";
    return text + name;
}

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner) {}

TMenuItem::~TMenuItem() {
    MarkDestroying();
    if (parent_) parent_->Remove(this);
    Clear();
}

void TMenuItem::Changed(bool rebuild) {
    if (TMenu* menu = GetParentMenu(); menu && menu->view_) menu->view_->Changed(this, rebuild);
}

void TMenuItem::SetCaption(const std::string& caption) {
    if (caption == caption_) return;
    bool wasLine = IsLine();
    caption_ = caption;
    // A separator is another kind of entry.
    if (wasLine != IsLine() && parent_)
        parent_->Changed(true);
    else
        Changed(false);
}

void TMenuItem::SetEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    Changed(false);
}

void TMenuItem::SetChecked(bool checked) {
    if (checked == checked_) return;
    checked_ = checked;
    Changed(false);
}

void TMenuItem::SetVisible(bool visible) {
    if (visible == visible_) return;
    visible_ = visible;
    Changed(false);
}

void TMenuItem::SetShortCut(TShortCut shortCut) {
    if (shortCut == shortCut_) return;
    shortCut_ = shortCut;
    Changed(false);
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
    Changed(true);
}

void TMenuItem::Remove(TMenuItem* item) {
    auto it = std::find(items_.begin(), items_.end(), item);
    if (it == items_.end()) return;
    items_.erase(it);
    item->parent_ = nullptr;
    Changed(true);
}

void TMenuItem::Clear() {
    while (!items_.empty()) delete items_.back();
}

TMenu* TMenuItem::GetParentMenu() const {
    const TMenuItem* item = this;
    while (item->parent_) item = item->parent_;
    return item->menu_;
}

bool TMenuItem::Reachable() const {
    for (const TMenuItem* item = this; item && !item->menu_; item = item->parent_)
        if (!item->enabled_ || !item->visible_) return false;
    return true;
}

void TMenuItem::Click() {
    // A copy: the handler may free the item, say by rebuilding its menu.
    if (TNotifyEvent handler = OnClick) handler(this);
}

void TMenuItem::PublishProperties(TPropList& list) {
    TComponent::PublishProperties(list);
    list.push_back(StringProperty(
        "Caption", [this] { return caption_; }, [this](const std::string& v) { SetCaption(v); }));
}

TMenu::TMenu(TComponent* owner) : TComponent(owner), items_(std::make_unique<TMenuItem>(nullptr)) {
    items_->menu_ = this;
}

TMenu::~TMenu() {
    // The presentation goes first; then the items, while the menu is still whole.
    view_.reset();
    items_.reset();
}

void TMenu::SetView(std::unique_ptr<TMenuView> view) {
    view_ = std::move(view);
}

TMenuItem* TMenu::FindShortCut(TShortCut shortCut) const {
    if (shortCut == scNone) return nullptr;
    std::function<TMenuItem*(const TMenuItem*)> find = [&](const TMenuItem* parent) -> TMenuItem* {
        for (TMenuItem* item : parent->items_) {
            if (!item->enabled_ || !item->visible_) continue;
            if (item->shortCut_ == shortCut) return item;
            if (TMenuItem* found = find(item)) return found;
        }
        return nullptr;
    };
    return find(items_.get());
}

bool TMenu::IsShortCut(TShortCut shortCut) {
    TMenuItem* item = FindShortCut(shortCut);
    if (!item) return false;
    item->Click();
    return true;
}

void TPopupMenu::Popup(int x, int y) {
    PopupPoint = {x, y};
    ++PopupCount;
    if (OnPopup) OnPopup(this);
    ShowPopupMenu(*this, x, y);
}

void TPopupMenu::Notification(TComponent* component, TOperation operation) {
    TMenu::Notification(component, operation);
    if (operation == TOperation::opRemove && component == popupComponent_)
        popupComponent_ = nullptr;
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
