#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace rv {

// An optional sign and decimal digits whose value fits 32 signed bits, and nothing else (no
// blanks); nothing for any other text.
std::optional<std::int32_t> DecimalNumber(std::string_view text);

}  // namespace rv
