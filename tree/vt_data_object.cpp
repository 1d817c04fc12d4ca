#include "tree/vt_data_object.h"

#include <algorithm>
#include <cstring>

#include "tree/base_tree.h"
#include "tree/live_trees.h"

namespace rv {

TVTDataObject::TVTDataObject(TBaseVirtualTree& owner, bool forClipboard)
    : ownerId_(owner.TreeId()), forClipboard_(forClipboard) {
    owner.GetNativeClipboardFormats(formats_);
}

TVTDataObject::~TVTDataObject() {
    TBaseVirtualTree* owner = Owner();
    if (!forClipboard_ || !owner || owner->TreeStates().Contains(tsClipboardFlushing)) return;
    // Only the tree's own pending cut or copy: an older object of it has nothing left to cancel.
    const std::weak_ptr<IDataObject> self = weak_from_this(), none;
    auto same = [](const std::weak_ptr<IDataObject>& a, const std::weak_ptr<IDataObject>& b) {
        return !a.owner_before(b) && !b.owner_before(a);
    };
    if (!same(self, none) && same(self, owner->clipboardObject_)) owner->CancelCutOrCopy();
}

TBaseVirtualTree* TVTDataObject::Owner() const {
    return FindLiveTree(ownerId_);
}

HRESULT TVTDataObject::ReferenceData(TStgMedium& medium) const {
    const TBaseVirtualTree* owner = Owner();
    if (!owner || owner->TreeStates().Contains(tsClipboardFlushing)) return E_FAIL;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT | GMEM_SHARE, kTreeReferenceSize);
    if (!block) return E_OUTOFMEMORY;
    const std::uint64_t values[2] = {ProcessToken(), ownerId_};
    for (int v = 0; v < 2; ++v)
        for (int i = 0; i < 8; ++i)
            block->Bytes[std::size_t(v * 8 + i)] = std::uint8_t(values[v] >> (8 * i));
    medium.tymed = TYMED_HGLOBAL;
    medium.hGlobal = std::move(block);
    medium.pUnkForRelease.reset();
    return S_OK;
}

HRESULT TVTDataObject::GetData(const TFormatEtc& format, TStgMedium& medium) {
    medium = TStgMedium{};
    if (format.cfFormat == CF_VTREFERENCE()) return ReferenceData(medium);
    const HRESULT query = QueryGetData(format);
    if (query != S_OK) return query;
    for (const TInternalStgMedium& s : stored_)
        if (s.Format == format.cfFormat && s.Medium.tymed != TYMED_NULL) {
            HandOut(s.Medium, medium, false);
            return S_OK;
        }
    TBaseVirtualTree* owner = Owner();
    if (!owner) return E_FAIL;
    return owner->RenderOLEData(format, medium, forClipboard_);
}

HRESULT TVTDataObject::GetDataHere(const TFormatEtc&, TStgMedium&) {
    return E_NOTIMPL;
}

HRESULT TVTDataObject::QueryGetData(const TFormatEtc& format) {
    HRESULT mismatch = DV_E_FORMATETC;
    for (const TFormatEtc& f : formats_) {
        if (f.cfFormat != format.cfFormat) continue;
        HRESULT result = S_OK;
        if (!(f.tymed & format.tymed))
            result = DV_E_TYMED;
        else if (f.dwAspect != format.dwAspect)
            result = DV_E_DVASPECT;
        else if (f.lindex != format.lindex)
            result = DV_E_LINDEX;
        if (result == S_OK) return S_OK;
        if (mismatch == DV_E_FORMATETC) mismatch = result;
    }
    return mismatch;
}

HRESULT TVTDataObject::GetCanonicalFormatEtc(const TFormatEtc&, TFormatEtc& canonical) {
    canonical.ptd = nullptr;
    return DATA_S_SAMEFORMATETC;
}

void TVTDataObject::HandOut(const TStgMedium& stored, TStgMedium& out, bool copy) {
    out = stored;
    if (stored.tymed == TYMED_HGLOBAL && stored.hGlobal) {
        if (copy) {
            out.hGlobal = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, GlobalSize(stored.hGlobal));
            if (out.hGlobal) out.hGlobal->Bytes = stored.hGlobal->Bytes;
        } else if (!stored.pUnkForRelease) {
            // Shared: this object keeps the block for whoever holds the medium.
            out.pUnkForRelease = shared_from_this();
        }
    }
}

HRESULT TVTDataObject::SetData(const TFormatEtc& format, TStgMedium& medium, bool release) {
    auto it = std::find_if(stored_.begin(), stored_.end(), [&](const TInternalStgMedium& s) {
        return s.Format == format.cfFormat;
    });
    if (it == stored_.end()) {
        if (std::none_of(formats_.begin(), formats_.end(),
                         [&](const TFormatEtc& f) { return f.cfFormat == format.cfFormat; }))
            formats_.push_back(format);
        stored_.push_back({format.cfFormat, TStgMedium{}});
        it = stored_.end() - 1;
    } else {
        ReleaseStgMedium(it->Medium);
    }
    if (release) {
        it->Medium = medium;
        medium = TStgMedium{};
    } else {
        HandOut(medium, it->Medium, true);
        // A copy that would keep this object alive through itself lets go of it.
        if (it->Medium.pUnkForRelease.get() == static_cast<const void*>(this))
            it->Medium.pUnkForRelease.reset();
    }
    if (adviseHolder_) adviseHolder_->SendOnDataChange(*this);
    return S_OK;
}

HRESULT TVTDataObject::EnumFormatEtc(DWORD direction, std::shared_ptr<IEnumFORMATETC>& formats) {
    formats.reset();
    if (direction != DATADIR_GET) return OLE_S_USEREG;
    formats = std::make_shared<TEnumFormatEtc>(formats_);
    return S_OK;
}

HRESULT TVTDataObject::DAdvise(const TFormatEtc& format, DWORD advf,
                               const std::shared_ptr<IAdviseSink>& sink, DWORD& connection) {
    if (!adviseHolder_) adviseHolder_ = std::make_unique<TDataAdviseHolder>();
    return adviseHolder_->Advise(*this, format, advf, sink, connection);
}

HRESULT TVTDataObject::DUnadvise(DWORD connection) {
    return adviseHolder_ ? adviseHolder_->Unadvise(connection) : E_NOTIMPL;
}

HRESULT TVTDataObject::EnumDAdvise(std::vector<TStatData>& connections) {
    connections.clear();
    return adviseHolder_ ? adviseHolder_->EnumAdvise(connections) : OLE_E_ADVISENOTSUPPORTED;
}

// ---- The format enumerator -------------------------------------------------------------------

HRESULT TEnumFormatEtc::Next(ULONG count, TFormatEtc* formats, ULONG* fetched) {
    ULONG n = 0;
    while (n < count && index_ < formats_.size()) formats[n++] = formats_[index_++];
    if (fetched) *fetched = n;
    return n > 0 ? S_OK : S_FALSE;
}

HRESULT TEnumFormatEtc::Skip(ULONG count) {
    // Skipping past the end is refused; skipping onto it (nothing left to read) is not.
    if (index_ + count > formats_.size()) return S_FALSE;
    index_ += count;
    return S_OK;
}

HRESULT TEnumFormatEtc::Reset() {
    index_ = 0;
    return S_OK;
}

HRESULT TEnumFormatEtc::Clone(std::shared_ptr<IEnumFORMATETC>& clone) {
    clone = std::make_shared<TEnumFormatEtc>(formats_, index_);
    return S_OK;
}

}  // namespace rv
