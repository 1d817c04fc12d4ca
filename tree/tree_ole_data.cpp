// Inserting the nodes a data object carries: from a tree of this process by moving its dragged
// or cut nodes over, otherwise by reading the tree stream the data object renders.

#include <algorithm>

#include "tree/base_tree.h"

namespace rv {

namespace {

// The node-data description every tree asks for: a global block or a stream.
TFormatEtc NodeDataFormat() {
    return TFormatEtc{CF_VIRTUALTREE(), nullptr, DVASPECT_CONTENT, -1,
                      TYMED_HGLOBAL | TYMED_ISTREAM};
}

}  // namespace

bool TBaseVirtualTree::ProcessOLEData(TBaseVirtualTree* source,
                                      const std::shared_ptr<IDataObject>& dataObject,
                                      PVirtualNode targetNode, TVTNodeAttachMode mode,
                                      bool optimized) {
    if (!dataObject || dataObject->QueryGetData(NodeDataFormat()) != S_OK ||
        TreeOptions().MiscOptions().Contains(toReadOnly))
        return false;
    BeginUpdate();
    bool result = false;
    try {
        PVirtualNode target = targetNode ? targetNode : root_;
        if (target == root_) {
            if (mode == amInsertBefore) mode = amAddChildFirst;
            if (mode == amInsertAfter) mode = amAddChildLast;
        }
        if (optimized && source) {
            MoveDraggedNodes(*source, target, mode);
            result = true;
        } else {
            result = InsertStreamedNodes(source, *dataObject, target, mode);
        }
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
    return result;
}

void TBaseVirtualTree::MoveDraggedNodes(TBaseVirtualTree& source, PVirtualNode target,
                                        TVTNodeAttachMode mode) {
    std::vector<PVirtualNode> nodes = source.states_.Contains(tsOLEDragging)
                                          ? source.DragSelection()
                                          : source.GetSortedCutCopySet(true);
    // Attached one by one at the same place, they keep their order when taken in this order.
    if (mode != amInsertBefore && mode != amAddChildLast) std::reverse(nodes.begin(), nodes.end());
    for (PVirtualNode node : nodes) {
        // A node an earlier move or an event handler deleted is not among them any longer.
        if (source.states_.Contains(tsOLEDragging) && !source.dragged_.count(node)) continue;
        if (target != root_ && (node == target || HasAsParent(target, node))) continue;
        source.MoveTo(node, target, mode, false);
        // Moved within its tree, the node is no longer one the drag's end deletes.
        source.dragged_.erase(node);
    }
}

bool TBaseVirtualTree::InsertStreamedNodes(TBaseVirtualTree* source, IDataObject& dataObject,
                                           PVirtualNode target, TVTNodeAttachMode mode) {
    // Nodes linked nowhere cannot be read.
    if (mode == amNoWhere) return false;
    const TChangeReason reason = source == this ? crNodeCopied : crNodeAdded;
    TStgMedium medium;
    if (dataObject.GetData(NodeDataFormat(), medium) != S_OK) return false;
    std::unique_ptr<TStream> owned;
    TStream* stream = nullptr;
    if (medium.tymed == TYMED_ISTREAM && medium.stream) {
        stream = medium.stream.get();
    } else if (medium.tymed == TYMED_HGLOBAL && medium.hGlobal) {
        // The block holds its byte count, then the chunks; they are read where they are.
        const std::size_t size = GlobalSize(medium.hGlobal);
        const auto* bytes = static_cast<const std::uint8_t*>(GlobalLock(medium.hGlobal));
        if (size < 4) RaiseVirtualTreeError(hcTFCorruptStreamData);
        const std::uint32_t count = std::uint32_t(bytes[0]) | std::uint32_t(bytes[1]) << 8 |
                                    std::uint32_t(bytes[2]) << 16 | std::uint32_t(bytes[3]) << 24;
        if (count > size - 4) RaiseVirtualTreeError(hcTFCorruptStreamData);
        owned = std::make_unique<TReadOnlyMemoryStream>(bytes + 4, count);
        stream = owned.get();
    }
    if (!stream) return false;

    PVirtualNode parent =
        mode == amAddChildFirst || mode == amAddChildLast ? target : target->Parent;
    InitIfNeeded(parent == root_ ? nullptr : parent);
    InterruptValidation();
    const std::int64_t size = stream->Size();
    const auto finish = [&] {
        UpdateAllChildrenHidden(parent);
        InvalidateCache();
    };
    try {
        const std::int64_t saved = readLimit_;
        readLimit_ = size;
        try {
            while (stream->Position() < size) {
                if (root_->TotalCount == std::numeric_limits<std::uint32_t>::max())
                    throw std::length_error("Too many nodes.");
                PVirtualNode node = MakeNewNode();
                InternalConnectNode(node, target, mode);
                ReadNewNode(*stream, 2, node);
                if (!DoNodeCopying(node, target == root_ ? nullptr : target)) {
                    DeleteNode(node, true);
                } else {
                    DoNodeCopied(node);
                    StructureChange(node, reason);
                }
            }
        } catch (...) {
            readLimit_ = saved;
            throw;
        }
        readLimit_ = saved;
    } catch (...) {
        finish();
        throw;
    }
    finish();
    return true;
}

}  // namespace rv
