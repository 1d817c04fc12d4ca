#pragma once

#include <cstdint>
#include <vector>

#include "recorded_processor.h"

namespace rv::test::dumps {

using Dump = std::vector<RecordedLeaf>;

// CPUID answers of processors of several generations, written from the makers' descriptions
// of each leaf: 0 the highest standard leaf and the maker ("Genu" "ineI" "ntel" in EBX, EDX,
// ECX); 1 the signature (stepping, model, family, type; extended model and family in bits
// 16-27), brand index and feature bits; 2 Intel's cache descriptors (the first byte a count);
// 3 the serial number; 4 Intel's caches one by one; 0x80000000 the highest extended leaf;
// 0x80000001 AMD's signature and feature bits; 0x80000002-4 the brand text; 0x80000005 and
// 0x80000006 AMD's caches and TLBs.
inline RecordedLeaf Intel(std::uint32_t maxLeaf) {
    return {0, 0, {maxLeaf, 0x756E6547, 0x6C65746E, 0x49656E69}};
}
inline RecordedLeaf Amd(std::uint32_t maxLeaf) {
    return {0, 0, {maxLeaf, 0x68747541, 0x444D4163, 0x69746E65}};
}

inline Dump With(Dump leaves, const Dump& more) {
    leaves.insert(leaves.end(), more.begin(), more.end());
    return leaves;
}

// Pentium III "Katmai": no extended leaves at all. Descriptors 01-04 TLBs, 08 16 KB code,
// 0C 16 KB data, 43 512 KB L2.
inline Dump PentiumIIIKatmai() {
    return {Intel(3),
            {1, 0, {0x00000673, 0x00000000, 0x00000000, 0x0387FBFF}},
            {2, 0, {0x03020101, 0x00000000, 0x00000000, 0x0C040843}},
            {3, 0, {0x00000000, 0x00000000, 0x1A2B3C4D, 0x00005E6F}}};
}

// A family 6 model 5 processor with the given second-level cache descriptor.
inline Dump Family6Model5(std::uint8_t l2Descriptor) {
    return {Intel(2),
            {1, 0, {0x00000652, 0x00000000, 0x00000000, 0x0183FBFF}},
            {2, 0, {0x03020101, 0x00000000, 0x00000000, 0x0C040800u | l2Descriptor}}};
}

// Pentium 4 "Northwood", brand index 9, right-aligned brand text. Descriptors 50 5B TLBs,
// 66 8 KB data, 40 no L3, 70 12K uOp trace cache, 7B 512 KB L2.
inline Dump Pentium4Northwood() {
    return With({Intel(2),
                 {1, 0, {0x00000F27, 0x00010809, 0x00004400, 0xBFEBFBFF}},
                 {2, 0, {0x665B5001, 0x00000000, 0x00000000, 0x007B7040}},
                 {0x80000000, 0, {0x80000004, 0, 0, 0}}},
                BrandLeaves("              Intel(R) Pentium(R) 4 CPU 2.40GHz"));
}

// Core i7-6700K "Skylake": descriptor FF sends to leaf 4, whose sub-leaves give type (bits
// 0-4) and level (5-7) in EAX, ways, partitions and line size less one in EBX, sets less one
// in ECX.
inline Dump CoreI7Skylake() {
    return With({Intel(0x16),
                 {1, 0, {0x000506E3, 0x00100800, 0x7FFAFBBF, 0xBFEBFBFF}},
                 {2, 0, {0x76036301, 0x00F0B5FF, 0x00000000, 0x00C30000}},
                 {4, 0, {0x1C004121, 0x01C0003F, 0x0000003F, 0}},  // L1 data, 8 x 64 x 64
                 {4, 1, {0x1C004122, 0x01C0003F, 0x0000003F, 0}},  // L1 code, 8 x 64 x 64
                 {4, 2, {0x1C004143, 0x00C0003F, 0x000003FF, 0}},  // L2, 4 x 64 x 1024
                 {4, 3, {0x1C03C163, 0x03C0003F, 0x00001FFF, 6}},  // L3, 16 x 64 x 8192
                 {0x80000000, 0, {0x80000008, 0, 0, 0}},
                 {0x80000001, 0, {0, 0, 0x00000121, 0x2C100800}}},
                BrandLeaves("Intel(R) Core(TM) i7-6700K CPU @ 4.00GHz"));
}

// Athlon "Thunderbird". First-level TLBs: 2M/4M data 4-way 8, code fully 8; 4K data fully 24,
// code fully 16; caches 64 KB 2-way. Second level: 4K TLBs 4-way 256; 256 KB 16-way (code 8).
inline Dump AthlonThunderbird() {
    return With({Amd(1),
                 {1, 0, {0x00000642, 0x00000000, 0x00000000, 0x0183F9FF}},
                 {0x80000000, 0, {0x80000006, 0, 0, 0}},
                 {0x80000001, 0, {0x00000742, 0x00000000, 0x00000000, 0xC1C3F9FF}},
                 {0x80000005, 0, {0x0408FF08, 0xFF18FF10, 0x40020140, 0x40020140}},
                 {0x80000006, 0, {0x00000000, 0x41004100, 0x01008140, 0x00000000}}},
                BrandLeaves("AMD Athlon(tm) Processor"));
}

// Duron "Morgan": the Athlon's neighbour with a second-level cache of `l2Kb`.
inline Dump DuronMorgan(std::uint32_t l2Kb) {
    Dump leaves = AthlonThunderbird();
    leaves[1].Registers.Eax = 0x00000671;
    leaves[5].Registers.Ecx = l2Kb << 16 | 0x8140;
    leaves.resize(6);
    return With(leaves, BrandLeaves("AMD Duron(tm) Processor"));
}

// Athlon 64 "Clawhammer" 0xF48 with 1 MB of second-level cache, or, as model 5 with a brand
// index, an Opteron "Sledgehammer".
inline Dump Athlon64(std::uint32_t signature, std::uint8_t brand, const char* brandText) {
    return With({Amd(1),
                 {1, 0, {signature, 0x00000800u | brand, 0x00000000, 0x078BFBFF}},
                 {0x80000000, 0, {0x80000018, 0, 0, 0}},
                 {0x80000001, 0, {signature, 0x00000000, 0x00000000, 0xE1D3FBFF}},
                 {0x80000005, 0, {0xFF08FF08, 0xFF20FF20, 0x40020140, 0x40020140}},
                 {0x80000006, 0, {0x00000000, 0x42004200, 0x04008140, 0x00000000}}},
                BrandLeaves(brandText));
}

// EPYC of family 19h: 512 KB 8-way (code 6) second level; the third level of the whole
// package, 512 x 512 KB.
inline Dump EpycZen3() {
    return With({Amd(0x10),
                 {1, 0, {0x00A00F11, 0x00080800, 0x7ED8320B, 0x178BFBFF}},
                 {0x80000000, 0, {0x80000023, 0, 0, 0}},
                 {0x80000001, 0, {0x00A00F11, 0x40000000, 0x75C237FF, 0x2FD3FBFF}},
                 {0x80000005, 0, {0xFF40FF40, 0xFF40FF40, 0x20080140, 0x20080140}},
                 {0x80000006, 0, {0x48002200, 0x68004200, 0x02006140, 0x08009140}}},
                BrandLeaves("AMD EPYC 7713 64-Core Processor                "));
}

}  // namespace rv::test::dumps
