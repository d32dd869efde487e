#include "files/folder_problem.h"

#include <cstdint>
#include <filesystem>

#include "table/file_io.h"
#include "table/native_path.h"

namespace tallyfold {

FolderProblem ProblemOf(const FilePath& folder) {
    if (folder.IsEmpty()) {
        return FolderProblem::NoFolder;
    }
    std::error_code error;
    const std::filesystem::path native = NativePath(folder);
    if (!std::filesystem::is_directory(native, error)) {
        return std::filesystem::exists(native, error) ? FolderProblem::NotAFolder
                                                      : FolderProblem::NoFolder;
    }
    if (!FolderIsWritable(folder)) {
        return FolderProblem::ReadOnly;
    }
    // A journal or a lock needs little; a disk with less than this left is as good as full.
    constexpr std::uintmax_t kRoomNeeded = 1U << 20;
    const std::filesystem::space_info space = std::filesystem::space(native, error);
    if (!error && space.available < kRoomNeeded) {
        return FolderProblem::Full;
    }
    return FolderProblem::Unwritable;
}

}  // namespace tallyfold
