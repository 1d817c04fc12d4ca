#pragma once

#include <string>
#include <string_view>

#include "platform/registry/registry_key.h"

namespace rv {

// A key name as the registry allows it: 1 to 255 characters of UTF-8, none of them "\" or a
// control character.
bool IsValidKeyName(std::string_view name);

// Resolves a key text against `current`: a leading "\" starts from the root, anything else is
// relative; one trailing "\" is ignored, so "" and "\" name `current` and the root. False for an
// empty name inside the text, an invalid name or a path deeper than the registry allows.
bool ResolveKeyPath(std::string_view text, const KeyPath& current, KeyPath& resolved);

// "A\B\C".
std::string JoinKeyPath(const KeyPath& path);

}  // namespace rv
