#include "files/replacement_file.h"

#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include "table/file_io.h"

namespace tallyfold {

namespace {

// Temporary files are named "<target>.tmp-<pid>-<n>". One whose process is gone was left by a
// save that was killed; the target itself was never touched by it.
void RemoveAbandonedTemporaries(const FilePath& target) {
    const std::string prefix = std::string(target.FileName()) + ".tmp-";
    const std::filesystem::path folder(target.Folder().Bytes());
    std::error_code error;
    for (std::filesystem::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error)) {
        const std::string name = entry->path().filename().string();
        if (name.compare(0, prefix.size(), prefix) != 0) {
            continue;
        }
        const std::string rest = name.substr(prefix.size());
        const std::size_t dash = rest.find('-');
        if (dash == 0 || dash == std::string::npos ||
            rest.find_first_not_of("0123456789-") != std::string::npos) {
            continue;
        }
        const long pid = std::strtol(rest.substr(0, dash).c_str(), nullptr, 10);
        if (pid > 0 && pid != ::getpid() && ::kill(static_cast<pid_t>(pid), 0) != 0 &&
            errno == ESRCH) {
            RemoveFile(target.Folder().Child(name));
        }
    }
}

}  // namespace

ReplacementFile::~ReplacementFile() {
    if (!temp_.IsEmpty() && !committed_) {
        RemoveFile(temp_);
    }
}

bool ReplacementFile::Reserve() {
    RemoveAbandonedTemporaries(target_);
    const FilePath stem = target_.WithSuffix(".tmp-" + std::to_string(::getpid()) + "-");
    // Names already taken (by another save or a leftover) are skipped.
    for (int attempt = 0; attempt < 100; ++attempt) {
        const FilePath candidate = stem.WithSuffix(std::to_string(attempt));
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
    if (temp_.IsEmpty() || committed_ || !RenameFile(temp_, target_)) {
        return false;
    }
    committed_ = true;
    SyncFolderOf(target_);
    return true;
}

}  // namespace tallyfold
