#pragma once

#include <cstdint>
#include <string>

#include "sysinfo/version_info.h"

namespace rv {

// What the About box tells, gathered from the program's version data, the processor and the
// system.
struct TAboutFacts {
    TVersionInfo Version;
    std::string CpuName;          // the processor's brand text, trimmed
    std::string CpuVendor;        // the maker's short name; empty when not recognised
    std::string CpuFriendlyName;  // the model's name from the tables
    int CpuMHz = 0;
    std::string OSLongName;
    std::int64_t TotalMemory = 0;  // bytes
};
// Measures the processor's clock (about a tenth of a second).
TAboutFacts GatherAboutFacts();

// The texts of the About box; Desc stays empty when the product name equals the file
// description (ASCII case ignored), and the box then keeps its design text.
struct TAboutTexts {
    std::string Caption;
    std::string Product;
    std::string Desc;
    std::string Copy;
    std::string CPU;
    std::string OS;
    std::string Ver;
    std::string Mem;
    std::string Comment;
};
// `kind` 0 is the box of the "About..." command; `text`, when not empty, is the comment.
TAboutTexts AboutTexts(int kind, const std::string& text, const TAboutFacts& facts);

// The maker's address and web page the box links to.
inline constexpr const char* kMakerMail = "hello@reelvault.example";
inline constexpr const char* kMakerWebPage = "https://reelvault.example/";

// A whole number with "," between groups of three digits.
std::string GroupThousands(std::int64_t value);

}  // namespace rv
