#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "readers/tag_text.h"

// The contents of ID3v2 frames: each function takes a frame body as stored, encoding byte first.
namespace rv {

// The encoding a frame's first byte names, or nothing for an unknown one.
std::optional<TagEncoding> ID3v2Encoding(std::string_view body);

// A text frame (TIT2 ...).
std::string ID3v2FrameText(std::string_view body);

// A comment frame: encoding, 3-byte language, a short description, then the text.
std::string ID3v2CommentText(std::string_view body);

// A user link frame: encoding, a short description, then the address in single-byte text.
std::string ID3v2LinkText(std::string_view body);

// A content-type text: leading genre numbers in parentheses give way to the name that follows
// them, or when none follows, to the name of the first number. Other texts stay as they are.
std::string ID3v2GenreText(std::string_view text);

}  // namespace rv
