#pragma once

#include <string_view>

// The root element the library file and the presentations share.
namespace rv::library_xml {

inline constexpr std::string_view kRootName = "Lorvix_Media_Library";
inline constexpr std::string_view kVersion = "1.0";
inline constexpr std::string_view kEncoding = "windows-1250";

}  // namespace rv::library_xml
