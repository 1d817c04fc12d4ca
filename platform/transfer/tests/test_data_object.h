#pragma once
// A data object that offers fixed bytes per format and counts what it is asked.

#include <map>
#include <string>

#include "platform/transfer/data_object.h"

namespace rv::test {

class BytesDataObject : public IDataObject {
public:
    std::map<TClipFormat, std::string> bytes;  // in offer order by number
    int gets = 0;
    bool* destroyed = nullptr;

    ~BytesDataObject() override {
        if (destroyed) *destroyed = true;
    }
    HRESULT GetData(const TFormatEtc& format, TStgMedium& medium) override {
        ++gets;
        const HRESULT query = QueryGetData(format);
        if (query != S_OK) return query;
        const std::string& b = bytes.at(format.cfFormat);
        medium.tymed = TYMED_HGLOBAL;
        medium.hGlobal = GlobalAlloc(GMEM_MOVEABLE, b.size());
        std::copy(b.begin(), b.end(), medium.hGlobal->Bytes.begin());
        return S_OK;
    }
    HRESULT GetDataHere(const TFormatEtc&, TStgMedium&) override { return E_NOTIMPL; }
    HRESULT QueryGetData(const TFormatEtc& format) override {
        return bytes.count(format.cfFormat) ? S_OK : DV_E_FORMATETC;
    }
    HRESULT GetCanonicalFormatEtc(const TFormatEtc&, TFormatEtc&) override {
        return DATA_S_SAMEFORMATETC;
    }
    HRESULT SetData(const TFormatEtc&, TStgMedium&, bool) override { return E_NOTIMPL; }
    HRESULT EnumFormatEtc(DWORD direction, std::shared_ptr<IEnumFORMATETC>& formats) override;
    HRESULT DAdvise(const TFormatEtc&, DWORD, const std::shared_ptr<IAdviseSink>&,
                    DWORD&) override {
        return OLE_E_ADVISENOTSUPPORTED;
    }
    HRESULT DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT EnumDAdvise(std::vector<TStatData>&) override { return OLE_E_ADVISENOTSUPPORTED; }
};

inline HRESULT BytesDataObject::EnumFormatEtc(DWORD, std::shared_ptr<IEnumFORMATETC>& formats) {
    std::vector<TFormatEtc> list;
    for (const auto& [format, b] : bytes) list.push_back(TFormatEtc{format});
    formats = WalkFormats(std::move(list));
    return S_OK;
}

}  // namespace rv::test
