#include "widgets/hand_cursors.h"

namespace rv {

void RegisterHandCursors() {
    RegisterCursor(crHand, TCursorShape::PointingHand);
    RegisterCursor(crDragHand, TCursorShape::ClosedHand);
}

}  // namespace rv
