#include "files/file_lock.h"

#include <cstdio>
#include <string>

#include "files/file_identity.h"
#include "files/user_folders.h"
#include "table/file_io.h"

namespace tallyfold {

namespace {

constexpr std::string_view kLockFolder = "locks";

FilePath LockPathOf(const FilePath& path) {
    const FilePath folder = SubFolder(StateFolder(), kLockFolder);
    return folder.IsEmpty() ? FilePath() : folder.Child(HashName(CanonicalName(path)) + ".lock");
}

// The stamp a mark names: "<pid> <start>" on its first line.
std::optional<ProcessStamp> ReadStamp(const FilePath& lock) {
    File file;
    if (!file.OpenExisting(lock)) {
        return std::nullopt;
    }
    char text[128] = {};
    const std::int64_t got = file.ReadAt(0, {text, sizeof text - 1});
    if (got <= 0) {
        return std::nullopt;
    }
    ProcessStamp stamp;
    if (std::sscanf(text, "%ld %llu", &stamp.pid, &stamp.start) != 2) {
        return std::nullopt;
    }
    return stamp;
}

}  // namespace

std::optional<ProcessStamp> FileLock::HolderOf(const FilePath& path) {
    const FilePath lock = LockPathOf(path);
    if (lock.IsEmpty()) {
        return std::nullopt;
    }
    const std::optional<ProcessStamp> stamp = ReadStamp(lock);
    if (!stamp || *stamp == ThisProcess() || !IsRunning(*stamp)) {
        return std::nullopt;
    }
    return stamp;
}

FilePath FileLock::Folder() {
    const FilePath state = StateFolder();
    return state.IsEmpty() ? FilePath() : state.Child(std::string(kLockFolder));
}

bool FileLock::Take(const FilePath& path) {
    Release();
    const FilePath lock = LockPathOf(path);
    if (lock.IsEmpty()) {
        return false;
    }
    const ProcessStamp self = ThisProcess();
    const std::string text = std::to_string(self.pid) + " " + std::to_string(self.start) + "\n" +
                             CanonicalName(path) + "\n";
    // Written under a name of its own and renamed into place: a reader sees the old mark or
    // the new one, never half of one.
    const FilePath temp = lock.WithSuffix(".new-" + std::to_string(self.pid));
    // Made new, never through what stands under the name: a symbolic link planted there would
    // otherwise lead the write into the file it points to.
    RemoveFile(temp);
    File file;
    if (!file.CreateNew(temp) || !file.WriteAt(0, {text.data(), text.size()}) || !file.Close() ||
        !RenameFile(temp, lock)) {
        RemoveFile(temp);
        return false;
    }
    lock_ = lock;
    return true;
}

void FileLock::Release() {
    if (lock_.IsEmpty()) {
        return;
    }
    const std::optional<ProcessStamp> stamp = ReadStamp(lock_);
    // A mark that another window took over is theirs now.
    if (stamp && *stamp == ThisProcess()) {
        RemoveFile(lock_);
    }
    lock_ = FilePath();
}

}  // namespace tallyfold
