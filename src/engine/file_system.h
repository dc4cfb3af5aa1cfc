#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base/failure.h"

namespace zelmora {

// A failure of a file-system operation, with the path it concerns.
class FileSystemError : public Failure {
public:
    using Failure::Failure;
};

// An entry gone, or being deleted, by the time it was reached: its owner (the client) removed it.
class EntryGone : public FileSystemError {
public:
    using FileSystemError::FileSystemError;
};

struct FileEntry {
    std::string name;
    int64_t length;  // as the file system reports it

    bool operator==(const FileEntry&) const = default;
};

// One open folder. Links inside it are listed in neither collection.
class Folder {
public:
    virtual ~Folder() = default;
    virtual const std::vector<FileEntry>& Files() const = 0;
    virtual const std::vector<std::string>& SubFolders() const = 0;
    // Opens the subfolder at that place of SubFolders(), relative to this one; fails if it is no longer a plain folder,
    // with EntryGone where it is gone.
    virtual std::unique_ptr<Folder> OpenSubFolder(size_t index) const = 0;
};

// Told by a deletion as it goes, on the thread it runs on.
class DeletionProgress {
public:
    virtual ~DeletionProgress() = default;
    // Asked before each entry: a deletion asked to stop ends there, and what went is gone.
    virtual bool StopRequested() const = 0;
    // A file this deletion deleted and the file system confirmed gone, with the length it was listed with.
    virtual void FileDeleted(int64_t length) = 0;
};

// What a deletion did.
struct Deletion {
    bool contentsGone = false;  // everything the folder held went, or was gone already
    bool folderGone = false;    // and the folder itself
};

// File-system services of the cleaning cycle. Paths are UTF-8 with "\" as the separator.
class FileSystem {
public:
    virtual ~FileSystem() = default;

    // Opens and lists the folder at a path. Throws FileSystemError, EntryGone where nothing is there.
    virtual std::unique_ptr<Folder> GetFolder(const std::string& path) = 0;

    // Whether an entry of that path exists, folders included; hidden and system entries don't count.
    virtual bool Exists(const std::string& path) = 0;

    // Deletes the folder and everything in it that can be deleted, without forcing: an entry that is read-only,
    // in use or denied stays, untouched, with the folders that hold it, and the deletion goes on past it. An
    // entry gone or being deleted already (its owner removing it) is neither counted nor in the way. Links inside
    // are removed, never followed. Throws FileSystemError, having deleted nothing, when the folder cannot be
    // opened.
    virtual Deletion DeleteFolder(const std::string& path, DeletionProgress& progress) = 0;
};

// Makes a fresh file-system object for each use.
class FileSystemFactory {
public:
    virtual ~FileSystemFactory() = default;
    virtual std::unique_ptr<FileSystem> Create() = 0;
};

}  // namespace zelmora
