// The main() of a fuzz target built as a test: it feeds the target every file of the seed folder
// it is given, in name order, as libFuzzer would. A missing or empty folder fails, so a target
// whose seeds went astray does not pass by testing nothing.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>
#include <vector>

#include "testsupport/sanitizer_defaults.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
// Defined by the targets that set something up once, as under libFuzzer.
extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int* argc, char*** argv);

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s SEED_FOLDER\n", argv[0]);
        return 2;
    }
    std::vector<std::filesystem::path> seeds;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(argv[1], error))
        if (entry.is_regular_file()) seeds.push_back(entry.path());
    if (error || seeds.empty()) {
        std::fprintf(stderr, "%s: no seeds in %s\n", argv[0], argv[1]);
        return 1;
    }
    std::sort(seeds.begin(), seeds.end());
    if (LLVMFuzzerInitialize) LLVMFuzzerInitialize(&argc, &argv);
    for (const auto& seed : seeds) {
        std::ifstream in(seed, std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(in), {}};
        if (!in.good() && !in.eof()) {
            std::fprintf(stderr, "%s: cannot read %s\n", argv[0], seed.c_str());
            return 1;
        }
        std::printf("%s (%zu bytes)\n", seed.filename().c_str(), bytes.size());
        std::fflush(stdout);  // so that a seed that brings the target down is named
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    }
    std::printf("%zu seeds replayed\n", seeds.size());
    return 0;
}
