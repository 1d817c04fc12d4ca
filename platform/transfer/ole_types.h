#pragma once
// The vocabulary of data transfer between windows and programs, as the platform's OLE numbers
// it: result codes, clipboard formats, format descriptions, storage media and global memory
// blocks, drop effects.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace rv {

class TStream;

using HRESULT = std::int32_t;
using DWORD = std::uint32_t;
using ULONG = std::uint32_t;
// A clipboard format number: the standard ones below 17, the registered ones from 0xC000.
using TClipFormat = std::uint16_t;

inline constexpr HRESULT S_OK = 0;
inline constexpr HRESULT S_FALSE = 1;
inline constexpr HRESULT E_NOTIMPL = HRESULT(0x80004001);
inline constexpr HRESULT E_POINTER = HRESULT(0x80004003);
inline constexpr HRESULT E_FAIL = HRESULT(0x80004005);
inline constexpr HRESULT E_UNEXPECTED = HRESULT(0x8000FFFF);
inline constexpr HRESULT E_OUTOFMEMORY = HRESULT(0x8007000E);
inline constexpr HRESULT E_INVALIDARG = HRESULT(0x80070057);
inline constexpr HRESULT OLE_S_USEREG = HRESULT(0x00040000);
inline constexpr HRESULT OLE_E_ADVISENOTSUPPORTED = HRESULT(0x80040003);
inline constexpr HRESULT OLE_E_NOCONNECTION = HRESULT(0x80040004);
inline constexpr HRESULT DV_E_FORMATETC = HRESULT(0x80040064);
inline constexpr HRESULT DV_E_LINDEX = HRESULT(0x80040068);
inline constexpr HRESULT DV_E_TYMED = HRESULT(0x80040069);
inline constexpr HRESULT DV_E_DVASPECT = HRESULT(0x8004006B);
inline constexpr HRESULT DATA_S_SAMEFORMATETC = HRESULT(0x00040130);
inline constexpr HRESULT DRAGDROP_S_DROP = HRESULT(0x00040100);
inline constexpr HRESULT DRAGDROP_S_CANCEL = HRESULT(0x00040101);
inline constexpr HRESULT DRAGDROP_S_USEDEFAULTCURSORS = HRESULT(0x00040102);
inline constexpr HRESULT DRAGDROP_E_NOTREGISTERED = HRESULT(0x80040100);
inline constexpr HRESULT DRAGDROP_E_ALREADYREGISTERED = HRESULT(0x80040101);
inline constexpr HRESULT DRAGDROP_E_INVALIDHWND = HRESULT(0x80040102);
inline constexpr HRESULT CLIPBRD_E_CANT_OPEN = HRESULT(0x800401D0);
inline constexpr HRESULT CLIPBRD_E_CANT_SET = HRESULT(0x800401D2);

constexpr bool SUCCEEDED(HRESULT hr) {
    return hr >= 0;
}
constexpr bool FAILED(HRESULT hr) {
    return hr < 0;
}

// Standard clipboard formats.
inline constexpr TClipFormat CF_TEXT = 1;
inline constexpr TClipFormat CF_BITMAP = 2;
inline constexpr TClipFormat CF_UNICODETEXT = 13;
inline constexpr TClipFormat CF_MAX = 17;

// Storage media (a set), aspects, directions of the format enumerator, advise flags.
inline constexpr DWORD TYMED_NULL = 0;
inline constexpr DWORD TYMED_HGLOBAL = 1;
inline constexpr DWORD TYMED_FILE = 2;
inline constexpr DWORD TYMED_ISTREAM = 4;
inline constexpr DWORD TYMED_ISTORAGE = 8;
inline constexpr DWORD DVASPECT_CONTENT = 1;
inline constexpr DWORD DVASPECT_THUMBNAIL = 2;
inline constexpr DWORD DVASPECT_ICON = 4;
inline constexpr DWORD DATADIR_GET = 1;
inline constexpr DWORD DATADIR_SET = 2;
inline constexpr DWORD ADVF_NODATA = 1;
inline constexpr DWORD ADVF_ONLYONCE = 4;

// Drop effects (a set), the flag a target adds when it scrolled, and the key state's Alt bit
// (the mouse keys' MK_ bits are those of the mouse messages).
inline constexpr DWORD DROPEFFECT_NONE = 0;
inline constexpr DWORD DROPEFFECT_COPY = 1;
inline constexpr DWORD DROPEFFECT_MOVE = 2;
inline constexpr DWORD DROPEFFECT_LINK = 4;
inline constexpr DWORD DROPEFFECT_SCROLL = 0x80000000;
inline constexpr DWORD MK_ALT = 0x20;

// Flags of GlobalAlloc: blocks are always movable, zero-filled and shareable here.
inline constexpr unsigned GMEM_MOVEABLE = 0x2;
inline constexpr unsigned GMEM_ZEROINIT = 0x40;
inline constexpr unsigned GMEM_SHARE = 0x2000;

// A global memory block: bytes that stay where they are while anyone holds the handle.
struct TGlobalBlock {
    std::vector<std::uint8_t> Bytes;
};
using HGLOBAL = std::shared_ptr<TGlobalBlock>;

// A zero-filled block of `size` bytes; nil when the memory is not there.
HGLOBAL GlobalAlloc(unsigned flags, std::size_t size);
// The block's first byte (nil for nil); the block does not move, so unlocking has nothing to do.
void* GlobalLock(const HGLOBAL& block);
inline bool GlobalUnlock(const HGLOBAL&) {
    return false;
}
std::size_t GlobalSize(const HGLOBAL& block);

// What a piece of data is: its format, the device it was made for (none here), its aspect, the
// page (-1: all) and the media it may travel in.
struct TFormatEtc {
    TClipFormat cfFormat = 0;
    const void* ptd = nullptr;
    DWORD dwAspect = DVASPECT_CONTENT;
    std::int32_t lindex = -1;
    DWORD tymed = TYMED_HGLOBAL;
};

// Data in one medium: a global block or a stream. The release object, when set, owns the data:
// the medium's holder releases that instead of the data.
struct TStgMedium {
    DWORD tymed = TYMED_NULL;
    HGLOBAL hGlobal;
    std::shared_ptr<TStream> stream;
    std::shared_ptr<const void> pUnkForRelease;
};

// Lets go of the medium's data (or of its release object) and empties it.
void ReleaseStgMedium(TStgMedium& medium);

}  // namespace rv
