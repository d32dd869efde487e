#include "files/backups.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <string>

#include "files/fnv_hash.h"
#include "files/user_folders.h"
#include "table/file_io.h"
#include "table/local_time.h"
#include "table/native_path.h"

namespace tallyfold {

namespace {

// FNV-1a of the folder's bytes: eight hex digits are enough to keep apart the folders of one
// user that hold files of the same name.
std::string FolderTag(const FilePath& target) {
    std::error_code error;
    const std::filesystem::path folder = NativePath(target.Folder());
    std::filesystem::path absolute = std::filesystem::absolute(folder, error);
    if (error) {
        absolute = folder;
    }
    const FilePath normal = PathFromNative(absolute.lexically_normal());
    const std::uint32_t hash = Fnv1a<std::uint32_t>(normal.Bytes());
    char tag[9];
    std::snprintf(tag, sizeof tag, "%08x", static_cast<unsigned>(hash));
    return tag;
}

std::string Stem(const FilePath& target) {
    const std::string_view name = target.FileName();
    const std::string_view extension = target.Extension();
    return std::string(name.substr(0, name.size() - extension.size()));
}

// Every backup of the target begins with this.
std::string Prefix(const FilePath& target) {
    return Stem(target) + "-" + FolderTag(target) + "-";
}

FilePath BackupFolder() {
    return SubFolder(DataFolder(), "backups");
}

}  // namespace

FilePath NewBackupPath(const FilePath& target) {
    const FilePath folder = BackupFolder();
    if (folder.IsEmpty()) {
        return FilePath();
    }
    const auto now = std::chrono::system_clock::now();
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    const auto millis =
        std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() %
        1000;
    const std::tm local = LocalTime(seconds).value_or(std::tm{});
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    char fraction[8];
    std::snprintf(fraction, sizeof fraction, "%03d", static_cast<int>(millis));
    const std::string base = Prefix(target) + stamp + fraction;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string suffix = attempt == 0 ? "" : "-" + std::to_string(attempt);
        const FilePath candidate = folder.Child(base + suffix + ".vok");
        if (!IsRegularFile(candidate)) {
            return candidate;
        }
    }
    return FilePath();
}

std::vector<FilePath> BackupsOf(const FilePath& target) {
    std::vector<std::string> names;
    const FilePath folder = BackupFolder();
    if (folder.IsEmpty()) {
        return {};
    }
    const std::string prefix = Prefix(target);
    std::error_code error;
    for (std::filesystem::directory_iterator entry(NativePath(folder), error), end;
         !error && entry != end; entry.increment(error)) {
        const std::string name = PathFromNative(entry->path().filename()).Bytes();
        if (name.size() > prefix.size() && name.compare(0, prefix.size(), prefix) == 0 &&
            name.size() >= 4 && name.compare(name.size() - 4, 4, ".vok") == 0) {
            names.push_back(name);
        }
    }
    // The time stamp follows the prefix, so the order of the names is the order of the saves;
    // a counter ("-1") only follows a stamp that was taken already.
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        const std::string plainA = a.substr(0, a.size() - 4);
        const std::string plainB = b.substr(0, b.size() - 4);
        return plainA < plainB;
    });
    std::vector<FilePath> paths;
    paths.reserve(names.size());
    for (const std::string& name : names) {
        paths.push_back(folder.Child(name));
    }
    return paths;
}

void PruneBackups(const FilePath& target, std::size_t keep) {
    const std::vector<FilePath> backups = BackupsOf(target);
    for (std::size_t i = 0; i + keep < backups.size(); ++i) {
        RemoveFile(backups[i]);
    }
}

}  // namespace tallyfold
