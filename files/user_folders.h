#pragma once

#include <string_view>

#include "table/file_path.h"

namespace tallyfold {

/// Tallyfold's folder among the user's data ($XDG_DATA_HOME/tallyfold, else
/// ~/.local/share/tallyfold; %LOCALAPPDATA%\Tallyfold on Windows), made when missing. An empty
/// path when there is none to be had.
FilePath DataFolder();

/// Tallyfold's folder for state that outlives a run but is no document: the recovery journals
/// and the locks of open files ($XDG_STATE_HOME/tallyfold, else ~/.local/state/tallyfold;
/// %LOCALAPPDATA%\Tallyfold\State on Windows), made when missing, or an empty path.
FilePath StateFolder();

/// The folder of the recovery journals in the state folder, made when missing; where it cannot
/// be made, its path all the same, so that the journal's failure is told. Empty when there is
/// no state folder.
FilePath JournalFolder();

/// The folder `name` inside `parent`, made when missing; an empty path when `parent` is empty
/// or the folder cannot be made.
FilePath SubFolder(const FilePath& parent, std::string_view name);

}  // namespace tallyfold
