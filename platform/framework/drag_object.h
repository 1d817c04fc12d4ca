#pragma once
// The framework's own dragging (not the platform's data transfer): a drag object stands for what
// is dragged, and the controls under the mouse are told of it by CM_DRAG.

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

}  // namespace rv
