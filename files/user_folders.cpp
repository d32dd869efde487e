#include "files/user_folders.h"

#include <cstdlib>
#include <filesystem>
#include <string>

namespace tallyfold {

FilePath DataFolder() {
    const char* data = std::getenv("XDG_DATA_HOME");
    const char* home = std::getenv("HOME");
    std::string base;
    // A relative XDG path is to be ignored, as the base directory rules say.
    if (data != nullptr && data[0] == '/') {
        base = data;
    } else if (home != nullptr && home[0] == '/') {
        base = std::string(home) + "/.local/share";
    } else {
        return FilePath();
    }
    const FilePath folder = FilePath(base).Child("tallyfold");
    std::error_code error;
    std::filesystem::create_directories(folder.Bytes(), error);
    return std::filesystem::is_directory(folder.Bytes(), error) ? folder : FilePath();
}

}  // namespace tallyfold
