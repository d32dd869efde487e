#include "files/user_folders.h"

#include <cstdlib>
#include <string>

// The user's folders as the XDG base directory rules name them.

namespace tallyfold {

namespace {

// $<variable>/tallyfold, else ~/<fallback>/tallyfold. A relative XDG path is to be ignored, as
// the base directory rules say.
FilePath UserFolder(const char* variable, const char* fallback) {
    const char* set = std::getenv(variable);
    const char* home = std::getenv("HOME");
    std::string base;
    if (set != nullptr && set[0] == '/') {
        base = set;
    } else if (home != nullptr && home[0] == '/') {
        base = std::string(home) + "/" + fallback;
    } else {
        return FilePath();
    }
    return SubFolder(FilePath(base), "tallyfold");
}

}  // namespace

FilePath DataFolder() {
    return UserFolder("XDG_DATA_HOME", ".local/share");
}

FilePath StateFolder() {
    return UserFolder("XDG_STATE_HOME", ".local/state");
}

}  // namespace tallyfold
