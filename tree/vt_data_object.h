#pragma once

#include <memory>
#include <vector>

#include "platform/transfer/data_object.h"

namespace rv {

class TBaseVirtualTree;

// A tree's data for the clipboard or a drag: the formats the tree offered when the object was
// made, each rendered by the tree when asked, and whatever was stored through SetData. The tree
// is looked up by its number at every use: once it is gone the object renders nothing new (only
// stored data), and a clipboard object going away cancels its tree's pending cut or copy.
class TVTDataObject : public IDataObject {
public:
    TVTDataObject(TBaseVirtualTree& owner, bool forClipboard);
    ~TVTDataObject() override;

    // The tree, nil once it is gone.
    TBaseVirtualTree* Owner() const;
    bool ForClipboard() const { return forClipboard_; }
    const std::vector<TFormatEtc>& FormatEtcArray() const { return formats_; }

    HRESULT GetData(const TFormatEtc& format, TStgMedium& medium) override;
    HRESULT GetDataHere(const TFormatEtc& format, TStgMedium& medium) override;
    HRESULT QueryGetData(const TFormatEtc& format) override;
    HRESULT GetCanonicalFormatEtc(const TFormatEtc& format, TFormatEtc& canonical) override;
    HRESULT SetData(const TFormatEtc& format, TStgMedium& medium, bool release) override;
    HRESULT EnumFormatEtc(DWORD direction, std::shared_ptr<IEnumFORMATETC>& formats) override;
    HRESULT DAdvise(const TFormatEtc& format, DWORD advf, const std::shared_ptr<IAdviseSink>& sink,
                    DWORD& connection) override;
    HRESULT DUnadvise(DWORD connection) override;
    HRESULT EnumDAdvise(std::vector<TStatData>& connections) override;

private:
    struct TInternalStgMedium {
        TClipFormat Format;
        TStgMedium Medium;
    };
    // The medium handed out again: a global block copied (`copy`) or shared with this object
    // as its release object.
    void HandOut(const TStgMedium& stored, TStgMedium& out, bool copy);
    HRESULT ReferenceData(TStgMedium& medium) const;

    std::uint64_t ownerId_;
    bool forClipboard_;
    std::vector<TFormatEtc> formats_;
    std::vector<TInternalStgMedium> stored_;
    std::unique_ptr<TDataAdviseHolder> adviseHolder_;
};

// Walks a copy of a format list.
class TEnumFormatEtc : public IEnumFORMATETC {
public:
    explicit TEnumFormatEtc(std::vector<TFormatEtc> formats, std::size_t index = 0)
        : formats_(std::move(formats)), index_(index) {}
    // Copies from the current entry on; S_OK when at least one was copied.
    HRESULT Next(ULONG count, TFormatEtc* formats, ULONG* fetched) override;
    // S_FALSE, without moving, when fewer than `count` entries are left.
    HRESULT Skip(ULONG count) override;
    HRESULT Reset() override;
    HRESULT Clone(std::shared_ptr<IEnumFORMATETC>& clone) override;

private:
    std::vector<TFormatEtc> formats_;
    std::size_t index_;
};

// A reference to a tree as the "Virtual Tree Reference" format carries it: the process's token
// and the tree's number, 8 bytes each, little-endian.
inline constexpr std::size_t kTreeReferenceSize = 16;

}  // namespace rv
