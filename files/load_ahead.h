#pragma once

#include <thread>

#include "box/card_box.h"
#include "files/file_identity.h"
#include "files/vok_file.h"
#include "table/file_path.h"

namespace tallyfold {

/// A vocabulary file read on a thread of its own, so that the read runs while the window is
/// still being made; the program takes the box once it opens the file.
///
/// The read makes cards, so while it runs no other thread may make or delete any: start it
/// before anything else touches a box, and take it (or let it go) before the first command.
class LoadAhead {
  public:
    explicit LoadAhead(FilePath path);
    /// Waits for the read to end.
    ~LoadAhead();
    LoadAhead(const LoadAhead&) = delete;
    LoadAhead& operator=(const LoadAhead&) = delete;

    const FilePath& Path() const { return path_; }

    /// Waits for the read to end. Then the file's identity as it was before the read, the
    /// read's result, and the box of the cards read are there to take.
    void Wait();
    const FileIdentity& Identity() const { return identity_; }
    const LoadResult& Result() const { return result_; }
    tCardBox& Box() { return box_; }

  private:
    FilePath path_;
    FileIdentity identity_;
    LoadResult result_;
    tCardBox box_;
    std::thread thread_;
};

}  // namespace tallyfold
