#pragma once

#include <cstddef>
#include <vector>

#include "table/file_path.h"

namespace tallyfold {

/// How many backups of one file are kept.
inline constexpr std::size_t kBackupsKept = 10;

/// A fresh name for a backup of `target` in the backups folder of the user's data folder:
/// "<name>-<folder>-<date>-<time>.vok", where <folder> tells apart files of one name in
/// different folders. Empty when there is no data folder.
FilePath NewBackupPath(const FilePath& target);

/// The backups kept of `target`, oldest first.
std::vector<FilePath> BackupsOf(const FilePath& target);

/// Deletes the oldest backups of `target` until `keep` are left.
void PruneBackups(const FilePath& target, std::size_t keep = kBackupsKept);

}  // namespace tallyfold
