#pragma once
// Drag and drop between windows and with other programs. A window registered as a drop target
// gets its target's calls from the toolkit's drags over it; DoDragDrop runs a drag of a data
// object until it is dropped or cancelled.

#include <functional>
#include <memory>

#include "platform/messages/messages.h"
#include "platform/transfer/data_object.h"

namespace rv {

// Makes the window a drop target (DRAGDROP_E_ALREADYREGISTERED when it is one,
// DRAGDROP_E_INVALIDHWND for no window with a face); the window holds the target until revoked
// or destroyed.
HRESULT RegisterDragDrop(HWND wnd, const std::shared_ptr<IDropTarget>& target);
HRESULT RevokeDragDrop(HWND wnd);
// The window's drop target, nil when it has none.
std::shared_ptr<IDropTarget> RegisteredDropTarget(HWND wnd);

// Drags the data object from the window `source` with the effects allowed (DROPEFFECT_ bits).
// Answers DRAGDROP_S_DROP with the effect the target reported, or DRAGDROP_S_CANCEL with no
// effect when the drag was cancelled or dropped nowhere. The toolkit's drag decides from the
// mouse and Escape when to drop or cancel itself; a replaced loop asks the drop source.
HRESULT DoDragDrop(HWND source, const std::shared_ptr<IDataObject>& data, IDropSource& dropSource,
                   DWORD okEffects, DWORD& effect);

// The loop DoDragDrop runs; empty: the toolkit's. Answers the loop it replaced. Tests replace it,
// since a drag on a platform without a pointer returns at once.
using TDragLoop = std::function<HRESULT(HWND source, const std::shared_ptr<IDataObject>& data,
                                        IDropSource& dropSource, DWORD okEffects, DWORD& effect)>;
TDragLoop SetDragLoop(TDragLoop loop);

// The key state of a drop target's calls made of the mouse buttons and modifier keys held now:
// MK_LBUTTON, MK_RBUTTON, MK_MBUTTON, MK_SHIFT, MK_CONTROL and MK_ALT.
DWORD CurrentDragKeyState();

}  // namespace rv
