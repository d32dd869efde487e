#pragma once

#include "table/file_path.h"

namespace tallyfold {

/// Tallyfold's folder among the user's data ($XDG_DATA_HOME/tallyfold, else
/// ~/.local/share/tallyfold), made when missing. An empty path when there is none to be had.
FilePath DataFolder();

}  // namespace tallyfold
