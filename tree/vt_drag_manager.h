#pragma once

#include <memory>

#include "tree/transfer_types.h"

namespace rv {

// A tree's drop target and drop source. As target it keeps the drag's data object, finds the
// tree of this process the drag comes from (through the data's reference) and passes the calls
// on to the tree; as source it tells the drag loop to cancel on Escape or with both buttons down
// and to drop when the buttons are up. No desktop helper draws drag images here: the source tree
// draws its own.
class TVTDragManager : public IVTDragManager {
public:
    explicit TVTDragManager(TBaseVirtualTree& owner);

    std::shared_ptr<IDataObject> DataObject() override;
    TBaseVirtualTree* DragSource() override;
    bool DropTargetHelperSupported() override { return false; }
    bool IsDropTarget() override { return isDropTarget_; }
    void ForceDragLeave() override;

    HRESULT DragEnter(const std::shared_ptr<IDataObject>& data, DWORD keyState, TPoint pt,
                      DWORD& effect) override;
    HRESULT DragOver(DWORD keyState, TPoint pt, DWORD& effect) override;
    HRESULT DragLeave() override;
    HRESULT Drop(const std::shared_ptr<IDataObject>& data, DWORD keyState, TPoint pt,
                 DWORD& effect) override;
    HRESULT QueryContinueDrag(bool escapePressed, DWORD keyState) override;
    HRESULT GiveFeedback(DWORD effect) override;

private:
    TBaseVirtualTree& owner_;
    std::shared_ptr<IDataObject> dataObject_;
    std::uint64_t dragSourceId_ = 0;  // the source tree's number, 0 for none
    bool isDropTarget_ = false;
};

// What a tree's window is registered with: the calls go to the tree's drag manager (made on the
// first drag), while the tree lives.
class TTreeDropTarget : public IDropTarget {
public:
    explicit TTreeDropTarget(TBaseVirtualTree& tree);
    HRESULT DragEnter(const std::shared_ptr<IDataObject>& data, DWORD keyState, TPoint pt,
                      DWORD& effect) override;
    HRESULT DragOver(DWORD keyState, TPoint pt, DWORD& effect) override;
    HRESULT DragLeave() override;
    HRESULT Drop(const std::shared_ptr<IDataObject>& data, DWORD keyState, TPoint pt,
                 DWORD& effect) override;

private:
    IVTDragManager* Manager() const;
    std::uint64_t treeId_;
};

}  // namespace rv
