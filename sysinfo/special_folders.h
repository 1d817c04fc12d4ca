#pragma once

#include <cstdint>
#include <string>

// The shell's special folders, by their folder ids (CSIDL values). On Linux the desktop's own
// folders come from the XDG user directories, the user's profile is the home folder and the
// application data folders are the XDG base directories; the shell's virtual folders (the
// control panel, the printers, the network ...) and the system's folders have no path.
namespace rv {

inline constexpr int CSIDL_DESKTOP = 0x0000;   // the desktop itself: its folder
inline constexpr int CSIDL_PERSONAL = 0x0005;  // "My Documents"
inline constexpr int CSIDL_MYMUSIC = 0x000D;
inline constexpr int CSIDL_MYVIDEO = 0x000E;
inline constexpr int CSIDL_DESKTOPDIRECTORY = 0x0010;
inline constexpr int CSIDL_TEMPLATES = 0x0015;
inline constexpr int CSIDL_APPDATA = 0x001A;
inline constexpr int CSIDL_LOCAL_APPDATA = 0x001C;
inline constexpr int CSIDL_MYPICTURES = 0x0027;
inline constexpr int CSIDL_PROFILE = 0x0028;
inline constexpr int CSIDL_COMMON_DOCUMENTS = 0x002E;  // the documents shared with others

// The folder's path in `path`; empty when the folder id names no folder with a path. `owner`
// (the window that would own the shell's messages) is not needed.
void GetSpecialFolder(std::uintptr_t owner, int folder, std::string& path);

}  // namespace rv
