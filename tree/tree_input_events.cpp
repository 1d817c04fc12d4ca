// The dispatchers of the input events: each fires its event when a handler is set and keeps the
// event's default where it has one.

#include "platform/framework/menus.h"
#include "platform/windows/window_host.h"
#include "tree/base_tree.h"

namespace rv {

bool TBaseVirtualTree::DoBeforeDrag(PVirtualNode node, TColumnIndex column) {
    bool allowed = false;
    if (OnDragAllowed) OnDragAllowed(this, node, column, allowed);
    return allowed;
}

bool TBaseVirtualTree::DoCanEdit(PVirtualNode node, TColumnIndex column) {
    bool allowed = true;
    if (OnEditing) OnEditing(this, node, column, allowed);
    return allowed;
}

void TBaseVirtualTree::DoColumnClick(TColumnIndex column, TShiftState shift) {
    if (OnColumnClick) OnColumnClick(this, column, shift);
}

void TBaseVirtualTree::DoColumnDblClick(TColumnIndex column, TShiftState shift) {
    if (OnColumnDblClick) OnColumnDblClick(this, column, shift);
}

TCursor TBaseVirtualTree::DoGetCursor(TCursor cursor) {
    if (OnGetCursor) OnGetCursor(this, cursor);
    return cursor;
}

int TBaseVirtualTree::DoGetHelpContext(PVirtualNode node, TColumnIndex column) {
    int context = 0;
    if (OnGetHelpContext) OnGetHelpContext(this, node, column, context);
    return context;
}

void TBaseVirtualTree::DoHotChange(PVirtualNode oldNode, PVirtualNode newNode) {
    if (OnHotChange) OnHotChange(this, oldNode, newNode);
}

bool TBaseVirtualTree::DoKeyAction(int& charCode, TShiftState& shift) {
    bool doDefault = true;
    if (OnKeyAction) OnKeyAction(this, charCode, shift, doDefault);
    return doDefault;
}

void TBaseVirtualTree::DoScroll(int deltaX, int deltaY) {
    if (OnScroll) OnScroll(this, deltaX, deltaY);
}

TPopupMenu* TBaseVirtualTree::DoGetPopupMenu(PVirtualNode node, TColumnIndex column,
                                             TPoint position) {
    TPopupMenu* menu = nullptr;
    bool askParent = true;
    if (OnGetPopupMenu) OnGetPopupMenu(this, node, column, position, askParent, menu);
    if (!menu && askParent && OnGetPopupMenu)
        for (TControl* c = Parent(); c && !menu; c = c->Parent()) menu = c->PopupMenu();
    return menu;
}

bool TBaseVirtualTree::CanShowPopupMenu(PVirtualNode node, TColumnIndex column, TPoint position) {
    return PopupMenu() || DoGetPopupMenu(node, column, position);
}

void TBaseVirtualTree::DoPopupMenu(PVirtualNode node, TColumnIndex column, TPoint position) {
    TPopupMenu* menu = DoGetPopupMenu(node, column, position);
    if (!menu) return;
    DoStateChange({tsPopupMenuShown});
    StopTimer(kEditTimer);
    const TPoint screen = rv::ClientToScreen(Handle(), position);
    menu->SetPopupComponent(this);
    menu->Popup(screen.X, screen.Y);
}

}  // namespace rv
