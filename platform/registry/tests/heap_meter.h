#pragma once

// The most heap memory a piece of work held at once, as the bytes the program asked for, counted
// by the allocator hooks of AddressSanitizer and ThreadSanitizer (their red zones and quarantine
// would swamp the resident size). Without them there is no meter.

#include <atomic>
#include <cstddef>
#include <cstdint>

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
extern "C" {
int __sanitizer_install_malloc_and_free_hooks(void (*onMalloc)(const volatile void*, std::size_t),
                                              void (*onFree)(const volatile void*));
std::size_t __sanitizer_get_allocated_size(const volatile void* p);
}
#endif

namespace rv::test {

class HeapMeter {
public:
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    static constexpr bool kAvailable = true;
    HeapMeter() {
        static const int installed = __sanitizer_install_malloc_and_free_hooks(&OnMalloc, &OnFree);
        (void)installed;
        live_ = 0;
        peak_ = 0;
    }
#else
    static constexpr bool kAvailable = false;
#endif

    // Since the meter started. Blocks older than the meter that the work frees lower the count:
    // keep such frees out of the work measured.
    double PeakMiB() const {
        return double(peak_.load()) / (1024 * 1024);
    }

private:
    static void OnMalloc(const volatile void*, std::size_t size) {
        const std::int64_t now = live_ += std::int64_t(size);
        std::int64_t peak = peak_.load();
        while (now > peak && !peak_.compare_exchange_weak(peak, now)) {
        }
    }
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    static void OnFree(const volatile void* block) {
        if (block) live_ -= std::int64_t(__sanitizer_get_allocated_size(block));
    }
#endif

    static inline std::atomic<std::int64_t> live_{0};
    static inline std::atomic<std::int64_t> peak_{0};
};

}  // namespace rv::test
