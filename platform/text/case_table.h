#pragma once

#include <cstddef>
#include <cstdint>

namespace rv {

// The full case mappings of the Basic Multilingual Plane, generated from the Unicode Character
// Database by generate_case_table.py: the entry count, then per entry its code point and four
// mappings (case folding, lower, title, upper case), each a count followed by that many code
// points. A mapping to the character itself is empty.
extern const std::uint16_t kCaseTable[];
extern const std::size_t kCaseTableSize;

// The simple lower case of every plane, from the same data: pairs of a code point and its lower
// case, by code point, for the characters whose lower case is another character.
extern const std::uint32_t kSimpleLowerTable[];
extern const std::size_t kSimpleLowerTableSize;

}  // namespace rv
