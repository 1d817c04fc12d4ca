#include "platform/transfer/ole_types.h"

#include <new>

namespace rv {

HGLOBAL GlobalAlloc(unsigned, std::size_t size) {
    try {
        auto block = std::make_shared<TGlobalBlock>();
        block->Bytes.resize(size);
        return block;
    } catch (const std::bad_alloc&) {
        return nullptr;
    } catch (const std::length_error&) {
        return nullptr;
    }
}

void* GlobalLock(const HGLOBAL& block) {
    if (!block) return nullptr;
    // A block of no bytes still has an address, as the platform's has.
    static std::uint8_t empty;
    return block->Bytes.empty() ? &empty : block->Bytes.data();
}

std::size_t GlobalSize(const HGLOBAL& block) {
    return block ? block->Bytes.size() : 0;
}

void ReleaseStgMedium(TStgMedium& medium) {
    medium = TStgMedium{};
}

}  // namespace rv
