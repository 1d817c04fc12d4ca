#pragma once

#include "platform/framework/win_control.h"

class QObject;
class QWidget;

namespace rv {

// A windowed control whose face is one of the toolkit's own widgets, covering its client area:
// the toolkit draws it and edits in it, the control keeps the framework's side (bounds,
// visibility, enabled state, font and colours, focus, keys, mouse buttons, pop-up menu and
// events). Keys reach the control's handlers first (OnKeyDown, OnKeyPress, a form's default and
// cancel buttons, menu shortcuts); the face acts only on what they leave, with the character an
// OnKeyPress handler put in place.
class TWidgetControl : public TWinControl {
public:
    explicit TWidgetControl(TComponent* owner);
    ~TWidgetControl() override;
    std::string ClassName() const override { return "TWidgetControl"; }

    void WndProc(TMessage& message) override;
    // The face takes the font and colour the new parent passes on.
    void SetParent(TWinControl* parent) override;

protected:
    // The face, owned by the control from now on (a face shown before goes); `mouseArea`: where
    // it takes the mouse, when that is a part of it (a list's rows).
    void SetFace(QWidget* face, QWidget* mouseArea = nullptr);
    QWidget* Face() const { return face_; }
    // The context of the face's connections: they end with the control.
    QObject* Guard() const { return guard_; }
    // The face takes the control's font and text colour; with `background` the control's colour
    // is also the face's background (edits and lists, not check boxes).
    virtual void ApplyLook();
    bool ColorIsBackground = true;
    // The answer to WM_GETDLGCODE: which keys the control keeps from the form.
    virtual unsigned DialogCode() const;
    // The caption changed.
    virtual void TextChanged() {}

private:
    QWidget* face_ = nullptr;
    QObject* guard_ = nullptr;
};

}  // namespace rv
