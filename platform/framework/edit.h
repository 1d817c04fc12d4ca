#pragma once

#include <string>

#include "platform/framework/widget_control.h"

namespace rv {

// A one-line text box.
class TEdit : public TWidgetControl {
public:
    explicit TEdit(TComponent* owner);
    std::string ClassName() const override { return "TEdit"; }

    std::string Text() const;
    void SetText(const std::string& text);
    // The most characters the user may type; 0: no limit.
    int MaxLength() const { return maxLength_; }
    void SetMaxLength(int length);
    // Not 0: the text is shown masked.
    char PasswordChar() const { return passwordChar_; }
    void SetPasswordChar(char c);
    bool ReadOnly() const;
    void SetReadOnly(bool readOnly);
    void SelectAll();
    int SelStart() const;
    int SelLength() const;

    // Whenever the text changes, by the user or by SetText.
    TNotifyEvent OnChange;

protected:
    virtual void Change();

private:
    int maxLength_ = 0;
    char passwordChar_ = 0;
};

}  // namespace rv
