#pragma once

#include "engine/file_system.h"

namespace zelmora {

// The Windows file system. Folders are listed through an open handle, sizes come from the listing, and
// links or other reparse points inside a folder are never entered; deleting one removes the link itself.
class Win32FileSystem : public FileSystem {
public:
    std::unique_ptr<Folder> GetFolder(const std::string& path) override;
    bool Exists(const std::string& path) override;
    void DeleteFolder(const std::string& path) override;
};

class Win32FileSystemFactory : public FileSystemFactory {
public:
    std::unique_ptr<FileSystem> Create() override { return std::make_unique<Win32FileSystem>(); }
};

}  // namespace zelmora
