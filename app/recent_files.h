#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "table/file_path.h"

namespace tallyfold {

/// The vocabulary files opened or saved last, the newest first, as the File menu lists them.
class RecentFiles {
  public:
    static constexpr std::size_t kKept = 8;

    /// The list as `Serialized` wrote it; lines that name no file are left out.
    static RecentFiles Parse(std::string_view text);
    /// One file a line.
    std::string Serialized() const;

    /// Puts `path` first (once), the oldest going beyond `kKept`. A name that cannot stand on a
    /// line of its own is not kept.
    void Add(const FilePath& path);
    void Remove(const FilePath& path);
    const std::vector<FilePath>& Files() const { return files_; }

  private:
    std::vector<FilePath> files_;
};

}  // namespace tallyfold
