#include "files/replacement_file.h"

#include <unistd.h>

#include "table/file_io.h"

namespace tallyfold {

ReplacementFile::~ReplacementFile() {
    if (!temp_.empty() && !committed_) {
        RemoveFile(temp_);
    }
}

bool ReplacementFile::Reserve() {
    const std::string stem = target_ + ".tmp-" + std::to_string(::getpid()) + "-";
    // Names already taken (by another save or a leftover) are skipped.
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string candidate = stem + std::to_string(attempt);
        File file;
        if (!file.CreateNew(candidate)) {
            if (IsRegularFile(candidate)) {
                continue;
            }
            return false;
        }
        temp_ = candidate;
        if (const auto permissions = PermissionsOf(target_)) {
            // Best effort: a new file that keeps the default permissions is still whole.
            static_cast<void>(file.SetPermissions(*permissions));
        }
        return file.Close();
    }
    return false;
}

bool ReplacementFile::Commit() {
    if (temp_.empty() || committed_ || !RenameFile(temp_, target_)) {
        return false;
    }
    committed_ = true;
    SyncFolderOf(target_);
    return true;
}

}  // namespace tallyfold
