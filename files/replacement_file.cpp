#include "files/replacement_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "files/process_stamp.h"
#include "files/user_folders.h"
#include "table/file_io.h"
#include "table/native_path.h"

namespace tallyfold {

namespace {

// Temporary files are named "<name>.tmp-<pid>-<start>-<n>": the target's file name (cut so
// that the whole name fits the 255 bytes a folder entry holds), the process id and the start
// time of the process that saves, and a counter. One whose process is gone, or whose process
// id now belongs to a process started at another time, was left by a save that was killed;
// the target itself was never touched by it.
constexpr std::size_t kNameMax = 255;
constexpr std::size_t kStampRoom = 48;  // ".tmp-" and three decimal numbers

std::string TemporaryPrefix(const FilePath& target) {
    const std::string_view name = target.FileName();
    return std::string(name.substr(0, std::min(name.size(), kNameMax - kStampRoom))) + ".tmp-";
}

void RemoveAbandonedTemporaries(const FilePath& target) {
    const std::string prefix = TemporaryPrefix(target);
    const std::filesystem::path folder = NativePath(target.Folder());
    const long self = ThisProcess().pid;
    std::error_code error;
    for (std::filesystem::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error)) {
        const std::string name = PathFromNative(entry->path().filename()).Bytes();
        if (name.compare(0, prefix.size(), prefix) != 0) {
            continue;
        }
        long pid = 0;
        unsigned long long start = 0;
        unsigned long counter = 0;
        char rest = 0;
        const std::string stamp = name.substr(prefix.size());
        if (stamp.find_first_not_of("0123456789-") != std::string::npos) {
            continue;
        }
        bool abandoned = false;
        if (std::sscanf(stamp.c_str(), "%ld-%llu-%lu%c", &pid, &start, &counter, &rest) == 3) {
            abandoned = pid != self && !IsRunning(ProcessStamp{pid, start});
        } else if (std::sscanf(stamp.c_str(), "%ld-%lu%c", &pid, &counter, &rest) == 2) {
            // Earlier versions named their temporaries by the process id alone.
            abandoned = pid > 0 && pid != self && !IsRunning(pid);
        }
        if (abandoned) {
            RemoveFile(target.Folder().Child(name));
        }
    }
}

}  // namespace

namespace {

bool CopyBytesInto(const FilePath& from, File& target) {
    File source;
    if (!source.OpenExisting(from) || !target.IsWritable()) {
        return false;
    }
    std::vector<char> block(1 << 20);
    std::uint64_t offset = 0;
    for (;;) {
        const std::int64_t got = source.ReadAt(offset, block);
        if (got < 0) {
            return false;
        }
        if (got == 0) {
            break;
        }
        if (!target.WriteAt(offset, {block.data(), static_cast<std::size_t>(got)})) {
            return false;
        }
        offset += static_cast<std::uint64_t>(got);
    }
    return target.Truncate(offset) && target.Sync() && target.Close();
}

}  // namespace

FilePath InPlaceSavingFolder() {
    const FilePath data = DataFolder();
    return data.IsEmpty() ? FilePath() : data.Child("saving");
}

bool CopyFileBytes(const FilePath& from, const FilePath& to) {
    File target;
    if (!IsRegularFile(to) ? !target.CreateNew(to) : !target.OpenExisting(to)) {
        return false;
    }
    return CopyBytesInto(from, target);
}

bool CopyToNewFile(const FilePath& from, const FilePath& to) {
    File target;
    if (!target.CreateNew(to)) {
        return false;
    }
    if (!CopyBytesInto(from, target)) {
        target.Close();
        RemoveFile(to);
        return false;
    }
    return true;
}

ReplacementFile::~ReplacementFile() {
    if (!temp_.IsEmpty() && !committed_) {
        RemoveFile(temp_);
    }
}

bool ReplacementFile::Reserve() {
    RemoveAbandonedTemporaries(target_);
    inPlace_ =
        IsRegularFile(target_) && (LinkCount(target_) > 1 || !FolderIsWritable(target_.Folder()));
    FilePath folder = target_.Folder();
    if (inPlace_) {
        folder = InPlaceSavingFolder();
        std::error_code error;
        if (folder.IsEmpty() || (!std::filesystem::create_directories(NativePath(folder), error) &&
                                 !std::filesystem::is_directory(NativePath(folder), error))) {
            return false;
        }
        RemoveAbandonedTemporaries(folder.Child(std::string(target_.FileName())));
    }
    const ProcessStamp self = ThisProcess();
    const FilePath stem = folder.Child(TemporaryPrefix(target_) + std::to_string(self.pid) + "-" +
                                       std::to_string(self.start) + "-");
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
            // Best effort: a new file that keeps the default owner, group or permissions is
            // still whole. The owner goes first: a change of owner may clear mode bits.
            static_cast<void>(file.SetOwnerOf(target_));
            static_cast<void>(file.SetPermissions(*permissions));
        }
        return file.Close();
    }
    return false;
}

bool ReplacementFile::Commit() {
    if (temp_.IsEmpty() || committed_) {
        return false;
    }
    if (inPlace_) {
        return CommitInPlace();
    }
    KeepBackup(true);
    if (!RenameFile(temp_, target_)) {
        if (backupKept_) {
            RemoveFile(backup_);
            backupKept_ = false;
        }
        return false;
    }
    committed_ = true;
    SyncFolderOf(target_);
    return true;
}

bool ReplacementFile::CommitInPlace() {
    // The old file first goes where a failure cannot reach it.
    // "<name>.keep-<pid>-<start>-<n>": the temporary's stamp, under a name that no leftover
    // search takes for a temporary.
    const std::string prefix = TemporaryPrefix(target_);
    const std::string stamp = std::string(temp_.FileName()).substr(prefix.size());
    const FilePath keep = temp_.Folder().Child(
        prefix.substr(0, prefix.size() - std::string_view(".tmp-").size()) + ".keep-" + stamp);
    if (!CopyToNewFile(target_, keep)) {
        return false;
    }
    kept_ = keep;
    KeepBackup(false);
    if (!CopyFileBytes(temp_, target_)) {
        return false;  // the old cards stay in the kept copy
    }
    committed_ = true;
    RemoveFile(temp_);
    RemoveFile(keep);
    kept_ = FilePath();
    return true;
}

}  // namespace tallyfold

namespace tallyfold {

void ReplacementFile::KeepBackup(bool mayLink) {
    if (backup_.IsEmpty() || !IsRegularFile(target_)) {
        return;
    }
    // A second name for the old file costs nothing, and the rename that follows leaves the
    // backup its only name. Written in place, the target keeps its inode: then only a copy
    // keeps the old bytes.
    if (mayLink && LinkFile(target_, backup_)) {
        backupKept_ = true;
        return;
    }
    backupKept_ = CopyToNewFile(target_, backup_);
}

bool ReplaceFileWith(const FilePath& target, std::string_view bytes) {
    ReplacementFile replacement(target);
    if (!replacement.Reserve()) {
        return false;
    }
    File file;
    if (!file.Create(replacement.TempPath())) {
        return false;
    }
    const bool written = file.WriteAt(0, bytes) && file.Sync();
    return file.Close() && written && replacement.Commit();
}

}  // namespace tallyfold
