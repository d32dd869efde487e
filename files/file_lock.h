#pragma once

#include <optional>

#include "files/process_stamp.h"
#include "table/file_path.h"

namespace tallyfold {

/// The mark that a Tallyfold has a vocabulary file open, so that a second one can warn before
/// two windows change the same cards. The marks are files of the user's state folder ("locks"),
/// one per file, named after its canonical path; each names the process that holds it. A mark
/// whose process is gone (a crash, a kill) counts as free.
class FileLock {
  public:
    FileLock() = default;
    ~FileLock() { Release(); }
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    /// The live process, other than this one, that holds the mark of `path`.
    static std::optional<ProcessStamp> HolderOf(const FilePath& path);

    /// Marks `path` as open here, taking the mark over from whoever held it, and gives up the
    /// mark held before. False when no mark can be written (no state folder): the file can be
    /// used all the same.
    bool Take(const FilePath& path);
    /// The folder of the marks (which may not exist); empty when the user has no state folder.
    static FilePath Folder();
    /// Gives the mark up, if this process still holds it.
    void Release();
    bool Held() const { return !lock_.IsEmpty(); }

  private:
    FilePath lock_;
};

}  // namespace tallyfold
