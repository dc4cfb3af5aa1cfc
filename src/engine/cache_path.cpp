#include "engine/cache_path.h"

namespace zelmora {

std::string CachePath(FileSystem& fso, const UserFolders& folders) {
    const std::string fixed =
        folders.fixedProfile.empty() ? "" : folders.fixedProfile + "\\Application Data\\sina\\weibo\\cache";
    const std::string own = folders.appData.empty() ? "" : folders.appData + "\\sina\\weibo\\cache";
    if (own.empty() || (!fixed.empty() && fso.Exists(fixed)) || !fso.Exists(own))
        return fixed.empty() ? own : fixed;
    return own;
}

}  // namespace zelmora
