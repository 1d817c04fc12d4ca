#pragma once

#include <array>
#include <string_view>

// Names of the NT native interface's object types, thread states and wait reasons, by their
// numbers. Fixed data: Linux has no NT native interface, and nothing in the program reads them.
namespace rv {

extern const std::array<std::string_view, 27> ObjectTypeNames;
extern const std::array<std::string_view, 8> ThreadStateNames;
extern const std::array<std::string_view, 28> WaitReasonNames;

}  // namespace rv
