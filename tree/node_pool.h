#pragma once

#include <cstddef>
#include <vector>

namespace rv {

// The blocks of one tree's nodes: every block has the same size (node record, internal data and
// user data), keeps its address for its whole life, and is taken and given back in constant
// time. Blocks come from chunks that grow with the tree; DropAll gives every block back at once.
class TNodePool {
public:
    TNodePool() = default;
    ~TNodePool() { DropAll(); }
    TNodePool(const TNodePool&) = delete;
    TNodePool& operator=(const TNodePool&) = delete;

    // Only while no block is taken; the size is rounded up to a multiple of 8.
    void SetBlockSize(std::size_t size);
    std::size_t BlockSize() const { return blockSize_; }

    // A zero-filled block; throws std::bad_alloc when memory runs out.
    void* Allocate();
    void Free(void* block);
    // Gives back every block and every chunk.
    void DropAll();

    std::size_t LiveCount() const { return live_; }
    // Whether `p` is the start of a block of this pool that is taken now (a look at every chunk
    // and the free list: for checking an address that comes from outside, not for walks).
    bool IsLiveBlock(const void* p) const;

private:
    void AddChunk();

    struct FreeBlock {
        FreeBlock* next;
    };
    std::size_t blockSize_ = 8;
    struct Chunk {
        void* memory;
        std::size_t bytes;
        bool large;  // from AllocateLargeBlock, else from calloc
    };
    std::vector<Chunk> chunks_;
    char* bump_ = nullptr;  // next never-used block of the newest chunk
    char* bumpEnd_ = nullptr;
    FreeBlock* free_ = nullptr;
    std::size_t live_ = 0;
    std::size_t nextChunkBlocks_ = 0;
};

}  // namespace rv
