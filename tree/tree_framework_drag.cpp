// The framework's own drag over the tree (DragType other than dtOLE): CM_DRAG.

#include "tree/base_tree.h"

namespace rv {

void TBaseVirtualTree::HandleFrameworkDrag(TMessage& message) {
    TCustomControl::WndProc(message);
}

}  // namespace rv
