#include "platform/system/memory.h"

#include <sys/mman.h>
#include <sys/sysinfo.h>
#include <unistd.h>

#include <cstdint>

namespace rv {

namespace {

constexpr std::size_t kHugePage = std::size_t(2) << 20;

}  // namespace

std::uint64_t PhysicalMemoryBytes() {
    struct sysinfo facts;
    if (sysinfo(&facts) != 0) return 0;
    return static_cast<std::uint64_t>(facts.totalram) * facts.mem_unit;
}

void* AllocateLargeBlock(std::size_t bytes) {
    if (bytes == 0) return nullptr;
    // Mapped with a huge page's worth to spare, then cut to an aligned start and the size in
    // whole pages.
    const std::size_t page = std::size_t(sysconf(_SC_PAGESIZE));
    bytes = (bytes + page - 1) / page * page;
    const std::size_t mapped = bytes + kHugePage;
    void* raw = mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (raw == MAP_FAILED) return nullptr;
    const auto start = reinterpret_cast<std::uintptr_t>(raw);
    const std::uintptr_t aligned = (start + kHugePage - 1) & ~std::uintptr_t(kHugePage - 1);
    const std::size_t head = aligned - start;
    const std::size_t tail = mapped - head - bytes;
    if (head > 0) munmap(raw, head);
    if (tail > 0) munmap(reinterpret_cast<void*>(aligned + bytes), tail);
    void* block = reinterpret_cast<void*>(aligned);
    // Only advice: without transparent huge pages the block is made of small pages.
    madvise(block, bytes, MADV_HUGEPAGE);
    return block;
}

void FreeLargeBlock(void* block, std::size_t bytes) {
    if (block) munmap(block, bytes);
}

}  // namespace rv
