// Copy, cut and paste through the clipboard, the data the tree renders for its data objects,
// and the tree's number by which data objects and references find it.

#include "platform/transfer/drag_drop.h"
#include "platform/transfer/ole_clipboard.h"
#include "tree/base_tree.h"
#include "tree/live_trees.h"
#include "tree/vt_data_object.h"

namespace rv {

std::uint64_t TBaseVirtualTree::TreeId() {
    if (treeId_ == 0) treeId_ = RegisterLiveTree(this);
    return treeId_;
}

TBaseVirtualTree* TBaseVirtualTree::SourceTreeOf(IDataObject& dataObject) {
    TStgMedium medium;
    if (dataObject.GetData(TFormatEtc{CF_VTREFERENCE()}, medium) != S_OK) return nullptr;
    TBaseVirtualTree* tree = nullptr;
    if (medium.tymed == TYMED_HGLOBAL && GlobalSize(medium.hGlobal) == kTreeReferenceSize) {
        const auto* b = static_cast<const std::uint8_t*>(GlobalLock(medium.hGlobal));
        std::uint64_t token = 0, id = 0;
        for (int i = 7; i >= 0; --i) {
            token = token << 8 | b[i];
            id = id << 8 | b[8 + i];
        }
        // Another process's reference, or a forged one, names no tree here.
        if (token == ProcessToken()) tree = FindLiveTree(id);
    }
    ReleaseStgMedium(medium);
    return tree;
}

void TBaseVirtualTree::FinishTransfer() {
    FlushClipboard();
    if (dropTargetRegistered_) RevokeDragDrop(Handle());
    dropTargetRegistered_ = false;
    if (treeId_ != 0) ForgetLiveTree(treeId_);
    treeId_ = 0;
}

void TBaseVirtualTree::ForgetTransferNode(PVirtualNode node) {
    if (!dragged_.empty()) dragged_.erase(node);
    if (node == frameworkDropTarget_) frameworkDropTarget_ = nullptr;
}

void TBaseVirtualTree::ForgetAllTransferNodes() {
    dragged_.clear();
    frameworkDropTarget_ = nullptr;
}

// ---- Copy, cut and paste ---------------------------------------------------------------------

void TBaseVirtualTree::MarkCutOrCopy(bool cut, const std::shared_ptr<IDataObject>& dataObject) {
    if (SelectionCount() == 0) return;
    // The marks of an earlier cut or copy of this tree go first.
    CancelCutOrCopy();
    if (OleSetClipboard(dataObject) != S_OK) return;
    clipboardObject_ = dataObject;
    for (PVirtualNode n : GetSortedSelection(false))
        if (!n->Has(nsDisabled)) n->Include(nsCutOrCopy);
    if (cut)
        DoStateChange({tsCutPending}, {tsCopyPending});
    else
        DoStateChange({tsCopyPending}, {tsCutPending});
    Invalidate();
}

void TBaseVirtualTree::CopyToClipboard() {
    if (SelectionCount() == 0) return;
    MarkCutOrCopy(false, std::make_shared<TVTDataObject>(*this, true));
}

void TBaseVirtualTree::CutToClipboard() {
    if (SelectionCount() == 0 || TreeOptions().MiscOptions().Contains(toReadOnly)) return;
    MarkCutOrCopy(true, std::make_shared<TVTDataObject>(*this, true));
}

void TBaseVirtualTree::CancelCutOrCopy() {
    if (!states_.ContainsAny({tsCutPending, tsCopyPending})) return;
    for (PVirtualNode n = GetFirstNoInit(); n; n = GetNextNoInit(n)) n->Exclude(nsCutOrCopy);
    clipboardObject_.reset();
    DoStateChange({}, {tsCutPending, tsCopyPending});
    Invalidate();
}

void TBaseVirtualTree::FinishCut() {
    if (!states_.Contains(tsCutPending)) return;
    const std::vector<PVirtualNode> nodes = GetSortedCutCopySet(true);
    BeginUpdate();
    try {
        for (auto it = nodes.rbegin(); it != nodes.rend(); ++it) DeleteNode(*it, true);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
    DoStateChange({}, {tsCutPending});
}

void TBaseVirtualTree::FlushClipboard() {
    if (!states_.ContainsAny({tsCutPending, tsCopyPending}) ||
        states_.Contains(tsClipboardFlushing))
        return;
    DoStateChange({tsClipboardFlushing});
    try {
        // The data are rendered now, while the nodes exist; the clipboard then holds bytes.
        const std::shared_ptr<IDataObject> own = clipboardObject_.lock();
        if (own && OleIsCurrentClipboard(own.get())) OleFlushClipboard();
    } catch (...) {
        DoStateChange({}, {tsClipboardFlushing, tsCutPending, tsCopyPending});
        throw;
    }
    clipboardObject_.reset();
    DoStateChange({}, {tsClipboardFlushing, tsCutPending, tsCopyPending});
}

void TBaseVirtualTree::ReleaseClipboard() {
    DoStateChange({tsClipboardFlushing});
    const std::shared_ptr<IDataObject> own = clipboardObject_.lock();
    if (own && OleIsCurrentClipboard(own.get())) OleSetClipboard(nullptr);
    clipboardObject_.reset();
    DoStateChange({}, {tsClipboardFlushing, tsCutPending, tsCopyPending});
}

bool TBaseVirtualTree::PasteFromClipboard() {
    if (TreeOptions().MiscOptions().Contains(toReadOnly)) return false;
    std::shared_ptr<IDataObject> data;
    if (OleGetClipboard(data) != S_OK || !data) RaiseVirtualTreeError(hcTFClipboardFailed);
    TBaseVirtualTree* source = SourceTreeOf(*data);
    const bool move = source && source->states_.Contains(tsCutPending);
    const bool result = ProcessOLEData(source, data, focusedNode_, defaultPasteMode_, move);
    if (move && FindLiveTree(source->TreeId()) == source) {
        // Within one tree the cut nodes that could not move (onto themselves or below
        // themselves) stay where they are; another tree's are gone with the paste.
        if (source == this)
            CancelCutOrCopy();
        else
            source->FinishCut();
    }
    return result;
}

// ---- Rendering -------------------------------------------------------------------------------

HRESULT TBaseVirtualTree::RenderOLEData(const TFormatEtc& format, TStgMedium& medium,
                                        bool forClipboard) {
    if (format.cfFormat != CF_VIRTUALTREE()) return DoRenderOLEData(format, medium, forClipboard);
    const std::vector<PVirtualNode> nodes =
        forClipboard ? GetSortedCutCopySet(true) : GetSortedSelection(true);
    const bool global = format.tymed & TYMED_HGLOBAL;
    if (!global && !(format.tymed & TYMED_ISTREAM)) return DV_E_TYMED;
    auto stream = std::make_shared<TMemoryStream>();
    // A global block starts with the byte count of the chunks that follow.
    if (global) stream->WriteBuffer("\0\0\0\0", 4);
    for (PVirtualNode n : nodes) WriteNode(*stream, n);
    medium = TStgMedium{};
    if (global) {
        const std::size_t size = std::size_t(stream->Size());
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT | GMEM_SHARE, size);
        if (!block) return E_OUTOFMEMORY;
        std::copy(stream->Memory(), stream->Memory() + size, block->Bytes.begin());
        for (int i = 0; i < 4; ++i)
            block->Bytes[std::size_t(i)] = std::uint8_t((size - 4) >> (8 * i));
        medium.tymed = TYMED_HGLOBAL;
        medium.hGlobal = std::move(block);
    } else {
        stream->SetPosition(0);
        medium.tymed = TYMED_ISTREAM;
        medium.stream = std::move(stream);
    }
    return S_OK;
}

HRESULT TBaseVirtualTree::DoRenderOLEData(const TFormatEtc& format, TStgMedium& medium,
                                          bool forClipboard) {
    HRESULT result = E_FAIL;
    if (OnRenderOLEData) OnRenderOLEData(this, format, medium, forClipboard, result);
    return result;
}

void TBaseVirtualTree::GetNativeClipboardFormats(std::vector<TFormatEtc>& formats) {
    const std::vector<std::string>& allowed = clipboardFormats_.Items();
    EnumerateFormats(*this, formats, allowed.empty() ? nullptr : &allowed);
    DoGetUserClipboardFormats(formats);
}

void TBaseVirtualTree::DoGetUserClipboardFormats(std::vector<TFormatEtc>& formats) {
    if (OnGetUserClipboardFormats) OnGetUserClipboardFormats(this, formats);
}

std::shared_ptr<IDataObject> TBaseVirtualTree::DoCreateDataObject() {
    std::shared_ptr<IDataObject> dataObject;
    if (OnCreateDataObject) OnCreateDataObject(this, dataObject);
    return dataObject;
}

}  // namespace rv
