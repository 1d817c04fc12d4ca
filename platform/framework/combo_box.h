#pragma once

#include <string>
#include <vector>

#include "platform/framework/widget_control.h"

namespace rv {

// csDropDown: a text box with a list to pick from; csDropDownList: a choice of the list alone.
enum class TComboBoxStyle { csDropDown, csDropDownList };
using enum TComboBoxStyle;

class TComboBox : public TWidgetControl {
public:
    explicit TComboBox(TComponent* owner);
    std::string ClassName() const override { return "TComboBox"; }

    TComboBoxStyle Style() const { return style_; }
    void SetStyle(TComboBoxStyle style);

    const std::vector<std::string>& Items() const { return items_; }
    void SetItems(const std::vector<std::string>& items);
    void AddItem(const std::string& item);
    void ClearItems();

    // The position of the chosen entry, -1 for none.
    int ItemIndex() const;
    void SetItemIndex(int index);
    // csDropDown: the text in the box; csDropDownList: the chosen entry's, and setting it chooses
    // the first entry with exactly that text (or none).
    std::string Text() const;
    void SetText(const std::string& text);
    // Entries the open list shows at once.
    int DropDownCount() const;
    void SetDropDownCount(int count);

    // When the user changes the text or picks an entry (not when the program does).
    TNotifyEvent OnChange;

    // Items, besides the control's.
    void PublishProperties(TPropList& list) override;

protected:
    virtual void Change();

private:
    void ConnectEdit();

    TComboBoxStyle style_ = csDropDown;
    std::vector<std::string> items_;
};

}  // namespace rv
