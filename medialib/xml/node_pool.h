#pragma once

#include <cstddef>

namespace rv {

// Memory for nodes. A document of a large catalogue has a million of them, made and freed
// together; taking them from per-thread free lists of same-sized blocks costs a fraction of
// the general allocator. Freed blocks are kept for the next document, never given back.
void* AllocateNodeMemory(std::size_t size);
void FreeNodeMemory(void* block, std::size_t size) noexcept;

}  // namespace rv
