#pragma once

// The most memory a piece of work held at once. Under AddressSanitizer and ThreadSanitizer the
// allocator's hooks count the bytes the program asked for (the sanitizers' own red zones and
// quarantine would swamp the resident size); elsewhere the kernel counts resident memory.

#include <malloc.h>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define RV_HEAP_METER_HOOKS 1
extern "C" {
int __sanitizer_install_malloc_and_free_hooks(void (*onMalloc)(const volatile void*, std::size_t),
                                              void (*onFree)(const volatile void*));
std::size_t __sanitizer_get_allocated_size(const volatile void* p);
}
#endif

namespace rv::test {

class HeapMeter {
public:
    HeapMeter() {
#ifdef RV_HEAP_METER_HOOKS
        static const bool installed = __sanitizer_install_malloc_and_free_hooks(&OnMalloc, &OnFree);
        (void)installed;
        Live().store(0);
        Peak().store(0);
#else
        malloc_trim(0);
        std::ofstream("/proc/self/clear_refs") << "5";
        start_ = StatusKilobytes("VmRSS:");
#endif
    }

    // Since the meter started. With the hooks, blocks older than the meter that the work frees
    // lower the count: keep such frees out of the work measured.
    double PeakMiB() const {
#ifdef RV_HEAP_METER_HOOKS
        return double(Peak().load()) / (1024 * 1024);
#else
        return double(StatusKilobytes("VmHWM:") - start_) / 1024;
#endif
    }

private:
#ifdef RV_HEAP_METER_HOOKS
    static std::atomic<std::int64_t>& Live() {
        static std::atomic<std::int64_t> live{0};
        return live;
    }
    static std::atomic<std::int64_t>& Peak() {
        static std::atomic<std::int64_t> peak{0};
        return peak;
    }
    static void OnMalloc(const volatile void*, std::size_t size) {
        const std::int64_t now = Live().fetch_add(std::int64_t(size)) + std::int64_t(size);
        std::int64_t peak = Peak().load();
        while (now > peak && !Peak().compare_exchange_weak(peak, now)) {
        }
    }
    static void OnFree(const volatile void* block) {
        if (block) Live().fetch_sub(std::int64_t(__sanitizer_get_allocated_size(block)));
    }
#else
    static long StatusKilobytes(const char* key) {
        std::ifstream status("/proc/self/status");
        std::string line;
        while (std::getline(status, line))
            if (line.rfind(key, 0) == 0) return std::atol(line.c_str() + std::strlen(key));
        return 0;
    }
    long start_ = 0;
#endif
};

}  // namespace rv::test
