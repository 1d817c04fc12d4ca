#pragma once

#include <optional>
#include <string>
#include <string_view>

// The single-byte code pages the program meets in files: windows-1250 (the library file),
// windows-1252 (tag text without an encoding of its own) and ISO-8859-1.
namespace rv {

enum class CodePage { Windows1250, Windows1252, Iso8859_1 };

// Accepts the usual spellings of the names, without regard to case ("windows-1250",
// "cp1252", "ISO-8859-1", "latin1" ...).
std::optional<CodePage> CodePageFromName(std::string_view name);
// The name files declare: "windows-1250", "windows-1252", "ISO-8859-1".
std::string_view CodePageName(CodePage page);

// The code point of one byte. Every byte has one: the bytes windows-1250 and windows-1252
// leave undefined stand for the C1 control of the same number, as browsers read them.
char32_t CodePageToUnicode(CodePage page, unsigned char byte);

// The byte for `cp`, or nothing when the code page lacks the character.
std::optional<unsigned char> UnicodeToCodePage(CodePage page, char32_t cp);

// Bytes in the code page -> UTF-8.
std::string DecodeCodePage(CodePage page, std::string_view bytes);

// UTF-8 -> bytes in the code page. A character the code page lacks is written as what
// `onMissing` returns for it (already in the code page), or as '?' without one.
template <typename OnMissing>
std::string EncodeCodePage(CodePage page, std::string_view utf8, OnMissing&& onMissing);
std::string EncodeCodePage(CodePage page, std::string_view utf8);

// Whether every character of the UTF-8 text exists in the code page.
bool CodePageHasAll(CodePage page, std::string_view utf8);

}  // namespace rv

#include "platform/text/codepage_inl.h"
