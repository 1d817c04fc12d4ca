#pragma once

#include <string>

#include "platform/framework/widget_control.h"
#include "platform/graphics/text_flags.h"

namespace rv {

// The frame of an edit: none, a plain line, or a sunken client edge of two pixels.
enum class TEditFrame { efNone, efSingle, efClientEdge };
using enum TEditFrame;

// A one-line text box. The clipboard keys (Ctrl+C, Ctrl+X, Ctrl+V, Ctrl+A, Ctrl+Z and their
// Shift+Insert, Ctrl+Insert, Shift+Delete twins) act on the desktop's clipboard unless the
// window procedure takes the key.
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
    // The selection from SelStart (characters), SelLength characters long; the caret at its end.
    void SetSelStart(int start);
    void SetSelLength(int length);
    std::string SelText() const;
    // Whether the user changed the text since SetText or SetModified(false).
    bool Modified() const;
    void SetModified(bool modified);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment alignment);
    // The edit's frame (the default: the toolkit's own look).
    void SetFrame(TEditFrame frame);
    // Room between the client area's edges and the text (the formatting rectangle).
    void SetTextMargins(int left, int top, int right, int bottom);

    // Whenever the text changes, by the user or by SetText.
    TNotifyEvent OnChange;

protected:
    virtual void Change();

private:
    int maxLength_ = 0;
    char passwordChar_ = 0;
    TAlignment alignment_ = taLeftJustify;
};

}  // namespace rv
