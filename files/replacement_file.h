#pragma once

#include "table/file_io.h"
#include "table/file_path.h"

#include <string_view>
#include <utility>

namespace tallyfold {

/// A file that replaces `target` in one step: it is written completely under a temporary name
/// in the same folder and then renamed over the target, so the target is at every moment
/// either the old file or the new one. Without `Commit`, the temporary file is removed.
///
/// A target with other names (hard links), or in a folder this process may not write, cannot
/// be renamed over without losing them: it is written in place instead. The new file is then
/// written completely in the user's data folder, a copy of the old one is kept there, and only
/// then are the new bytes written over the target and flushed; the copy goes once they are.
/// A failure leaves that copy ("<name>.keep-...", in the data folder's "saving"), so the old
/// cards can always be had back.
/// Where a file written in place is written whole first, whether or not the folder is there
/// yet; empty when there is no data folder.
FilePath InPlaceSavingFolder();

/// Writes the bytes of `from` over `to` (made when missing), cut to their length and flushed.
[[nodiscard]] bool CopyFileBytes(const FilePath& from, const FilePath& to);
/// Copies `from` into the new file `to`, flushed; false, and nothing made, when `to` exists (a
/// file, or a link planted there, which is never followed) or the copy fails.
[[nodiscard]] bool CopyToNewFile(const FilePath& from, const FilePath& to);

/// Replaces `target` in one step (a `ReplacementFile`) with a file of exactly `bytes`, forced
/// to the disk; false, and the target as it was, when that could not be done.
[[nodiscard]] bool ReplaceFileWith(const FilePath& target, std::string_view bytes);

class ReplacementFile {
  public:
    /// A target that is a symbolic link is the file it points to: the link stays a link.
    explicit ReplacementFile(const FilePath& target) : target_(ResolveLinks(target)) {}
    ~ReplacementFile();
    ReplacementFile(const ReplacementFile&) = delete;
    ReplacementFile& operator=(const ReplacementFile&) = delete;

    /// Creates the temporary file under a fresh name, with the permissions, the owner and the
    /// group of the target when it exists (as far as the system lets this process give them).
    /// False when no file can be created in the target's folder.
    [[nodiscard]] bool Reserve();
    /// The temporary file's path, valid after `Reserve`.
    const FilePath& TempPath() const { return temp_; }
    /// Renames the temporary file over the target, or writes it over the target in place. False
    /// on failure: the target untouched, or, in place, its old bytes kept in the copy.
    [[nodiscard]] bool Commit();
    /// Before the new file takes the target's place, the old one is kept as `backup` (linked
    /// when the folders share a file system, else copied). A backup that cannot be made does
    /// not stop the save; `BackupKept` tells.
    void KeepOldAs(FilePath backup) { backup_ = std::move(backup); }
    bool BackupKept() const { return backupKept_; }
    /// True when the target is written in place.
    bool InPlace() const { return inPlace_; }
    /// Where the old file was kept by an in-place write that failed; empty otherwise.
    const FilePath& KeptCopy() const { return kept_; }

  private:
    bool CommitInPlace();
    void KeepBackup(bool mayLink);

    FilePath target_;
    FilePath temp_;
    FilePath kept_;
    FilePath backup_;
    bool backupKept_ = false;
    bool inPlace_ = false;
    bool committed_ = false;
};

}  // namespace tallyfold
