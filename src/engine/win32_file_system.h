#pragma once

#include "engine/file_system.h"
#include "engine/win32_nt_api.h"

namespace zelmora {

// The Windows file system, walked through open handles: each entry is opened relative to its folder's handle
// and as itself, a folder only if it is still the one listed; sizes come from the listing. Links inside a
// folder are never entered; deleting one removes the link itself.
class Win32FileSystem : public FileSystem {
public:
    // Entries are marked for deletion through setInformation.
    explicit Win32FileSystem(nt::SetInformationFile setInformation = NtSetInformationFile)
        : setInformation_(setInformation) {}

    std::unique_ptr<Folder> GetFolder(const std::string& path) override;
    bool Exists(const std::string& path) override;
    Deletion DeleteFolder(const std::string& path, DeletionProgress& progress) override;

private:
    nt::SetInformationFile setInformation_;
};

class Win32FileSystemFactory : public FileSystemFactory {
public:
    std::unique_ptr<FileSystem> Create() override { return std::make_unique<Win32FileSystem>(); }
};

}  // namespace zelmora
