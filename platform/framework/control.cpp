#include "platform/framework/control.h"

#include <algorithm>

#include "platform/framework/actions.h"
#include "platform/framework/custom_controls.h"
#include "platform/framework/drag_loop.h"
#include "platform/text/round.h"
#include "platform/windows/window_host.h"

namespace rv {

TControl::TControl(TComponent* owner) : TComponent(owner) {}

TControl::~TControl() {
    MarkDestroying();
    ForgetFrameworkDragControl(this);
    if (action_) action_->UnregisterClient(this);
    DestroyComponents();
    if (parent_) parent_->RemoveControl(this);
}

void TControl::SetParent(TWinControl* parent) {
    if (parent == parent_) return;
    if (parent == this) throw EComponentError("A control cannot be its own parent");
    if (parent_) {
        Invalidate();
        parent_->RemoveControl(this);
    }
    if (parent) parent->InsertControl(this);
    CopyParentFontAndColor();
    Invalidate();
}

void TControl::CopyParentFontAndColor() {
    if (!parent_) return;
    if (parentFont_) font_ = parent_->Font();
    if (parentColor_) color_ = parent_->Color();
}

void TControl::SetBounds(int left, int top, int width, int height) {
    width = std::max(0, width);
    height = std::max(0, height);
    if (left == left_ && top == top_ && width == width_ && height == height_) return;
    Invalidate();
    bool resized = width != width_ || height != height_;
    left_ = left, top_ = top, width_ = width, height_ = height;
    Invalidate();
    if (resized) Resize();
    RequestAlign();
}

void TControl::ScaleBy(int m, int d) {
    if (m == d || d == 0) return;
    ChangeScale(m, d);
}

void TControl::ChangeScale(int m, int d) {
    // The far edges are scaled, not the sizes, so that neighbours stay edge to edge.
    const int left = MulDiv(left_, m, d), top = MulDiv(top_, m, d);
    SetBounds(left, top, MulDiv(left_ + width_, m, d) - left, MulDiv(top_ + height_, m, d) - top);
    if (!parentFont_) {
        TFont font = font_;
        font.Height = MulDiv(font.Height, m, d);
        SetFont(font);
    }
}

void TControl::SetClientSize(int width, int height) {
    SetBounds(left_, top_, width_ + width - ClientWidth(), height_ + height - ClientHeight());
}

void TControl::SetAlign(TAlign align) {
    if (align == align_) return;
    align_ = align;
    if (parent_) parent_->Realign();
}

void TControl::RequestAlign() {
    if (align_ != alNone && parent_) parent_->Realign();
}

void TControl::BringToFront() {
    if (!parent_) return;
    auto& siblings = parent_->controls_;
    auto it = std::find(siblings.begin(), siblings.end(), this);
    if (it == siblings.end()) return;
    siblings.erase(it);
    siblings.push_back(this);
    Invalidate();
}

// A window knows where it is on the screen, also a top-level one; a windowless control is
// where its parent puts it.
TPoint TControl::ClientToScreen(TPoint p) const {
    if (auto* window = dynamic_cast<const TWinControl*>(this))
        return rv::ClientToScreen(window->Handle(), p);
    if (!parent_) return p;
    return parent_->ClientToScreen({p.X + left_, p.Y + top_});
}

TPoint TControl::ScreenToClient(TPoint p) const {
    if (auto* window = dynamic_cast<const TWinControl*>(this))
        return rv::ScreenToClient(window->Handle(), p);
    if (!parent_) return p;
    TPoint q = parent_->ScreenToClient(p);
    return {q.X - left_, q.Y - top_};
}

void TControl::SetVisible(bool visible) {
    if (visible == visible_) return;
    if (!visible) Invalidate();
    visible_ = visible;
    VisibleChanged();
    Perform(CM_VISIBLECHANGED, visible ? 1 : 0);
    RequestAlign();
}

void TControl::VisibleChanged() {
    Invalidate();
}

bool TControl::Showing() const {
    return visible_ && parent_ && parent_->Showing();
}

void TControl::SetEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    Perform(CM_ENABLEDCHANGED);
}

void TControl::SetColor(TColor color) {
    parentColor_ = false;
    if (color == color_) return;
    color_ = color;
    Perform(CM_COLORCHANGED);
}

void TControl::SetParentColor(bool value) {
    parentColor_ = value;
    if (value && parent_) {
        color_ = parent_->Color();
        Perform(CM_COLORCHANGED);
    }
}

void TControl::SetFont(const TFont& font) {
    parentFont_ = false;
    if (font == font_) return;
    font_ = font;
    Perform(CM_FONTCHANGED);
}

void TControl::SetFontColor(TColor color) {
    TFont f = font_;
    f.Color = color;
    SetFont(f);
}

void TControl::SetParentFont(bool value) {
    parentFont_ = value;
    if (value && parent_) {
        font_ = parent_->Font();
        Perform(CM_FONTCHANGED);
    }
}

void TControl::SetCaption(const std::string& caption) {
    if (caption == caption_) return;
    caption_ = caption;
    Perform(CM_TEXTCHANGED);
}

LRESULT TControl::Perform(UINT msg, WPARAM wParam, LPARAM lParam) {
    TMessage m{msg, wParam, lParam, 0};
    WndProc(m);
    return m.Result;
}

void TControl::MouseMessage(TMessage& m, TMouseButton button, bool down, bool dbl) {
    int x = GET_X_LPARAM(m.LParam), y = GET_Y_LPARAM(m.LParam);
    TShiftState shift = KeysToShiftState(m.WParam) | (dbl ? unsigned(ssDouble) : 0u);
    if (down) {
        if (button == mbLeft) {
            if (ControlStyle & csCaptureMouse) SetMouseCapture(true);
            if (ControlStyle & csClickEvents) ControlState |= csClicked;
            ControlState |= csLButtonDown;
        }
        MouseDown(button, shift, x, y);
        if (dbl && (ControlStyle & csClickEvents)) DblClick();
        return;
    }
    if (button == mbLeft) {
        ControlState &= ~csLButtonDown;
        if (ControlStyle & csCaptureMouse) SetMouseCapture(false);
        if (ControlState & csClicked) {
            ControlState &= ~csClicked;
            if (ClientRect().Contains({x, y})) Click();
        }
    }
    MouseUp(button, shift, x, y);
    // The default handling of a window asks for its context menu after a right click.
    if (button == mbRight) DefaultHandler(m);
}

void TControl::WndProc(TMessage& m) {
    switch (m.Msg) {
        case WM_LBUTTONDOWN:
            MouseMessage(m, mbLeft, true, false);
            return;
        case WM_LBUTTONDBLCLK:
            MouseMessage(m, mbLeft, true, true);
            return;
        case WM_LBUTTONUP:
            MouseMessage(m, mbLeft, false, false);
            return;
        case WM_RBUTTONDOWN:
            MouseMessage(m, mbRight, true, false);
            return;
        case WM_RBUTTONDBLCLK:
            MouseMessage(m, mbRight, true, true);
            return;
        case WM_RBUTTONUP:
            MouseMessage(m, mbRight, false, false);
            return;
        case WM_MBUTTONDOWN:
            MouseMessage(m, mbMiddle, true, false);
            return;
        case WM_MBUTTONDBLCLK:
            MouseMessage(m, mbMiddle, true, true);
            return;
        case WM_MBUTTONUP:
            MouseMessage(m, mbMiddle, false, false);
            return;
        case WM_MOUSEMOVE:
            MouseMove(KeysToShiftState(m.WParam), GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam));
            return;
        case WM_CONTEXTMENU:
            if (popupMenu_ && popupMenu_->AutoPopup) {
                popupMenu_->SetPopupComponent(this);
                popupMenu_->Popup(GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam));
                m.Result = 1;
                return;
            }
            DefaultHandler(m);
            return;
        case CM_ENABLEDCHANGED:
        case CM_COLORCHANGED:
        case CM_FONTCHANGED:
        case CM_TEXTCHANGED:
        case CM_SYSCOLORCHANGE:
            Invalidate();
            return;
        case CM_PARENTFONTCHANGED:
            if (parentFont_ && parent_) {
                font_ = parent_->Font();
                Perform(CM_FONTCHANGED);
            }
            return;
        case CM_DRAG:
            DragMessage(m);
            return;
        case CM_PARENTCOLORCHANGED:
            if (parentColor_ && parent_) {
                color_ = parent_->Color();
                Perform(CM_COLORCHANGED);
            }
            return;
        default:
            DefaultHandler(m);
    }
}

void TControl::DefaultHandler(TMessage& m) {
    m.Result = 0;
}

void TControl::Click() {
    if (OnClick)
        OnClick(this);
    else if (action_)
        action_->Execute();
}

void TControl::SetAction(TCustomAction* action) {
    if (action == action_) return;
    if (action_) action_->UnregisterClient(this);
    action_ = action;
    if (action_) {
        action_->RegisterClient(this);
        ActionChange(action_);
    }
}

void TControl::ActionChange(TCustomAction* action) {
    SetCaption(action->Caption());
    SetEnabled(action->Enabled());
    Hint = action->Hint();
    SetVisible(action->Visible());
}

void TControl::DblClick() {
    if (OnDblClick) OnDblClick(this);
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (OnMouseDown) OnMouseDown(this, button, shift, x, y);
}

void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (OnMouseUp) OnMouseUp(this, button, shift, x, y);
}

void TControl::MouseMove(TShiftState shift, int x, int y) {
    if (OnMouseMove) OnMouseMove(this, shift, x, y);
}

void TControl::Invalidate() {
    if (!parent_ || !visible_) return;
    TRect r = BoundsRect();
    InvalidateRect(parent_->Handle(), &r);
}

void TControl::Update() {
    if (parent_) parent_->Update();
}

void TControl::Repaint() {
    Invalidate();
    Update();
}

bool TControl::MouseCapture() const {
    return parent_ && parent_->captureControl_ == this;
}

void TControl::SetMouseCapture(bool capture) {
    if (!parent_ || capture == MouseCapture()) return;
    if (capture) {
        parent_->captureControl_ = this;
        rv::SetCapture(parent_->Handle());
    } else {
        parent_->captureControl_ = nullptr;
        if (GetCapture() == parent_->Handle()) ReleaseCapture();
    }
}

TCustomForm* TControl::GetParentForm() const {
    const TControl* c = this;
    while (c->parent_) c = c->parent_;
    return dynamic_cast<TCustomForm*>(const_cast<TControl*>(c));
}

void TControl::PublishProperties(TPropList& list) {
    TComponent::PublishProperties(list);
    list.push_back(IntegerProperty(
        "Left", [this] { return Left(); }, [this](int v) { SetLeft(v); }));
    list.push_back(IntegerProperty(
        "Top", [this] { return Top(); }, [this](int v) { SetTop(v); }));
    list.push_back(IntegerProperty(
        "Width", [this] { return Width(); }, [this](int v) { SetWidth(v); }));
    list.push_back(IntegerProperty(
        "Height", [this] { return Height(); }, [this](int v) { SetHeight(v); }));
    list.push_back(StringProperty(
        "Caption", [this] { return Caption(); }, [this](const std::string& v) { SetCaption(v); }));
    list.push_back(StringProperty(
        "Hint", [this] { return Hint; }, [this](const std::string& v) { Hint = v; }));
}

// ---- The framework's drag --------------------------------------------------------------------

void TControl::BeginDrag(bool immediate, int threshold) {
    BeginFrameworkDrag(*this, immediate, threshold);
}

void TControl::EndDrag(bool drop) {
    if (FrameworkDragControl() == this) EndFrameworkDrag(drop);
}

bool TControl::Dragging() const {
    return FrameworkDragControl() == this;
}

void TControl::DoStartDrag(std::unique_ptr<TDragObject>& dragObject) {
    if (OnStartDrag) OnStartDrag(this, dragObject);
}

void TControl::DoEndDrag(TObject* target, int x, int y) {
    if (OnEndDrag) OnEndDrag(this, target, x, y);
}

void TControl::DragOver(TObject* source, int x, int y, TDragState state, bool& accept) {
    accept = false;
    if (!OnDragOver) return;
    accept = true;
    OnDragOver(this, source, x, y, state, accept);
}

void TControl::DragDrop(TObject* source, int x, int y) {
    if (OnDragDrop) OnDragDrop(this, source, x, y);
}

// The handlers see the dragged control itself, unless an application handed a drag object of
// its own.
void TControl::DragMessage(TMessage& m) {
    const auto* rec = reinterpret_cast<const TDragRec*>(m.LParam);
    if (!rec) return;
    TObject* source = rec->Source;
    if (auto* object = dynamic_cast<TDragControlObject*>(source); object && object->Control)
        source = object->Control;
    const TPoint p = ScreenToClient(rec->Pos);
    switch (TDragMessage(m.WParam)) {
        case dmDragEnter:
        case dmDragLeave:
        case dmDragMove: {
            const TDragState state = TDragMessage(m.WParam) == dmDragEnter   ? dsDragEnter
                                     : TDragMessage(m.WParam) == dmDragLeave ? dsDragLeave
                                                                             : dsDragMove;
            bool accept = false;
            DragOver(source, p.X, p.Y, state, accept);
            m.Result = accept ? 1 : 0;
            return;
        }
        case dmDragDrop:
            DragDrop(source, p.X, p.Y);
            return;
        case dmFindTarget:
            m.Result = reinterpret_cast<LRESULT>(this);
            return;
        default:
            return;
    }
}

void TControl::Notification(TComponent* component, TOperation operation) {
    if (operation == TOperation::opRemove && component == popupMenu_) popupMenu_ = nullptr;
}

}  // namespace rv
