#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace rv {

// What an editor may put at the start of a UTF-8 file to say so.
inline constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// A blank around a line or its "=": a space or a tab. A carriage return ends a Windows line.
inline bool IsLineBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

std::string_view TrimBlanks(std::string_view line);

// Hands each line of a settings file's text that is not empty, without the blanks around it, to
// `read`, which returns false with a reason to stop there. The text is refused when it is larger
// than a settings file or not UTF-8; a byte-order mark (which editors may add) is passed over.
// False, with the reason in `error` ("line 3: ..."), when the text is refused or `read` stopped.
bool ReadSettingsLines(std::string_view text,
                       const std::function<bool(std::string_view line, std::string& reason)>& read,
                       std::string& error);

}  // namespace rv
