#include "medialib/xml/node_pool.h"

#include <array>
#include <memory>
#include <mutex>
#include <new>
#include <vector>

// Under AddressSanitizer every block comes from the general allocator, so that a node used after
// it was freed is caught.
#if defined(__SANITIZE_ADDRESS__)
#define RV_POOL_NODES 0
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define RV_POOL_NODES 0
#endif
#endif
#ifndef RV_POOL_NODES
#define RV_POOL_NODES 1
#endif

namespace rv {

namespace {

constexpr std::size_t kGranule = 16;
constexpr std::size_t kLargestPooled = 256;
constexpr std::size_t kChunkSize = 64 * 1024;

struct FreeBlock {
    FreeBlock* next;
};

// Every chunk stays reachable from here for the life of the process: a thread's documents may
// outlive the thread (one held in a static object is released when the process ends).
class ChunkStore {
public:
    char* NewChunk() {
        auto chunk = std::make_unique_for_overwrite<char[]>(kChunkSize);  // no need to zero it
        char* memory = chunk.get();
        const std::lock_guard lock(mutex_);
        chunks_.push_back(std::move(chunk));
        return memory;
    }

private:
    std::mutex mutex_;
    std::vector<std::unique_ptr<char[]>> chunks_;
};

ChunkStore& Chunks() {
    static ChunkStore* const store = new ChunkStore;  // outlives every thread's documents
    return *store;
}

struct Pool {
    std::array<FreeBlock*, kLargestPooled / kGranule + 1> freeLists{};
    char* cursor = nullptr;
    std::size_t left = 0;

    void* Allocate(std::size_t size) {
        const std::size_t index = (size + kGranule - 1) / kGranule;
        if (FreeBlock* block = freeLists[index]) {
            freeLists[index] = block->next;
            // Freed blocks lie anywhere; fetching the next one now spares the next call a wait.
            __builtin_prefetch(block->next);
            return block;
        }
        const std::size_t rounded = index * kGranule;
        if (left < rounded) {
            cursor = Chunks().NewChunk();
            left = kChunkSize;
        }
        void* block = cursor;
        cursor += rounded;
        left -= rounded;
        return block;
    }

    void Free(void* memory, std::size_t size) {
        const std::size_t index = (size + kGranule - 1) / kGranule;
        auto* block = static_cast<FreeBlock*>(memory);
        block->next = freeLists[index];
        freeLists[index] = block;
    }
};

thread_local Pool pool;

}  // namespace

void* AllocateNodeMemory(std::size_t size) {
    if (!RV_POOL_NODES || size > kLargestPooled || size == 0) return ::operator new(size);
    return pool.Allocate(size);
}

void FreeNodeMemory(void* block, std::size_t size) noexcept {
    if (!block) return;
    if (!RV_POOL_NODES || size > kLargestPooled || size == 0) {
        ::operator delete(block);
        return;
    }
    pool.Free(block, size);
}

}  // namespace rv
