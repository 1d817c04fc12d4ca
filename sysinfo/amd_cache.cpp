// AMD's caches and TLBs: CPUID leaves 0x80000005 (first level) and 0x80000006 (second and
// third level).
#include "platform/text/format.h"
#include "sysinfo/cpu_cache.h"

namespace rv {
namespace {

std::uint32_t Bits(std::uint32_t value, int low, int count) {
    return value >> low & ((1u << count) - 1);
}

// The first-level leaf gives the associativity as a number of ways (255: fully).
std::string WaysText(std::uint32_t ways) {
    switch (ways) {
        case 0:
            return "Off";
        case 1:
            return "Direct mapped";
        case 255:
            return "fully associative";
        default:
            return Format("%u-way associative", ways);
    }
}

// The second- and third-level leaf gives it as a four-bit code.
std::string CodedWaysText(std::uint32_t code) {
    static const std::uint32_t kWays[16] = {0,  1, 2,  0,  4,  0,  8,   0,
                                            16, 0, 32, 48, 64, 96, 128, 255};
    return kWays[code] != 0 || code == 0 ? WaysText(kWays[code]) : "other associativity";
}

void AddTlb(TCPUCache& cache, const char* name, const std::string& ways, std::uint32_t entries) {
    if (entries == 0) return;
    cache.CacheDescriptions.push_back(Format("%s, %s, %u entries", name, ways.c_str(), entries));
}

// Size in KB, associativity text, line size, lines per tag.
void AddCache(TCPUCache& cache, const char* name, std::uint32_t kb, const std::string& ways,
              std::uint32_t line, std::uint32_t linesPerTag) {
    if (kb == 0) return;
    cache.CacheDescriptions.push_back(Format("%s %uK, %s, %u byte line size, %u line per tag", name,
                                             kb, ways.c_str(), line, linesPerTag));
}

void ReadFirstLevel(const TCacheQuery& query, TCPUCache& cache) {
    const CpuidRegisters r = query.Access.Cpuid(0x80000005);
    cache.Level1Data = static_cast<int>(Bits(r.Ecx, 24, 8));
    cache.Level1Code = static_cast<int>(Bits(r.Edx, 24, 8));
    AddTlb(cache, "Instruction TLB, 2M/4M pages", WaysText(Bits(r.Eax, 8, 8)), Bits(r.Eax, 0, 8));
    AddTlb(cache, "Instruction TLB, 4K pages", WaysText(Bits(r.Ebx, 8, 8)), Bits(r.Ebx, 0, 8));
    AddTlb(cache, "Data TLB, 2M/4M pages", WaysText(Bits(r.Eax, 24, 8)), Bits(r.Eax, 16, 8));
    AddTlb(cache, "Data TLB, 4K pages", WaysText(Bits(r.Ebx, 24, 8)), Bits(r.Ebx, 16, 8));
    AddCache(cache, "Instruction cache", Bits(r.Edx, 24, 8), WaysText(Bits(r.Edx, 16, 8)),
             Bits(r.Edx, 0, 8), Bits(r.Edx, 8, 8));
    AddCache(cache, "Data cache", Bits(r.Ecx, 24, 8), WaysText(Bits(r.Ecx, 16, 8)),
             Bits(r.Ecx, 0, 8), Bits(r.Ecx, 8, 8));
}

// Athlon XP and Duron (family 6, models 6 and 7) share a die; a reported second-level cache
// of 256 KB or more is the Athlon's 256 KB, or the Duron's 64 KB.
int SecondLevelSize(const TCacheQuery& query, std::uint32_t reported) {
    if (query.Family == 6 && (query.Model == 6 || query.Model == 7) && reported >= 256) {
        return query.NameString.find("Duron") != std::string_view::npos ? 64 : 256;
    }
    return static_cast<int>(reported);
}

void ReadSecondLevel(const TCacheQuery& query, TCPUCache& cache) {
    const CpuidRegisters r = query.Access.Cpuid(0x80000006);
    AddTlb(cache, "L2 Instruction TLB, 2M/4M pages", CodedWaysText(Bits(r.Eax, 12, 4)),
           Bits(r.Eax, 0, 12));
    AddTlb(cache, "L2 Instruction TLB, 4K pages", CodedWaysText(Bits(r.Ebx, 12, 4)),
           Bits(r.Ebx, 0, 12));
    AddTlb(cache, "L2 Data TLB, 2M/4M pages", CodedWaysText(Bits(r.Eax, 28, 4)),
           Bits(r.Eax, 16, 12));
    AddTlb(cache, "L2 Data TLB, 4K pages", CodedWaysText(Bits(r.Ebx, 28, 4)), Bits(r.Ebx, 16, 12));
    cache.Level2 = SecondLevelSize(query, Bits(r.Ecx, 16, 16));
    AddCache(cache, "Unified cache", static_cast<std::uint32_t>(cache.Level2),
             CodedWaysText(Bits(r.Ecx, 12, 4)), Bits(r.Ecx, 0, 8), Bits(r.Ecx, 8, 4));
    cache.Level3 = static_cast<int>(Bits(r.Edx, 18, 14) * 512);
    AddCache(cache, "Unified L3 cache", static_cast<std::uint32_t>(cache.Level3),
             CodedWaysText(Bits(r.Edx, 12, 4)), Bits(r.Edx, 0, 8), Bits(r.Edx, 8, 4));
}

}  // namespace

void DecodeAmdCache(const TCacheQuery& query, TCPUCache& cache) {
    if (query.MaxExtendedLeaf >= 0x80000005) ReadFirstLevel(query, cache);
    if (query.MaxExtendedLeaf >= 0x80000006) ReadSecondLevel(query, cache);
}

}  // namespace rv
