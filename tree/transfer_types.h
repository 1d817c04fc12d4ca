#pragma once
// What the tree's streams, clipboard and drag and drop work with: their events, the list of
// formats a drop offers, and the drag manager that is a tree's drop target and drop source.

#include <functional>
#include <memory>
#include <vector>

#include "platform/files/streams.h"
#include "platform/framework/drag_object.h"
#include "platform/framework/input_types.h"
#include "platform/transfer/data_object.h"
#include "tree/paint_types.h"
#include "tree/virtual_node.h"

namespace rv {

class TBaseVirtualTree;

// The clipboard formats a drop offers, in the data object's order.
using TFormatArray = std::vector<TClipFormat>;

// A tree's side of drag and drop: the drop target of its window and the drop source of the drags
// it starts. `DataObject` is the data object of the drag running now (made when there is none);
// `DragSource` the tree of this process a drag over the tree comes from (nil for other data).
class IVTDragManager : public IDropTarget, public IDropSource {
public:
    virtual std::shared_ptr<IDataObject> DataObject() = 0;
    virtual TBaseVirtualTree* DragSource() = 0;
    // Whether the desktop helps targets show the source's drag image (never here).
    virtual bool DropTargetHelperSupported() = 0;
    // Whether a drag is over the tree now.
    virtual bool IsDropTarget() = 0;
    // Ends a drag over the tree that the drag loop left without saying so.
    virtual void ForceDragLeave() = 0;
};

using TVTSaveNodeEvent =
    std::function<void(TBaseVirtualTree* sender, PVirtualNode node, TStream& stream)>;
// Accept starts false: a tree without a handler takes no drop.
using TVTDragOverEvent =
    std::function<void(TBaseVirtualTree* sender, TObject* source, TShiftState shift,
                       TDragState state, TPoint pt, TDropMode mode, DWORD& effect, bool& accept)>;
using TVTDragDropEvent = std::function<void(
    TBaseVirtualTree* sender, TObject* source, const std::shared_ptr<IDataObject>& dataObject,
    const TFormatArray& formats, TShiftState shift, TPoint pt, DWORD& effect, TDropMode mode)>;
// Renders a format the tree does not render itself; Result starts E_FAIL.
using TVTRenderOLEDataEvent =
    std::function<void(TBaseVirtualTree* sender, const TFormatEtc& format, TStgMedium& medium,
                       bool forClipboard, HRESULT& result)>;
using TVTCreateDataObjectEvent =
    std::function<void(TBaseVirtualTree* sender, std::shared_ptr<IDataObject>& dataObject)>;
using TVTCreateDragManagerEvent =
    std::function<void(TBaseVirtualTree* sender, std::shared_ptr<IVTDragManager>& dragManager)>;
// Formats the application offers besides the tree's own.
using TVTGetUserClipboardFormatsEvent =
    std::function<void(TBaseVirtualTree* sender, std::vector<TFormatEtc>& formats)>;

}  // namespace rv
