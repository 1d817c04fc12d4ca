#pragma once
// The framework's own dragging (not the platform's data transfer): a drag object stands for what
// is dragged, and the controls under the mouse are told of it by CM_DRAG.

#include <functional>
#include <memory>

#include "platform/components/component.h"
#include "platform/graphics/geometry.h"

namespace rv {

class TControl;

// What a framework drag carries; an application may hand its own from OnStartDrag.
class TDragObject : public TObject {
public:
    std::string ClassName() const override { return "TDragObject"; }
    // Set while the drag runs: the control under the mouse that takes part, and the mouse's
    // screen position.
    TControl* DragTarget = nullptr;
    TPoint DragPos;
};

// The drag object the framework makes for a control that drags itself.
class TDragControlObject : public TDragObject {
public:
    explicit TDragControlObject(TControl* control) : Control(control) {}
    std::string ClassName() const override { return "TDragControlObject"; }
    TControl* Control;
};

// What CM_DRAG tells a control (WParam), and what it carries (LParam points to a TDragRec).
enum class TDragMessage {
    dmDragEnter,
    dmDragLeave,
    dmDragMove,
    dmDragDrop,
    dmDragCancel,
    dmFindTarget
};
using enum TDragMessage;
struct TDragRec {
    TPoint Pos;  // screen coordinates
    TDragObject* Source = nullptr;
    TControl* Target = nullptr;
    bool Docking = false;
};

// The framework's drag states as OnDragOver gets them.
enum class TDragState { dsDragEnter, dsDragLeave, dsDragMove };
using enum TDragState;

// The drag's start and end as the dragged control tells them: a handler may hand its own drag
// object; the target is the control that took the drop (nullptr: none), the point in its client
// coordinates (the dragged control's when there is none).
using TStartDragEvent =
    std::function<void(TObject* sender, std::unique_ptr<TDragObject>& dragObject)>;
using TEndDragEvent = std::function<void(TObject* sender, TObject* target, int x, int y)>;
// A control under the dragging mouse: whether it would take the drop (Accept starts true when a
// handler is there), and the drop. Source is the dragged control, or the drag object an
// application handed; the point is in the control's client coordinates.
using TDragOverEvent = std::function<void(TObject* sender, TObject* source, int x, int y,
                                          TDragState state, bool& accept)>;
using TDragDropEvent = std::function<void(TObject* sender, TObject* source, int x, int y)>;

}  // namespace rv
