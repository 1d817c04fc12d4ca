#pragma once

#include <cstdarg>
#include <string>

namespace rv {

// printf-style formatting into a std::string ("%d", "%s" with a C string, "%2.2d" ...).
std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string FormatV(const char* format, va_list args);

}  // namespace rv
