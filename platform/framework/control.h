#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/components/component.h"
#include "platform/framework/drag_object.h"
#include "platform/framework/input_types.h"
#include "platform/framework/menus.h"
#include "platform/graphics/canvas.h"
#include "platform/graphics/font.h"
#include "platform/graphics/geometry.h"
#include "platform/messages/messages.h"
#include "platform/windows/cursors.h"
#include "platform/windows/window_constants.h"

namespace rv {

class TWinControl;
class TCustomForm;
class TCustomAction;

enum TControlStyleFlag : unsigned {
    csAcceptsControls = 0x1,
    csCaptureMouse = 0x2,
    csClickEvents = 0x8,
    csSetCaption = 0x20,
    csOpaque = 0x40,
    csDoubleClicks = 0x80,
};

enum TControlStateFlag : unsigned { csLButtonDown = 0x1, csClicked = 0x2, csFocusing = 0x20 };

// Where a control goes in its parent: none (its own bounds), or along an edge of what the
// parent's client area has left, or all of the rest (alClient).
enum class TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
using enum TAlign;

using TMouseEvent =
    std::function<void(TObject* sender, TMouseButton button, TShiftState shift, int x, int y)>;
using TMouseMoveEvent = std::function<void(TObject* sender, TShiftState shift, int x, int y)>;
using TKeyEvent = std::function<void(TObject* sender, int& key, TShiftState shift)>;
using TKeyPressEvent = std::function<void(TObject* sender, char32_t& key)>;

// A visible element with bounds in its parent's client area. Messages reach it through
// WndProc; what it does not handle goes to DefaultHandler.
class TControl : public TComponent {
public:
    explicit TControl(TComponent* owner);
    ~TControl() override;
    std::string ClassName() const override { return "TControl"; }

    TWinControl* Parent() const { return parent_; }
    virtual void SetParent(TWinControl* parent);

    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    TRect BoundsRect() const { return Bounds(left_, top_, width_, height_); }
    virtual void SetBounds(int left, int top, int width, int height);
    void SetLeft(int l) { SetBounds(l, top_, width_, height_); }
    void SetTop(int t) { SetBounds(left_, t, width_, height_); }
    void SetWidth(int w) { SetBounds(left_, top_, w, height_); }
    void SetHeight(int h) { SetBounds(left_, top_, width_, h); }
    virtual TRect ClientRect() const { return {0, 0, width_, height_}; }
    int ClientWidth() const { return ClientRect().Width(); }
    int ClientHeight() const { return ClientRect().Height(); }
    // Sizes the control so that its client area gets this size.
    void SetClientSize(int width, int height);
    TPoint ClientToScreen(TPoint p) const;
    TPoint ScreenToClient(TPoint p) const;

    // Aligned, the control takes the whole width (top, bottom) or height (left, right) of what
    // its parent's client area has left, keeping its own height or width.
    TAlign Align() const { return align_; }
    void SetAlign(TAlign align);
    // Above its siblings: windowless controls among windowless ones, windowed among windowed.
    virtual void BringToFront();

    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    // Visible, and every parent showing; a top-level window: visible.
    virtual bool Showing() const;

    TColor Color() const { return color_; }
    void SetColor(TColor color);
    bool ParentColor() const { return parentColor_; }
    void SetParentColor(bool value);
    const TFont& Font() const { return font_; }
    void SetFont(const TFont& font);
    void SetFontColor(TColor color);
    bool ParentFont() const { return parentFont_; }
    void SetParentFont(bool value);

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);
    TCursor Cursor() const { return cursor_; }
    virtual void SetCursor(TCursor cursor) { cursor_ = cursor; }
    std::string Hint;
    bool ShowHint = false;
    // The help topic of the control (0: none, the parent's counts).
    int HelpContext = 0;
    // Shown on a right click (WM_CONTEXTMENU) and asked for shortcuts while the control has the
    // keys.
    TPopupMenu* PopupMenu() const { return popupMenu_; }
    void SetPopupMenu(TPopupMenu* menu) { SetLink(popupMenu_, menu); }
    // Links the control to an action (nullptr: none) and takes over its properties.
    TCustomAction* Action() const { return action_; }
    void SetAction(TCustomAction* action);
    // The linked action changed: show its caption, enabled state, hint and visibility.
    virtual void ActionChange(TCustomAction* action);

    unsigned ControlStyle = csCaptureMouse | csClickEvents | csSetCaption | csDoubleClicks;
    unsigned ControlState = 0;

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;

    // Handles a message at once, as if the platform had delivered it.
    LRESULT Perform(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
    virtual void WndProc(TMessage& message);
    virtual void DefaultHandler(TMessage& message);

    // OnClick when there is one, otherwise the linked action.
    virtual void Click();
    virtual void Invalidate();
    virtual void Update();
    // Paints again before returning (invalidate, then update).
    virtual void Repaint();

    bool MouseCapture() const;
    virtual void SetMouseCapture(bool capture);

    TCustomForm* GetParentForm() const;

    // Left, Top, Width, Height, Caption and Hint, besides the component's.
    void PublishProperties(TPropList& list) override;

    // The framework's drag of this control (drag_loop.h): begun at once, or once the mouse
    // moved `threshold` pixels (negative: the desktop's drag threshold) away; ended with a drop
    // where a control accepts it, or cancelled.
    void BeginDrag(bool immediate, int threshold = -1);
    void EndDrag(bool drop);
    virtual bool Dragging() const;
    // The cursor while the mouse is over a control that would take the drop.
    TCursor DragCursor = crDrag;
    TStartDragEvent OnStartDrag;
    TEndDragEvent OnEndDrag;
    TDragOverEvent OnDragOver;
    TDragDropEvent OnDragDrop;
    // The drag's start (a drag object may be handed) and end, as the drag loop tells them.
    virtual void DoStartDrag(std::unique_ptr<TDragObject>& dragObject);
    virtual void DoEndDrag(TObject* target, int x, int y);

protected:
    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseMove(TShiftState shift, int x, int y);
    virtual void DblClick();
    virtual void Resize() {}
    virtual void VisibleChanged();
    void Notification(TComponent* component, TOperation operation) override;
    // A drag over this control (CM_DRAG): OnDragOver decides, refused without a handler; the
    // drop goes to OnDragDrop.
    virtual void DragOver(TObject* source, int x, int y, TDragState state, bool& accept);
    virtual void DragDrop(TObject* source, int x, int y);

    // Assign without side effects, for constructors of descendants.
    void InitColor(TColor c) { color_ = c; }
    void InitVisible(bool v) { visible_ = v; }
    void InitBounds(int l, int t, int w, int h) { left_ = l, top_ = t, width_ = w, height_ = h; }
    void InitAlign(TAlign a) { align_ = a; }
    // The parent places its aligned controls again.
    void RequestAlign();
    void CopyParentFontAndColor();

private:
    void MouseMessage(TMessage& m, TMouseButton button, bool down, bool dbl);
    void DragMessage(TMessage& m);

    TWinControl* parent_ = nullptr;
    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    bool visible_ = true;
    bool enabled_ = true;
    TColor color_ = clWindow;
    bool parentColor_ = false;
    TFont font_;
    bool parentFont_ = true;
    std::string caption_;
    TCursor cursor_ = crDefault;
    TPopupMenu* popupMenu_ = nullptr;
    TCustomAction* action_ = nullptr;
    TAlign align_ = alNone;
    friend class TWinControl;
};

}  // namespace rv
