#pragma once

#include <string>
#include <string_view>

// The desktop's folders of the user's own (XDG user directories): where the desktop, the
// documents, the music ... are. Named in <config folder>/user-dirs.dirs, one per line:
//
//   XDG_MUSIC_DIR="$HOME/Musik"
//   XDG_DESKTOP_DIR="/data/desk"
//
// a path relative to the home folder ("$HOME/" alone is the home folder itself) or an absolute
// one, in double quotes, a backslash making the next character literal. Comments ("#") and
// lines of any other form are skipped; a later line for the same folder wins. A folder the file
// does not name, or names in no valid form, is the XDG default: the home folder's "Desktop",
// "Downloads", "Templates", "Public", "Documents", "Music", "Pictures" or "Videos".
namespace rv {

enum class TUserDir {
    udDesktop,
    udDownload,
    udTemplates,
    udPublicShare,
    udDocuments,
    udMusic,
    udPictures,
    udVideos
};
using enum TUserDir;

// The folder as `text` (the content of user-dirs.dirs) names it, with `home` for "$HOME"; empty
// when the text names it in no valid form.
std::string UserDirFromText(std::string_view text, TUserDir dir, const std::string& home);

// The folder for the current user; empty only when there is no home folder at all.
std::string UserDirectory(TUserDir dir);

}  // namespace rv
