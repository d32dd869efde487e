#include "files/user_folders.h"

#include <filesystem>
#include <string>

#include "table/native_path.h"

namespace tallyfold {

FilePath SubFolder(const FilePath& parent, std::string_view name) {
    if (parent.IsEmpty()) {
        return FilePath();
    }
    const FilePath folder = parent.Child(std::string(name));
    std::error_code error;
    std::filesystem::create_directories(NativePath(folder), error);
    return std::filesystem::is_directory(NativePath(folder), error) ? folder : FilePath();
}

FilePath JournalFolder() {
    const FilePath state = StateFolder();
    const FilePath made = SubFolder(state, "journals");
    return made.IsEmpty() && !state.IsEmpty() ? state.Child("journals") : made;
}

}  // namespace tallyfold
