#pragma once

#include "table/file_io.h"
#include "table/file_path.h"

namespace tallyfold {

/// A file that replaces `target` in one step: it is written completely under a temporary name
/// in the same folder and then renamed over the target, so the target is at every moment
/// either the old file or the new one. Without `Commit`, the temporary file is removed.
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
    /// Renames the temporary file over the target. False (and the target untouched) on failure.
    [[nodiscard]] bool Commit();

  private:
    FilePath target_;
    FilePath temp_;
    bool committed_ = false;
};

}  // namespace tallyfold
