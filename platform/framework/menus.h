#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/framework/component.h"
#include "platform/graphics/geometry.h"

namespace rv {

class TMenu;

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
    void SetCaption(const std::string& caption) { caption_ = caption; }
    bool IsLine() const { return caption_ == "-"; }
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled) { enabled_ = enabled; }

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

    TNotifyEvent OnClick;
    // What choosing the item does: OnClick, when set. The handler may free the item.
    virtual void Click();

    // Caption, Tag.
    void PublishProperties(TPropList& list) override;

private:
    friend class TMenu;
    std::string caption_;
    bool enabled_ = true;
    TMenuItem* parent_ = nullptr;
    TMenu* menu_ = nullptr;  // set on a menu's root item
    std::vector<TMenuItem*> items_;
};

// A menu: a tree of items under a root item that is never shown itself.
class TMenu : public TComponent {
public:
    explicit TMenu(TComponent* owner);
    ~TMenu() override;
    std::string ClassName() const override { return "TMenu"; }
    TMenuItem* Items() const { return items_.get(); }

private:
    std::unique_ptr<TMenuItem> items_;
};

// The menu bar of a form.
class TMainMenu : public TMenu {
public:
    using TMenu::TMenu;
    std::string ClassName() const override { return "TMainMenu"; }
};

// A menu that pops up at a screen point.
class TPopupMenu : public TMenu {
public:
    using TMenu::TMenu;
    std::string ClassName() const override { return "TPopupMenu"; }
    virtual void Popup(int x, int y);
    TNotifyEvent OnPopup;
    TPoint PopupPoint;
    int PopupCount = 0;
};

// The caption as shown: accelerator marks removed, "&&" shown as "&".
std::string StripHotkey(const std::string& caption);

}  // namespace rv
