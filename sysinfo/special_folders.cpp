#include "sysinfo/special_folders.h"

#include "platform/system/xdg_folders.h"
#include "platform/system/xdg_user_dirs.h"

namespace rv {

void GetSpecialFolder(std::uintptr_t, int folder, std::string& path) {
    switch (folder) {
        case CSIDL_DESKTOP:
        case CSIDL_DESKTOPDIRECTORY:
            path = UserDirectory(udDesktop);
            break;
        case CSIDL_PERSONAL:
            path = UserDirectory(udDocuments);
            break;
        case CSIDL_MYMUSIC:
            path = UserDirectory(udMusic);
            break;
        case CSIDL_MYVIDEO:
            path = UserDirectory(udVideos);
            break;
        case CSIDL_MYPICTURES:
            path = UserDirectory(udPictures);
            break;
        case CSIDL_TEMPLATES:
            path = UserDirectory(udTemplates);
            break;
        case CSIDL_COMMON_DOCUMENTS:
            path = UserDirectory(udPublicShare);
            break;
        case CSIDL_PROFILE:
            path = UserHomeFolder();
            break;
        case CSIDL_APPDATA:
            path = UserConfigFolder();
            break;
        case CSIDL_LOCAL_APPDATA:
            path = UserDataFolder();
            break;
        default:
            path.clear();
            break;
    }
}

}  // namespace rv
