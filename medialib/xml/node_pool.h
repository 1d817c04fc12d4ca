#pragma once

#include <cstddef>

namespace rv {

// Memory for nodes. A document of a large catalogue has a million of them, made and freed
// together; taking them from per-thread free lists of same-sized blocks costs a fraction of
// the general allocator. Freed blocks are kept for the next document, never given back.
void* AllocateNodeMemory(std::size_t size);
void FreeNodeMemory(void* block, std::size_t size) noexcept;

// The same memory for the small arrays nodes keep (children, attributes).
template <typename T>
struct NodePoolAllocator {
    using value_type = T;

    NodePoolAllocator() = default;
    template <typename U>
    NodePoolAllocator(const NodePoolAllocator<U>&) {}

    T* allocate(std::size_t n) { return static_cast<T*>(AllocateNodeMemory(n * sizeof(T))); }
    void deallocate(T* block, std::size_t n) noexcept { FreeNodeMemory(block, n * sizeof(T)); }

    template <typename U>
    bool operator==(const NodePoolAllocator<U>&) const {
        return true;
    }
};

}  // namespace rv
