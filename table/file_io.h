#pragma once

// The one seam between Tallyfold and the file system. Every byte the table engine and the card
// files read or write goes through here, so a test can make any single operation fail.

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>

#include "table/file_path.h"

namespace tallyfold {

enum class FileOperation { Open, Create, Read, Write, Sync, Close, Rename, Remove };

/// Asked before every file operation, on the thread that makes it (sometimes two at once);
/// answering true makes that operation fail as if the system had refused it. Tests only: the
/// program never sets one.
using FaultHook = std::function<bool(FileOperation)>;
void SetFaultHook(FaultHook hook);

/// An open file, closed when the object goes away. Offsets and sizes are 64-bit.
class File {
  public:
    File() = default;
    ~File();
    File(File&& other) noexcept;
    File& operator=(File&& other) noexcept;
    File(const File&) = delete;
    File& operator=(const File&) = delete;

    /// Opens an existing regular file for reading and writing, or for reading only when the
    /// file may not be written (`IsWritable` then says so). Folders are refused.
    [[nodiscard]] bool OpenExisting(const FilePath& path);
    /// Opens the file that `other` has open once more, for reading only: reads through both
    /// may run on two threads at once.
    [[nodiscard]] bool OpenSame(const File& other);
    /// Creates the file for reading and writing, emptying a file of that name.
    [[nodiscard]] bool Create(const FilePath& path);
    /// Creates a file that must not exist yet, for reading and writing.
    [[nodiscard]] bool CreateNew(const FilePath& path);
    /// Sets the permission bits exactly, whatever the umask took away at creation (on Windows,
    /// the attributes of `PermissionsOf` that a user sets: hidden, system, not indexed).
    [[nodiscard]] bool SetPermissions(unsigned mode);
    /// Gives the file the owner and group of another file: both where the system allows,
    /// else the group alone; false when neither could be kept.
    [[nodiscard]] bool SetOwnerOf(const FilePath& other);

    bool IsOpen() const { return handle_ != kNoHandle; }
    bool IsWritable() const { return writable_; }
    /// Size in bytes, or 0 when it cannot be told.
    std::uint64_t Size() const;

    /// Reads up to `out.size()` bytes at `offset`. Returns the number read, fewer at the end
    /// of the file, or -1 on an error.
    std::int64_t ReadAt(std::uint64_t offset, std::span<char> out);
    /// Writes all of `data` at `offset`; false if any of it could not be written.
    [[nodiscard]] bool WriteAt(std::uint64_t offset, std::span<const char> data);
    /// Asks the system to start writing this range to the disk without waiting for it, so a
    /// later `Sync` has less left to wait for. Advisory: nothing fails.
    void StartWriteback(std::uint64_t offset, std::uint64_t length);
    /// Waits until this range is written to the disk and lets the system drop it from its
    /// cache: a file written once and not read soon then does not fill the memory. Advisory:
    /// nothing fails, and `Sync` is still needed to make the file durable.
    void ReleaseWritten(std::uint64_t offset, std::uint64_t length);
    /// Forces the written bytes to the disk.
    [[nodiscard]] bool Sync();
    /// `Sync` for a thread beside the one that writes the file: the data alone, and without
    /// asking the fault hook, which belongs to the thread that runs a test.
    [[nodiscard]] bool SyncBeside();
    /// Cuts the file to `size` bytes.
    [[nodiscard]] bool Truncate(std::uint64_t size);
    /// Closes the file; false when the system reports that written data may be lost.
    bool Close();

  private:
    // The system's handle of the open file: a descriptor on POSIX systems, a HANDLE on
    // Windows, where INVALID_HANDLE_VALUE is the same -1.
    static constexpr std::intptr_t kNoHandle = -1;
    bool Adopt(std::intptr_t handle, bool writable);

    std::intptr_t handle_ = kNoHandle;
    bool writable_ = false;
};

/// Renames `from` to `to` in one step, replacing a file at `to`.
[[nodiscard]] bool RenameFile(const FilePath& from, const FilePath& to);
/// Gives the existing file `existing` the second name `name` (a hard link); false where the
/// file system has none or `name` is taken.
[[nodiscard]] bool LinkFile(const FilePath& existing, const FilePath& name);
/// Deletes a file; false if it could not be deleted.
bool RemoveFile(const FilePath& path);
/// Forces the folder entry of `path` (a rename or a new file) to the disk. Best effort.
void SyncFolderOf(const FilePath& path);
/// The permission bits of an existing file (its attributes on Windows), or nothing when there
/// is none.
std::optional<unsigned> PermissionsOf(const FilePath& path);
/// What the file system tells of an existing file without opening it.
struct FileStatus {
    bool regular = false;
    std::uint64_t size = 0;
    /// Time of the last change of the contents, in nanoseconds since 1970.
    std::int64_t modifiedNs = 0;
    /// Which file it is, whatever its name: its file system (volume) and its number there.
    std::uint64_t volume = 0;
    std::uint64_t index = 0;
};
/// The status of `path`, or nothing when there is no such file or folder.
std::optional<FileStatus> StatusOf(const FilePath& path);
/// True when `path` names an existing regular file.
bool IsRegularFile(const FilePath& path);
/// True when `a` and `b` are names of one existing file (hard links, or links to it).
bool SameFile(const FilePath& a, const FilePath& b);
/// How many names the existing file `path` has in the file system (hard links); 0 when there
/// is no such file.
unsigned LinkCount(const FilePath& path);
/// True when this process may create files in `folder`.
bool FolderIsWritable(const FilePath& folder);
/// The path with every symbolic link it ends in followed, so a save replaces the file a link
/// points to and the link stays; `path` itself when it is no link (or the links go round).
FilePath ResolveLinks(const FilePath& path);

}  // namespace tallyfold
