#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/components/component.h"
#include "platform/framework/input_types.h"
#include "platform/graphics/geometry.h"

namespace rv {

class TMenu;

// A menu shortcut: a virtual-key code with scShift, scCtrl and scAlt for the keys held with it.
using TShortCut = std::uint16_t;
inline constexpr TShortCut scNone = 0;
inline constexpr TShortCut scShift = 0x2000;
inline constexpr TShortCut scCtrl = 0x4000;
inline constexpr TShortCut scAlt = 0x8000;
TShortCut ShortCut(int key, TShiftState shift);
// The shortcut as menus show it: "Ctrl+N", "Ctrl+Enter", "Shift+Del", "F1".
std::string ShortCutToText(TShortCut shortCut);

// One entry of a menu, holding the entries of its submenu. "&" in the caption marks the
// accelerator and "&&" stands for an ampersand; the caption "-" is a separator line.
//
// An item is freed by its owner like any component, or with the item it belongs to; either way
// it leaves the other first.
class TMenuItem : public TComponent {
public:
    explicit TMenuItem(TComponent* owner);
    ~TMenuItem() override;
    std::string ClassName() const override { return "TMenuItem"; }

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);
    bool IsLine() const { return caption_ == "-"; }
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    bool Checked() const { return checked_; }
    void SetChecked(bool checked);
    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    // Chooses the item when its keys are pressed in the menu's form, while the item and every
    // item above it are enabled and visible.
    TShortCut ShortCut() const { return shortCut_; }
    void SetShortCut(TShortCut shortCut);

    // The submenu.
    int Count() const { return int(items_.size()); }
    TMenuItem* Items(int index) const { return items_.at(size_t(index)); }
    int IndexOf(const TMenuItem* item) const;
    void Add(TMenuItem* item);
    void Insert(int index, TMenuItem* item);
    // Takes the item out of the submenu without freeing it.
    void Remove(TMenuItem* item);
    // Frees every item of the submenu.
    void Clear();

    TMenuItem* Parent() const { return parent_; }
    // The menu whose tree holds this item, or nullptr.
    TMenu* GetParentMenu() const;
    // The item and every item above it are enabled and visible.
    bool Reachable() const;

    TNotifyEvent OnClick;
    // What choosing the item does: OnClick, when set. The handler may free the item.
    virtual void Click();

    // Caption, Tag.
    void PublishProperties(TPropList& list) override;

private:
    friend class TMenu;
    // Tells the menu's presentation; `rebuild` when the submenu's items changed.
    void Changed(bool rebuild);

    std::string caption_;
    bool enabled_ = true;
    bool checked_ = false;
    bool visible_ = true;
    TShortCut shortCut_ = scNone;
    TMenuItem* parent_ = nullptr;
    TMenu* menu_ = nullptr;  // set on a menu's root item
    std::vector<TMenuItem*> items_;
};

// How a menu is presented on the screen; told of every change of its items.
class TMenuView {
public:
    virtual ~TMenuView() = default;
    // `item` changed (caption, state, shortcut); with `rebuild` its submenu's items changed.
    virtual void Changed(TMenuItem* item, bool rebuild) = 0;
};

// A menu: a tree of items under a root item that is never shown itself.
class TMenu : public TComponent {
public:
    explicit TMenu(TComponent* owner);
    ~TMenu() override;
    std::string ClassName() const override { return "TMenu"; }
    TMenuItem* Items() const { return items_.get(); }

    // The reachable item with this shortcut, the first in menu order, or nullptr.
    TMenuItem* FindShortCut(TShortCut shortCut) const;
    // Clicks the reachable item with this shortcut; false when there is none.
    bool IsShortCut(TShortCut shortCut);

    // The presentation, which the menu owns from now on (nullptr: none).
    TMenuView* View() const { return view_.get(); }
    void SetView(std::unique_ptr<TMenuView> view);

private:
    friend class TMenuItem;
    std::unique_ptr<TMenuView> view_;
    std::unique_ptr<TMenuItem> items_;
};

// The menu bar of a form.
class TMainMenu : public TMenu {
public:
    using TMenu::TMenu;
    std::string ClassName() const override { return "TMainMenu"; }
};

// A menu that pops up at a screen point: on a right click of a control that names it (when
// AutoPopup), or when asked.
class TPopupMenu : public TMenu {
public:
    using TMenu::TMenu;
    std::string ClassName() const override { return "TPopupMenu"; }
    // Raises OnPopup (which may still change the items), then shows the menu and returns; a
    // chosen item is clicked afterwards, from the message loop.
    virtual void Popup(int x, int y);
    TNotifyEvent OnPopup;
    bool AutoPopup = true;
    TPoint PopupPoint;
    int PopupCount = 0;

    // Who popped the menu up, set by each that does before it calls Popup (the control clicked
    // or its parent that has the menu, a tree for its header's menu, a button), so that the
    // handlers of one menu shared by several can tell; nullptr once that component is freed.
    TComponent* PopupComponent() const { return popupComponent_; }
    void SetPopupComponent(TComponent* component) { SetLink(popupComponent_, component); }

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    TComponent* popupComponent_ = nullptr;
};

// The caption as shown: accelerator marks removed, "&&" shown as "&".
std::string StripHotkey(const std::string& caption);

}  // namespace rv
