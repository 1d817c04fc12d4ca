#pragma once
// The process's clipboard formats: the standard numbers and the formats registered by name, each
// with the media type under which the toolkit's clipboard and drag and drop carry it.

#include <string>
#include <string_view>
#include <vector>

#include "platform/transfer/ole_types.h"

namespace rv {

// The number of a named format: the same name (ASCII case ignored) always gets the same number,
// from 0xC000 up; 0 for an empty name.
TClipFormat RegisterClipboardFormat(std::string_view name);
// The name a format was registered with; empty for standard and unknown numbers.
std::string GetClipboardFormatName(TClipFormat format);

// The media type the toolkit carries a format as: "text/plain" (CF_TEXT), "text/plain;
// charset=utf-8" (CF_UNICODETEXT), "text/html" ("HTML Format"), "text/rtf" (both rich text
// formats), "text/csv" ("CSV"), and for any other registered name a type of this program's own,
// "application/x-lorvix-reelvault-" and the name in lower case with blanks as hyphens. Empty for
// formats with none.
std::string FormatMediaType(TClipFormat format);
// The formats carried as a media type, in registration order (standard formats first).
std::vector<TClipFormat> FormatsOfMediaType(std::string_view mediaType);

}  // namespace rv
