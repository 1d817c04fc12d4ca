#include "tree/node_pool.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>

#include "platform/system/memory.h"
#include "tree/tree_errors.h"

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/asan_interface.h>
#define RV_POISON(address, size) ASAN_POISON_MEMORY_REGION(address, size)
#define RV_UNPOISON(address, size) ASAN_UNPOISON_MEMORY_REGION(address, size)
#else
#define RV_POISON(address, size) ((void)(address), (void)(size))
#define RV_UNPOISON(address, size) ((void)(address), (void)(size))
#endif

namespace rv {

namespace {

// Chunks start small, so that the many small trees cost little, and double up to a size that
// comes straight from the system, so that a dropped pool returns its memory at once. Chunks of
// 2 MiB and more are asked for in huge pages: a million nodes then fill their memory with a few
// dozen page faults instead of twenty thousand.
constexpr std::size_t kFirstChunkBlocks = 32;
constexpr std::size_t kLargestChunkBytes = std::size_t(8) << 20;
constexpr std::size_t kLargeChunkBytes = std::size_t(2) << 20;

}  // namespace

void TNodePool::SetBlockSize(std::size_t size) {
    TreeAssert(live_ == 0, "Node blocks can only be resized while none is in use.");
    DropAll();
    blockSize_ = std::max<std::size_t>(8, (size + 7) & ~std::size_t(7));
}

void TNodePool::AddChunk() {
    if (nextChunkBlocks_ == 0) nextChunkBlocks_ = kFirstChunkBlocks;
    const std::size_t blocks = nextChunkBlocks_;
    chunks_.reserve(chunks_.size() + 1);
    // Zero-filled (fresh pages from the system), so a never-used block needs no clearing.
    const std::size_t bytes = blocks * blockSize_;
    const bool large = bytes >= kLargeChunkBytes;
    void* chunk = large ? AllocateLargeBlock(bytes) : std::calloc(blocks, blockSize_);
    if (!chunk) throw std::bad_alloc();
    chunks_.push_back({chunk, bytes, large});
    bump_ = static_cast<char*>(chunk);
    bumpEnd_ = bump_ + blocks * blockSize_;
    nextChunkBlocks_ = std::max(blocks, std::min(blocks * 2, kLargestChunkBytes / blockSize_));
}

void* TNodePool::Allocate() {
    void* block;
    if (free_) {
        block = free_;
        free_ = free_->next;
        RV_UNPOISON(block, blockSize_);
        std::memset(block, 0, blockSize_);
    } else {
        if (bump_ == bumpEnd_) AddChunk();
        block = bump_;
        bump_ += blockSize_;
    }
    ++live_;
    return block;
}

void TNodePool::Free(void* block) {
    auto* f = static_cast<FreeBlock*>(block);
    f->next = free_;
    free_ = f;
    --live_;
    // Under the address sanitizer a freed node cannot be touched (but for the free-list link).
    RV_POISON(static_cast<char*>(block) + sizeof(FreeBlock), blockSize_ - sizeof(FreeBlock));
}

bool TNodePool::IsLiveBlock(const void* p) const {
    const auto* address = static_cast<const char*>(p);
    bool inChunk = false;
    for (const Chunk& chunk : chunks_) {
        const auto* begin = static_cast<const char*>(chunk.memory);
        // Addresses are compared as numbers: `p` may point anywhere.
        const auto a = reinterpret_cast<std::uintptr_t>(address);
        const auto b = reinterpret_cast<std::uintptr_t>(begin);
        if (a < b || a >= b + chunk.bytes) continue;
        if ((a - b) % blockSize_ != 0) return false;
        // The newest chunk's blocks from bump_ on were never handed out.
        if (begin <= bump_ && bump_ < begin + chunk.bytes &&
            a >= reinterpret_cast<std::uintptr_t>(bump_))
            return false;
        inChunk = true;
        break;
    }
    if (!inChunk) return false;
    for (const FreeBlock* f = free_; f; f = f->next)
        if (static_cast<const void*>(f) == p) return false;
    return true;
}

void TNodePool::DropAll() {
    for (const Chunk& chunk : chunks_) {
        RV_UNPOISON(chunk.memory, chunk.bytes);
        if (chunk.large)
            FreeLargeBlock(chunk.memory, chunk.bytes);
        else
            std::free(chunk.memory);
    }
    chunks_.clear();
    chunks_.shrink_to_fit();
    bump_ = bumpEnd_ = nullptr;
    free_ = nullptr;
    live_ = 0;
    nextChunkBlocks_ = 0;
}

}  // namespace rv
