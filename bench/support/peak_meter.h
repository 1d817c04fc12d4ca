#pragma once

// Peak resident memory of a piece of work, as the kernel counts it.

#include <malloc.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

namespace rv::bench {

// A "Vm...:" line of /proc/self/status, in kilobytes.
inline long StatusKilobytes(const char* key) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(key, 0) == 0) return std::atol(line.c_str() + std::strlen(key));
    return 0;
}

// Resident memory above what the process held when the meter started: the start resets the
// kernel's peak, after giving freed memory back.
class PeakMeter {
public:
    PeakMeter() {
        malloc_trim(0);
        std::ofstream("/proc/self/clear_refs") << "5";
        start_ = StatusKilobytes("VmRSS:");
    }
    double PeakMiB() const { return double(StatusKilobytes("VmHWM:") - start_) / 1024; }

private:
    long start_;
};

}  // namespace rv::bench
