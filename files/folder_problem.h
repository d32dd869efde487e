#pragma once

#include "table/file_path.h"

namespace tallyfold {

/// Why no file could be made in a folder, as far as the file system tells afterwards.
enum class FolderProblem {
    NoFolder,    ///< the user has no such folder (no home, no data or state folder)
    NotAFolder,  ///< something else stands under its name
    ReadOnly,    ///< this user may not write in it
    Full,        ///< its disk has no room left
    Unwritable,  ///< the system refused for another reason
};

/// Tells why files cannot be made in `folder`; an empty path is `NoFolder`.
FolderProblem ProblemOf(const FilePath& folder);

}  // namespace tallyfold
