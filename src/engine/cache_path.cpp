#include "engine/cache_path.h"

#include "base/user_name.h"

namespace zelmora {

UserFolders FindUserFolders(System& system) {
    UserFolders folders{system.AppDataFolder(), ""};
    const std::string user = system.Environment("USERNAME");
    const std::string fixed = "C:\\Documents and Settings\\" + user;
    if (!user.empty() && IsSafeUserName(user) && system.IsOwnProfileFolder(fixed))
        folders.fixedProfile = fixed;
    return folders;
}

std::string CachePath(FileSystem& fso, const UserFolders& folders) {
    const std::string fixed =
        folders.fixedProfile.empty() ? "" : folders.fixedProfile + "\\Application Data\\sina\\weibo\\cache";
    const std::string own = folders.appData.empty() ? "" : folders.appData + "\\sina\\weibo\\cache";
    if (own.empty() || (!fixed.empty() && fso.Exists(fixed)) || !fso.Exists(own))
        return fixed.empty() ? own : fixed;
    return own;
}

}  // namespace zelmora
