#pragma once

#include <cstdint>
#include <string_view>

namespace rv {

// The registry's root keys, with their Windows values. Each is kept in a settings file of its
// own (settings_location.h); any other value names no root.
using HKEY = std::uint32_t;
inline constexpr HKEY HKEY_CLASSES_ROOT = 0x80000000;
inline constexpr HKEY HKEY_CURRENT_USER = 0x80000001;
inline constexpr HKEY HKEY_LOCAL_MACHINE = 0x80000002;
inline constexpr HKEY HKEY_USERS = 0x80000003;
inline constexpr HKEY HKEY_CURRENT_CONFIG = 0x80000005;
inline constexpr HKEY HKEY_DYN_DATA = 0x80000006;

// "HKEY_CURRENT_USER" ...; empty for a value that names no root.
std::string_view RootKeyName(HKEY root);

}  // namespace rv
