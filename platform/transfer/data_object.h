#pragma once
// The interfaces of data transfer: a data object offers data in formats and renders it when asked
// (the same object serves the clipboard and drag and drop); a drop source steers a drag; a drop
// target is a window's side of one. Objects are shared: whoever keeps one holds a shared_ptr.

#include <memory>
#include <vector>

#include "platform/graphics/geometry.h"
#include "platform/transfer/ole_types.h"

namespace rv {

// Walks a list of format descriptions.
class IEnumFORMATETC {
public:
    virtual ~IEnumFORMATETC() = default;
    // Copies up to `count` entries into `formats`; S_OK when it copied `count`, S_FALSE when
    // fewer; `fetched` (when given) gets the number copied.
    virtual HRESULT Next(ULONG count, TFormatEtc* formats, ULONG* fetched) = 0;
    virtual HRESULT Skip(ULONG count) = 0;
    virtual HRESULT Reset() = 0;
    virtual HRESULT Clone(std::shared_ptr<IEnumFORMATETC>& clone) = 0;
};

// A walker over a copy of `formats`: Next answers S_OK only when it copied all it was asked for,
// Skip stops at the end.
std::shared_ptr<IEnumFORMATETC> WalkFormats(std::vector<TFormatEtc> formats);

// Told when a data object's data changed.
class IAdviseSink {
public:
    virtual ~IAdviseSink() = default;
    virtual void OnDataChange(const TFormatEtc& format, const TStgMedium& medium) = 0;
};

// One advise connection.
struct TStatData {
    TFormatEtc formatetc;
    DWORD advf = 0;
    std::shared_ptr<IAdviseSink> advSink;
    DWORD dwConnection = 0;
};

class IDataObject : public std::enable_shared_from_this<IDataObject> {
public:
    virtual ~IDataObject() = default;
    // The data in a new medium the caller releases (ReleaseStgMedium).
    virtual HRESULT GetData(const TFormatEtc& format, TStgMedium& medium) = 0;
    virtual HRESULT GetDataHere(const TFormatEtc& format, TStgMedium& medium) = 0;
    // S_OK when GetData would answer the format.
    virtual HRESULT QueryGetData(const TFormatEtc& format) = 0;
    virtual HRESULT GetCanonicalFormatEtc(const TFormatEtc& format, TFormatEtc& canonical) = 0;
    // Stores data; with `release` the object takes the medium over, else it keeps a copy.
    virtual HRESULT SetData(const TFormatEtc& format, TStgMedium& medium, bool release) = 0;
    virtual HRESULT EnumFormatEtc(DWORD direction, std::shared_ptr<IEnumFORMATETC>& formats) = 0;
    virtual HRESULT DAdvise(const TFormatEtc& format, DWORD advf,
                            const std::shared_ptr<IAdviseSink>& sink, DWORD& connection) = 0;
    virtual HRESULT DUnadvise(DWORD connection) = 0;
    virtual HRESULT EnumDAdvise(std::vector<TStatData>& connections) = 0;
};

// Keeps the advise connections of a data object and tells their sinks of changes.
class TDataAdviseHolder {
public:
    HRESULT Advise(IDataObject& object, const TFormatEtc& format, DWORD advf,
                   const std::shared_ptr<IAdviseSink>& sink, DWORD& connection);
    HRESULT Unadvise(DWORD connection);
    HRESULT EnumAdvise(std::vector<TStatData>& connections) const;
    // Each sink gets the data of its format (none with ADVF_NODATA); ADVF_ONLYONCE connections
    // end after it.
    HRESULT SendOnDataChange(IDataObject& object);

private:
    std::vector<TStatData> connections_;
    DWORD nextConnection_ = 1;
};

// The side of a drag that started it: whether the drag goes on, and the cursor it shows.
class IDropSource {
public:
    virtual ~IDropSource() = default;
    // S_OK to go on, DRAGDROP_S_DROP to drop, DRAGDROP_S_CANCEL to end without a drop.
    virtual HRESULT QueryContinueDrag(bool escapePressed, DWORD keyState) = 0;
    virtual HRESULT GiveFeedback(DWORD effect) = 0;
};

// A window's side of a drag: the data object enters, moves over it (screen coordinates, the
// mouse keys and modifiers as MK_ bits), leaves or drops. `effect` comes in as what the source
// allows and goes out as what the target would do.
class IDropTarget {
public:
    virtual ~IDropTarget() = default;
    virtual HRESULT DragEnter(const std::shared_ptr<IDataObject>& data, DWORD keyState, TPoint pt,
                              DWORD& effect) = 0;
    virtual HRESULT DragOver(DWORD keyState, TPoint pt, DWORD& effect) = 0;
    virtual HRESULT DragLeave() = 0;
    virtual HRESULT Drop(const std::shared_ptr<IDataObject>& data, DWORD keyState, TPoint pt,
                         DWORD& effect) = 0;
};

}  // namespace rv
