#pragma once

#include <string>
#include <vector>

#include "platform/framework/scroll_style.h"
#include "platform/framework/widget_control.h"
#include "platform/graphics/text_flags.h"

namespace rv {

// The frame of an edit: none, a plain line, or a sunken client edge of two pixels.
enum class TEditFrame { efNone, efSingle, efClientEdge };
using enum TEditFrame;

// A text box of one line, or of several (the platform's multi-line style). The clipboard keys
// (Ctrl+C, Ctrl+X, Ctrl+V, Ctrl+A, Ctrl+Z and their Shift+Insert, Ctrl+Insert, Shift+Delete
// twins) act on the desktop's clipboard unless the window procedure takes the key. Lines of a
// multi-line text are parted by "\n" (a "\r\n" given is taken as one break).
class TCustomEdit : public TWidgetControl {
public:
    explicit TCustomEdit(TComponent* owner);
    std::string ClassName() const override { return "TCustomEdit"; }

    std::string Text() const;
    void SetText(const std::string& text);
    // The most characters the user may type; 0: no limit.
    int MaxLength() const { return maxLength_; }
    void SetMaxLength(int length);
    // Not 0: the text is shown masked (one-line boxes).
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

    // Several lines: Enter, typed into the box, breaks the line; long lines wrap at the box's
    // width with WordWrap, else the text scrolls sideways.
    bool MultiLine() const { return multiLine_; }
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool wrap);
    // The bars a multi-line box shows, always (as the platform's edits do).
    TScrollStyle ScrollBars() const { return scrollBars_; }
    void SetScrollBars(TScrollStyle bars);

    // Whenever the text changes, by the user or by SetText.
    TNotifyEvent OnChange;

protected:
    virtual void Change();
    // Turns the box into a multi-line one or back; text, selection, look and frame stay.
    void SetMultiLine(bool multiLine);

private:
    void MakeFace();
    void ApplyLines();

    int maxLength_ = 0;
    char passwordChar_ = 0;
    TAlignment alignment_ = taLeftJustify;
    TEditFrame frame_ = efNone;
    bool framed_ = false;  // SetFrame was called: the host draws the frame
    int margins_[4] = {0, 0, 0, 0};
    bool multiLine_ = false;
    bool wordWrap_ = true;
    TScrollStyle scrollBars_ = ssNone;
};

// A one-line text box.
class TEdit : public TCustomEdit {
public:
    explicit TEdit(TComponent* owner) : TCustomEdit(owner) {}
    std::string ClassName() const override { return "TEdit"; }
};

// A text of several lines. It keeps Enter for a line break (WantReturns) unless that is
// switched off, and Tab only with WantTabs; what it leaves goes to the form.
class TMemo : public TCustomEdit {
public:
    explicit TMemo(TComponent* owner);
    std::string ClassName() const override { return "TMemo"; }

    std::vector<std::string> Lines() const;
    void SetLines(const std::vector<std::string>& lines);
    bool WantReturns = true;
    bool WantTabs = false;

    void WndProc(TMessage& message) override;

protected:
    unsigned DialogCode() const override;
};

}  // namespace rv
