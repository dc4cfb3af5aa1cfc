#pragma once

#include <string>

#include "engine/file_system.h"

namespace zelmora {

// File system of a POSIX host. Windows paths are mapped onto it: "C:\a\b" names driveRoot/a/b.
// The walk goes relative to open folder descriptors and never follows a link inside a folder.
class PosixFileSystem : public FileSystem {
public:
    explicit PosixFileSystem(std::string driveRoot) : driveRoot_(std::move(driveRoot)) {}

    std::unique_ptr<Folder> GetFolder(const std::string& path) override;
    bool Exists(const std::string& path) override;
    Deletion DeleteFolder(const std::string& path, DeletionProgress& progress) override;

    std::string HostPath(const std::string& path) const;

private:
    std::string driveRoot_;
};

class PosixFileSystemFactory : public FileSystemFactory {
public:
    explicit PosixFileSystemFactory(std::string driveRoot) : driveRoot_(std::move(driveRoot)) {}
    std::unique_ptr<FileSystem> Create() override { return std::make_unique<PosixFileSystem>(driveRoot_); }

private:
    std::string driveRoot_;
};

}  // namespace zelmora
