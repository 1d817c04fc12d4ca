#include <algorithm>

#include "platform/transfer/data_object.h"

namespace rv {

HRESULT TDataAdviseHolder::Advise(IDataObject&, const TFormatEtc& format, DWORD advf,
                                  const std::shared_ptr<IAdviseSink>& sink, DWORD& connection) {
    connection = 0;
    if (!sink) return E_INVALIDARG;
    connection = nextConnection_++;
    connections_.push_back({format, advf, sink, connection});
    return S_OK;
}

HRESULT TDataAdviseHolder::Unadvise(DWORD connection) {
    const auto it = std::find_if(connections_.begin(), connections_.end(),
                                 [&](const TStatData& c) { return c.dwConnection == connection; });
    if (it == connections_.end()) return OLE_E_NOCONNECTION;
    connections_.erase(it);
    return S_OK;
}

HRESULT TDataAdviseHolder::EnumAdvise(std::vector<TStatData>& connections) const {
    connections = connections_;
    return S_OK;
}

HRESULT TDataAdviseHolder::SendOnDataChange(IDataObject& object) {
    // A sink may advise or unadvise while it is told: the list is walked as it was.
    const std::vector<TStatData> told = connections_;
    for (const TStatData& c : told) {
        TStgMedium medium;
        if (!(c.advf & ADVF_NODATA) && FAILED(object.GetData(c.formatetc, medium)))
            medium = TStgMedium{};
        c.advSink->OnDataChange(c.formatetc, medium);
        ReleaseStgMedium(medium);
        if (c.advf & ADVF_ONLYONCE) Unadvise(c.dwConnection);
    }
    return S_OK;
}

}  // namespace rv
