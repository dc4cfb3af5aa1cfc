#pragma once

#include <string>

namespace zelmora {

// A user name that could step out of the profile folder is never put into a path.
inline bool IsSafeUserName(const std::string& name) {
    return name.find_first_of("\\/:") == std::string::npos && name.find("..") == std::string::npos;
}

}  // namespace zelmora
