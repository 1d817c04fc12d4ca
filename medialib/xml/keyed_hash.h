#pragma once

#include <cstdint>
#include <string_view>

namespace rv {

// A hash of names from outside for look-up tables: keyed with a secret drawn once per process,
// so that a file cannot be made whose names all fall into one place (SipHash-1-3).
std::uint64_t KeyedHash(std::string_view bytes);

}  // namespace rv
