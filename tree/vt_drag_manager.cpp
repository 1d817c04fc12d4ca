#include "tree/vt_drag_manager.h"

#include "tree/base_tree.h"
#include "tree/live_trees.h"
#include "tree/vt_data_object.h"

namespace rv {

TVTDragManager::TVTDragManager(TBaseVirtualTree& owner) : owner_(owner) {}

std::shared_ptr<IDataObject> TVTDragManager::DataObject() {
    if (dataObject_) return dataObject_;
    std::shared_ptr<IDataObject> made = owner_.DoCreateDataObject();
    if (!made) made = std::make_shared<TVTDataObject>(owner_, false);
    return made;
}

TBaseVirtualTree* TVTDragManager::DragSource() {
    return dragSourceId_ ? FindLiveTree(dragSourceId_) : nullptr;
}

void TVTDragManager::ForceDragLeave() {
    if (isDropTarget_) DragLeave();
}

HRESULT TVTDragManager::DragEnter(const std::shared_ptr<IDataObject>& data, DWORD keyState,
                                  TPoint pt, DWORD& effect) {
    dataObject_ = data;
    isDropTarget_ = true;
    TBaseVirtualTree* source = data ? TBaseVirtualTree::SourceTreeOf(*data) : nullptr;
    dragSourceId_ = source ? source->TreeId() : 0;
    return owner_.DragEnter(keyState, pt, effect);
}

HRESULT TVTDragManager::DragOver(DWORD keyState, TPoint pt, DWORD& effect) {
    return owner_.DragOver(DragSource(), keyState, dsDragMove, pt, effect);
}

HRESULT TVTDragManager::DragLeave() {
    owner_.DragLeave();
    dragSourceId_ = 0;
    isDropTarget_ = false;
    dataObject_.reset();
    return S_OK;
}

HRESULT TVTDragManager::Drop(const std::shared_ptr<IDataObject>& data, DWORD keyState, TPoint pt,
                             DWORD& effect) {
    HRESULT result = E_FAIL;
    try {
        result = owner_.DragDrop(data, keyState, pt, effect);
    } catch (...) {
        isDropTarget_ = false;
        dataObject_.reset();
        dragSourceId_ = 0;
        throw;
    }
    isDropTarget_ = false;
    dataObject_.reset();
    dragSourceId_ = 0;
    return result;
}

HRESULT TVTDragManager::QueryContinueDrag(bool escapePressed, DWORD keyState) {
    const DWORD buttons = keyState & (MK_LBUTTON | MK_RBUTTON);
    if (escapePressed || buttons == (MK_LBUTTON | MK_RBUTTON)) return DRAGDROP_S_CANCEL;
    return buttons != 0 ? S_OK : DRAGDROP_S_DROP;
}

HRESULT TVTDragManager::GiveFeedback(DWORD) {
    return DRAGDROP_S_USEDEFAULTCURSORS;
}

// ---- The window's registration ---------------------------------------------------------------

TTreeDropTarget::TTreeDropTarget(TBaseVirtualTree& tree) : treeId_(tree.TreeId()) {}

IVTDragManager* TTreeDropTarget::Manager() const {
    TBaseVirtualTree* tree = FindLiveTree(treeId_);
    return tree ? &tree->DragManager() : nullptr;
}

HRESULT TTreeDropTarget::DragEnter(const std::shared_ptr<IDataObject>& data, DWORD keyState,
                                   TPoint pt, DWORD& effect) {
    IVTDragManager* manager = Manager();
    return manager ? manager->DragEnter(data, keyState, pt, effect) : E_UNEXPECTED;
}

HRESULT TTreeDropTarget::DragOver(DWORD keyState, TPoint pt, DWORD& effect) {
    IVTDragManager* manager = Manager();
    return manager ? manager->DragOver(keyState, pt, effect) : E_UNEXPECTED;
}

HRESULT TTreeDropTarget::DragLeave() {
    IVTDragManager* manager = Manager();
    return manager ? manager->DragLeave() : E_UNEXPECTED;
}

HRESULT TTreeDropTarget::Drop(const std::shared_ptr<IDataObject>& data, DWORD keyState, TPoint pt,
                              DWORD& effect) {
    IVTDragManager* manager = Manager();
    return manager ? manager->Drop(data, keyState, pt, effect) : E_UNEXPECTED;
}

}  // namespace rv
