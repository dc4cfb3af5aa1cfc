#pragma once

#include <string>

#include "base/system.h"
#include "engine/file_system.h"

namespace zelmora {

// The user's own folders, found once at start: the application data, and the old fixed profile path where it
// names the user's own profile folder (else empty).
struct UserFolders {
    std::string appData;
    std::string fixedProfile;
};

// Asks the system for the user's folders, once at start: the application data may be a redirected network folder,
// and asking blocks. The old fixed profile path serves only where it is the user's own profile folder: a user name
// does not identify a profile, and another account's folder of that name is not the user's.
UserFolders FindUserFolders(System& system);

// The cache to clean: the old fixed path, where the profile folder it names is the user's own and the cache is
// there; otherwise the cache under the user's own application data, as the client keeps it for a renamed account
// or a profile folder named otherwise or on another drive. Where neither exists, the first that applies is the
// one reported missing.
std::string CachePath(FileSystem& fso, const UserFolders& folders);

}  // namespace zelmora
