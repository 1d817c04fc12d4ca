#include "platform/text/case_mapping.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/text/case_table.h"

namespace rv {

namespace {

constexpr int kMappings = 4;

// Where one mapping of one character lies in the pool of mapped code points.
struct Slot {
    std::array<std::uint16_t, kMappings> start{};
    std::array<std::uint8_t, kMappings> count{};
};

using Plane = std::array<Slot, 256>;

// 256 planes by the high byte of the code point; a plane exists only when one of its characters
// has an entry.
struct CaseData {
    std::array<std::unique_ptr<Plane>, 256> planes;
    std::vector<char16_t> pool;
};

CaseData LoadCaseMapping() {
    CaseData data;
    std::size_t at = 0;
    // The table is generated and committed; every count is checked anyway, so a bad table
    // stops the load instead of reading past its end.
    auto next = [&]() -> std::uint16_t { return at < kCaseTableSize ? kCaseTable[at++] : 0; };
    const std::uint16_t entries = next();
    for (std::uint16_t i = 0; i < entries && at < kCaseTableSize; ++i) {
        const std::uint16_t code = next();
        auto& plane = data.planes[code >> 8];
        if (!plane) plane = std::make_unique<Plane>();
        Slot& slot = (*plane)[code & 0xFF];
        for (int m = 0; m < kMappings; ++m) {
            const std::uint16_t count = next();
            slot.start[m] = static_cast<std::uint16_t>(data.pool.size());
            slot.count[m] = static_cast<std::uint8_t>(count);
            for (std::uint16_t k = 0; k < count; ++k) data.pool.push_back(next());
        }
    }
    return data;
}

const CaseData& Data() {
    // Built by the first caller; a caller arriving meanwhile waits for it to finish.
    static const CaseData data = LoadCaseMapping();
    return data;
}

}  // namespace

std::u32string CaseLookup(char32_t code, CaseMapping mapping) {
    const CaseData& data = Data();
    const int m = static_cast<int>(mapping);
    if (code > 0xFFFF || m < 0 || m >= kMappings) return std::u32string(1, code);
    const auto& plane = data.planes[code >> 8];
    if (!plane) return std::u32string(1, code);
    const Slot& slot = (*plane)[code & 0xFF];
    if (slot.count[m] == 0) return std::u32string(1, code);
    return std::u32string(data.pool.begin() + slot.start[m],
                          data.pool.begin() + slot.start[m] + slot.count[m]);
}

std::u16string WideUpperCaseFull(std::u16string_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (const char16_t unit : text)
        for (const char32_t mapped : CaseLookup(unit, CaseMapping::Upper))
            out.push_back(static_cast<char16_t>(mapped));  // the table holds no wider values
    return out;
}

char32_t SimpleLowerCase(char32_t code) {
    // The pairs lie by code point: search the even positions.
    std::size_t low = 0, high = kSimpleLowerTableSize / 2;
    while (low < high) {
        const std::size_t middle = (low + high) / 2;
        const char32_t key = kSimpleLowerTable[2 * middle];
        if (key == code) return kSimpleLowerTable[2 * middle + 1];
        if (key < code)
            low = middle + 1;
        else
            high = middle;
    }
    return code;
}

}  // namespace rv
