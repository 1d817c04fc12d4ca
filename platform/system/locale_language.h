#pragma once

#include <cstdint>
#include <string_view>

// The language the system speaks, as a Windows language id: the primary language in the low
// ten bits, the sublanguage above them (0x0411 = 1041 Japanese, 0x0804 = 2052 Chinese of the
// People's Republic).
//
// Linux has no system-wide language id. What stands in for it is the locale the program runs
// under, and of that the character-type category (LC_ALL, else LC_CTYPE, else LANG), since on
// Windows the system language is what picks the character set too.
namespace rv {

inline constexpr std::uint16_t LANG_NEUTRAL = 0;
inline constexpr std::uint16_t LANG_ENGLISH_US = 0x0409;

// The language of the running program's locale.
std::uint16_t SystemDefaultLangID();

// The language of a locale name "language[_TERRITORY][.codeset][@modifier]": "ja_JP.UTF-8"
// gives 1041. The C and POSIX locales (and an empty name) are American English; a language
// the table lacks is LANG_NEUTRAL.
std::uint16_t LangIDOfLocale(std::string_view locale);

}  // namespace rv
