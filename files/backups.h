#pragma once

#include <cstddef>
#include <vector>

#include "table/file_path.h"

namespace tallyfold {

/// How many backups of one file are kept.
inline constexpr std::size_t kBackupsKept = 10;

/// A fresh name for a backup of `target` in the backups folder of the user's data folder:
/// "<name>-<folder>-<date>-<time>Z-<number>.vok", where <folder> tells apart files of one name
/// in different folders, the date and time are UTC (to the millisecond), and the number counts
/// the backups of the file on, so that the newest backup is the one with the highest number
/// whatever the clock or the time zone did. Empty when there is no data folder.
FilePath NewBackupPath(const FilePath& target);

/// Where the backups are kept, whether or not the folder is there yet; empty when there is no
/// data folder.
FilePath BackupsFolder();

/// The backups kept of `target`, oldest first: regular files named exactly as `NewBackupPath`
/// names them (or as earlier versions did, "<name>-<folder>-<date>-<time>[-<n>].vok" in local
/// time, which count as older than any numbered one). Nothing else in the folder is a backup.
std::vector<FilePath> BackupsOf(const FilePath& target);

/// Deletes the oldest backups of `target` until `keep` are left.
void PruneBackups(const FilePath& target, std::size_t keep = kBackupsKept);

/// Deletes the backups that are `target` itself under another name: a save that ended between
/// linking the old file to its backup and renaming the new one over it leaves the file linked.
/// They hold nothing the file does not, and a file with a second name is saved in place.
void ForgetBackupsThatAre(const FilePath& target);

}  // namespace tallyfold
