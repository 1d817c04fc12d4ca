// Intel's caches: the one-byte descriptors of CPUID leaf 2, and the deterministic cache
// parameters of leaf 4 that descriptor 0xFF points to.
#include <algorithm>
#include <iterator>

#include "platform/text/format.h"
#include "sysinfo/cpu_cache.h"

namespace rv {
namespace {

enum class TKind : std::uint8_t {
    Tlb,        // a TLB: a line of text, no size
    Note,       // a remark: a line of text, no size
    Code,       // first-level instruction cache
    Data,       // first-level data cache
    Trace,      // trace cache, its size in K micro-operations counted as code cache
    Level2,     // second-level cache
    Level3,     // third-level cache
    Level2Or3,  // third-level on family 15 model 6, second-level elsewhere
    UseLeaf4,   // the caches are described by leaf 4
};

struct TDescriptor {
    std::uint8_t Code;
    TKind Kind;
    int Size;  // KB
    int Ways;
    int Line;  // bytes
    bool Sectored;
    const char* Text;  // TLBs and remarks
};

constexpr TDescriptor Tlb(std::uint8_t code, const char* text) {
    return {code, TKind::Tlb, 0, 0, 0, false, text};
}
constexpr TDescriptor Note(std::uint8_t code, TKind kind, const char* text) {
    return {code, kind, 0, 0, 0, false, text};
}
constexpr TDescriptor Cache(std::uint8_t code, TKind kind, int size, int ways, int line,
                            bool sectored = false) {
    return {code, kind, size, ways, line, sectored, nullptr};
}

constexpr bool kSectored = true;

// Ordered by descriptor.
constexpr TDescriptor kDescriptors[] = {
    Tlb(0x01, "Instruction TLB, 4Kb pages, 4-way set associative, 32 entries"),
    Tlb(0x02, "Instruction TLB, 4Mb pages, fully associative, 2 entries"),
    Tlb(0x03, "Data TLB, 4Kb pages, 4-way set associative, 64 entries"),
    Tlb(0x04, "Data TLB, 4Mb pages, 4-way set associative, 8 entries"),
    Tlb(0x05, "Data TLB, 4Mb pages, 4-way set associative, 32 entries"),
    Cache(0x06, TKind::Code, 8, 4, 32),
    Cache(0x08, TKind::Code, 16, 4, 32),
    Cache(0x09, TKind::Code, 32, 4, 64),
    Cache(0x0A, TKind::Data, 8, 2, 32),
    Tlb(0x0B, "Instruction TLB, 4Mb pages, 4-way set associative, 4 entries"),
    Cache(0x0C, TKind::Data, 16, 4, 32),
    Cache(0x0D, TKind::Data, 16, 4, 64),
    Cache(0x0E, TKind::Data, 24, 6, 64),
    Cache(0x1D, TKind::Level2, 128, 2, 64),
    Cache(0x21, TKind::Level2, 256, 8, 64),
    Cache(0x22, TKind::Level3, 512, 4, 64, kSectored),
    Cache(0x23, TKind::Level3, 1024, 8, 64, kSectored),
    Cache(0x24, TKind::Level2, 1024, 16, 64),
    Cache(0x25, TKind::Level3, 2048, 8, 64, kSectored),
    Cache(0x29, TKind::Level3, 4096, 8, 64, kSectored),
    Cache(0x2C, TKind::Data, 32, 8, 64),
    Cache(0x30, TKind::Code, 32, 8, 64),
    Cache(0x39, TKind::Level2, 128, 4, 64, kSectored),
    Cache(0x3A, TKind::Level2, 192, 6, 64, kSectored),
    Cache(0x3B, TKind::Level2, 128, 2, 64, kSectored),
    Cache(0x3C, TKind::Level2, 256, 4, 64, kSectored),
    Cache(0x3D, TKind::Level2, 384, 6, 64, kSectored),
    Cache(0x3E, TKind::Level2, 512, 4, 64, kSectored),
    Note(0x40, TKind::Note,
         "No L2 cache (P6 family), or No L3 cache (Pentium 4 and Xeon processors)"),
    Cache(0x41, TKind::Level2, 128, 4, 32),
    Cache(0x42, TKind::Level2, 256, 4, 32),
    Cache(0x43, TKind::Level2, 512, 4, 32),
    Cache(0x44, TKind::Level2, 1024, 4, 32),
    Cache(0x45, TKind::Level2, 2048, 4, 32),
    Cache(0x46, TKind::Level3, 4096, 4, 64),
    Cache(0x47, TKind::Level3, 8192, 8, 64),
    Cache(0x48, TKind::Level2, 3072, 12, 64),
    Cache(0x49, TKind::Level2Or3, 4096, 16, 64),
    Cache(0x4A, TKind::Level3, 6144, 12, 64),
    Cache(0x4B, TKind::Level3, 8192, 16, 64),
    Cache(0x4C, TKind::Level3, 12288, 12, 64),
    Cache(0x4D, TKind::Level3, 16384, 16, 64),
    Cache(0x4E, TKind::Level2, 6144, 24, 64),
    Tlb(0x4F, "Instruction TLB, 4Kb pages, 32 entries"),
    Tlb(0x50, "Instruction TLB, 4Kb and 2Mb or 4Mb pages, 64 entries"),
    Tlb(0x51, "Instruction TLB, 4Kb and 2Mb or 4Mb pages, 128 entries"),
    Tlb(0x52, "Instruction TLB, 4Kb and 2Mb or 4Mb pages, 256 entries"),
    Tlb(0x55, "Instruction TLB, 2Mb or 4Mb pages, fully associative, 7 entries"),
    Tlb(0x56, "Data TLB, 4Mb pages, 4-way set associative, 16 entries"),
    Tlb(0x57, "Data TLB, 4Kb pages, 4-way set associative, 16 entries"),
    Tlb(0x59, "Data TLB, 4Kb pages, fully associative, 16 entries"),
    Tlb(0x5A, "Data TLB, 2Mb or 4Mb pages, 4-way set associative, 32 entries"),
    Tlb(0x5B, "Data TLB, 4Kb and 4Mb pages, 64 entries"),
    Tlb(0x5C, "Data TLB, 4Kb and 4Mb pages, 128 entries"),
    Tlb(0x5D, "Data TLB, 4Kb and 4Mb pages, 256 entries"),
    Cache(0x60, TKind::Data, 16, 8, 64, kSectored),
    Tlb(0x61, "Instruction TLB, 4Kb pages, fully associative, 48 entries"),
    Tlb(0x63,
        "Data TLB, 2Mb or 4Mb pages, 4-way set associative, 32 entries, "
        "and 1Gb pages, 4-way set associative, 4 entries"),
    Tlb(0x64, "Data TLB, 4Kb pages, 4-way set associative, 512 entries"),
    Cache(0x66, TKind::Data, 8, 4, 64, kSectored),
    Cache(0x67, TKind::Data, 16, 4, 64, kSectored),
    Cache(0x68, TKind::Data, 32, 4, 64, kSectored),
    Tlb(0x6A, "Micro data TLB, 4Kb pages, 8-way set associative, 64 entries"),
    Tlb(0x6B, "Data TLB, 4Kb pages, 8-way set associative, 256 entries"),
    Tlb(0x6C, "Data TLB, 2Mb or 4Mb pages, 8-way set associative, 128 entries"),
    Tlb(0x6D, "Data TLB, 1Gb pages, fully associative, 16 entries"),
    Cache(0x70, TKind::Trace, 12, 8, 0),
    Cache(0x71, TKind::Trace, 16, 8, 0),
    Cache(0x72, TKind::Trace, 32, 8, 0),
    Tlb(0x76, "Instruction TLB, 2Mb or 4Mb pages, fully associative, 8 entries"),
    Cache(0x78, TKind::Level2, 1024, 4, 64),
    Cache(0x79, TKind::Level2, 128, 8, 64, kSectored),
    Cache(0x7A, TKind::Level2, 256, 8, 64, kSectored),
    Cache(0x7B, TKind::Level2, 512, 8, 64, kSectored),
    Cache(0x7C, TKind::Level2, 1024, 8, 64, kSectored),
    Cache(0x7D, TKind::Level2, 2048, 8, 64),
    Cache(0x7F, TKind::Level2, 512, 2, 64),
    Cache(0x80, TKind::Level2, 512, 8, 64),
    Cache(0x82, TKind::Level2, 256, 8, 32),
    Cache(0x83, TKind::Level2, 512, 8, 32),
    Cache(0x84, TKind::Level2, 1024, 8, 32),
    Cache(0x85, TKind::Level2, 2048, 8, 32),
    Cache(0x86, TKind::Level2, 512, 4, 64),
    Cache(0x87, TKind::Level2, 1024, 8, 64),
    Tlb(0xA0, "Data TLB, 4Kb pages, fully associative, 32 entries"),
    Tlb(0xB0, "Instruction TLB, 4Kb pages, 4-way set associative, 128 entries"),
    Tlb(0xB1,
        "Instruction TLB, 2Mb pages, 4-way set associative, 8 entries, "
        "or 4Mb pages, 4-way set associative, 4 entries"),
    Tlb(0xB2, "Instruction TLB, 4Kb pages, 4-way set associative, 64 entries"),
    Tlb(0xB3, "Data TLB, 4Kb pages, 4-way set associative, 128 entries"),
    Tlb(0xB4, "Data TLB, 4Kb pages, 4-way set associative, 256 entries"),
    Tlb(0xB5, "Instruction TLB, 4Kb pages, 8-way set associative, 64 entries"),
    Tlb(0xB6, "Instruction TLB, 4Kb pages, 8-way set associative, 128 entries"),
    Tlb(0xBA, "Data TLB, 4Kb pages, 4-way set associative, 64 entries"),
    Tlb(0xC0, "Data TLB, 4Kb and 4Mb pages, 4-way set associative, 8 entries"),
    Tlb(0xC1, "Shared L2 TLB, 4Kb and 2Mb pages, 8-way set associative, 1024 entries"),
    Tlb(0xC2, "Data TLB, 4Kb and 2Mb pages, 4-way set associative, 16 entries"),
    Tlb(0xC3,
        "Shared L2 TLB, 4Kb and 2Mb pages, 6-way set associative, 1536 entries, "
        "and 1Gb pages, 4-way set associative, 16 entries"),
    Tlb(0xC4, "Data TLB, 2Mb or 4Mb pages, 4-way set associative, 32 entries"),
    Tlb(0xCA, "Shared L2 TLB, 4Kb pages, 4-way set associative, 512 entries"),
    Cache(0xD0, TKind::Level3, 512, 4, 64),
    Cache(0xD1, TKind::Level3, 1024, 4, 64),
    Cache(0xD2, TKind::Level3, 2048, 4, 64),
    Cache(0xD6, TKind::Level3, 1024, 8, 64),
    Cache(0xD7, TKind::Level3, 2048, 8, 64),
    Cache(0xD8, TKind::Level3, 4096, 8, 64),
    Cache(0xDC, TKind::Level3, 1536, 12, 64),
    Cache(0xDD, TKind::Level3, 3072, 12, 64),
    Cache(0xDE, TKind::Level3, 6144, 12, 64),
    Cache(0xE2, TKind::Level3, 2048, 16, 64),
    Cache(0xE3, TKind::Level3, 4096, 16, 64),
    Cache(0xE4, TKind::Level3, 8192, 16, 64),
    Cache(0xEA, TKind::Level3, 12288, 24, 64),
    Cache(0xEB, TKind::Level3, 18432, 24, 64),
    Cache(0xEC, TKind::Level3, 24576, 24, 64),
    Note(0xF0, TKind::Note, "64 byte prefetching"),
    Note(0xF1, TKind::Note, "128 byte prefetching"),
    Note(0xFE, TKind::Note, "TLBs are described by CPUID leaf 0x18"),
    Note(0xFF, TKind::UseLeaf4, "Caches are described by CPUID leaf 4"),
};

constexpr bool Ordered() {
    for (std::size_t i = 1; i < std::size(kDescriptors); ++i) {
        if (kDescriptors[i - 1].Code >= kDescriptors[i].Code) return false;
    }
    return true;
}
static_assert(Ordered(), "the descriptor table is searched by halves");

const TDescriptor* FindDescriptor(std::uint8_t code) {
    const auto* end = std::end(kDescriptors);
    const auto* found = std::lower_bound(
        std::begin(kDescriptors), end, code,
        [](const TDescriptor& row, std::uint8_t wanted) { return row.Code < wanted; });
    return found != end && found->Code == code ? found : nullptr;
}

std::string SizeText(int kb) {
    return kb % 1024 == 0 ? Format("%dM", kb / 1024) : Format("%dK", kb);
}

std::string CacheText(const TDescriptor& d, TKind level) {
    if (d.Kind == TKind::Trace) {
        return Format("Instruction Trace cache, %d-way set associative, %dK uOps", d.Ways, d.Size);
    }
    const char* name = level == TKind::Code     ? "Instruction cache"
                       : level == TKind::Data   ? "Data cache"
                       : level == TKind::Level2 ? "L2 cache"
                                                : "L3 cache";
    return Format("%s, %s%d byte cache line, %d-way set associative, %s", name,
                  d.Sectored ? "sectored, " : "", d.Line, d.Ways, SizeText(d.Size).c_str());
}

// Leaf 2: the first byte of EAX says how often to ask; a register with bit 31 set holds no
// descriptors.
std::vector<std::uint8_t> ReadDescriptors(const TProcessorAccess& access) {
    std::vector<std::uint8_t> bytes;
    CpuidRegisters r = access.Cpuid(2);
    const int rounds = std::max(1, static_cast<int>(r.Eax & 0xFF));
    for (int round = 0; round < rounds; ++round) {
        if (round > 0) r = access.Cpuid(2);
        const std::uint32_t registers[] = {r.Eax, r.Ebx, r.Ecx, r.Edx};
        for (int i = 0; i < 4; ++i) {
            if (registers[i] & 0x80000000u) continue;
            for (int b = i == 0 ? 1 : 0; b < 4; ++b) {
                const auto byte = static_cast<std::uint8_t>(registers[i] >> (8 * b));
                if (byte != 0) bytes.push_back(byte);
            }
        }
    }
    return bytes;
}

// Leaf 4: one sub-leaf per cache, until one of type 0.
void ReadDeterministicCaches(const TProcessorAccess& access, TCPUCache& cache) {
    static const char* const kTypes[] = {"", "data", "instruction", "unified"};
    for (std::uint32_t index = 0; index < 32; ++index) {
        const CpuidRegisters r = access.Cpuid(4, index);
        const std::uint32_t type = r.Eax & 0x1F;
        if (type == 0) break;
        if (type > 3) continue;
        const int level = static_cast<int>(r.Eax >> 5 & 7);
        const std::uint64_t ways = (r.Ebx >> 22) + 1;
        const std::uint64_t partitions = (r.Ebx >> 12 & 0x3FF) + 1;
        const std::uint64_t line = (r.Ebx & 0xFFF) + 1;
        const std::uint64_t sets = static_cast<std::uint64_t>(r.Ecx) + 1;
        const int kb = static_cast<int>(
            std::min<std::uint64_t>(ways * partitions * line * sets / 1024, 0x7FFFFFFF));
        if (level == 1 && type == 1) cache.Level1Data += kb;
        if (level == 1 && type == 2) cache.Level1Code += kb;
        if (level == 2) cache.Level2 = kb;
        if (level == 3) cache.Level3 = kb;
        const std::string waysText = (r.Eax & 0x200) != 0
                                         ? "fully associative"
                                         : Format("%d-way set associative", static_cast<int>(ways));
        cache.CacheDescriptions.push_back(Format("L%d %s cache, %d byte cache line, %s, %s", level,
                                                 kTypes[type], static_cast<int>(line),
                                                 waysText.c_str(), SizeText(kb).c_str()));
    }
}

}  // namespace

void DecodeIntelCache(const TCacheQuery& query, TCPUCache& cache) {
    if (query.MaxStandardLeaf < 2) return;
    cache.Descriptors = ReadDescriptors(query.Access);
    bool useLeaf4 = false;
    for (const std::uint8_t code : cache.Descriptors) {
        const TDescriptor* d = FindDescriptor(code);
        if (d == nullptr) continue;
        TKind kind = d->Kind;
        if (kind == TKind::Level2Or3) {
            kind = query.Family == 15 && query.Model == 6 ? TKind::Level3 : TKind::Level2;
        }
        switch (kind) {
            case TKind::Code:
            case TKind::Trace:
                cache.Level1Code += d->Size;
                break;
            case TKind::Data:
                cache.Level1Data += d->Size;
                break;
            case TKind::Level2:
                cache.Level2 = d->Size;
                break;
            case TKind::Level3:
                cache.Level3 = d->Size;
                break;
            case TKind::UseLeaf4:
                useLeaf4 = true;
                break;
            default:
                break;
        }
        cache.CacheDescriptions.push_back(d->Text != nullptr ? d->Text : CacheText(*d, kind));
    }
    if (useLeaf4 && query.MaxStandardLeaf >= 4) ReadDeterministicCaches(query.Access, cache);
}

}  // namespace rv
