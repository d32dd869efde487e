#pragma once

#include <thread>

#include "box/card_box.h"
#include "files/file_identity.h"
#include "files/vok_file.h"
#include "table/file_path.h"

namespace tallyfold {

/// A vocabulary file read with the file's identity as it was before the read. Read ahead, on a
/// thread of its own, the read runs while the window is still being made, and the program
/// takes the box once it opens the file.
///
/// A read ahead makes cards, so while it runs no other thread may make or delete any: start it
/// before anything else touches a box, and take it (or let it go) before the first command.
class LoadAhead {
  public:
    /// Ahead: on a thread of its own, from now on. Now: here, before the constructor returns,
    /// for an open that had no read ahead.
    enum class Reading { Ahead, Now };

    explicit LoadAhead(FilePath path, Reading reading = Reading::Ahead);
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
    void Read();

    FilePath path_;
    FileIdentity identity_;
    LoadResult result_;
    tCardBox box_;
    std::thread thread_;
};

}  // namespace tallyfold
