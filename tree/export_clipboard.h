#pragma once
// The clipboard's forms of the string tree's exports.

#include <string>
#include <string_view>

namespace rv {

// An HTML fragment as the clipboard's "HTML Format" carries it: a description of five lines
// giving the byte offsets of the document (StartHTML, EndHTML) and of the fragment inside it
// (StartFragment, EndFragment), then the document around the fragment.
std::string HTMLClipboardDocument(std::string_view fragment);

// The character that parts CSV fields for the user: a semicolon where the decimal separator is
// a comma, else a comma.
char32_t CSVListSeparator();

}  // namespace rv
