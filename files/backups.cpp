#include "files/backups.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <optional>
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

constexpr std::string_view kBackupsFolder = "backups";

FilePath BackupFolder() {
    return SubFolder(DataFolder(), kBackupsFolder);
}

// What a backup's name says after the prefix: when it was made, and its number.
struct BackupName {
    std::string name;
    bool numbered = false;
    std::uint64_t number = 0;
    std::string stamp;  // "<date>-<time>", which orders the backups without a number

    bool operator<(const BackupName& other) const {
        if (numbered != other.numbered) {
            return !numbered;
        }
        return numbered ? number < other.number : stamp < other.stamp;
    }
};

bool AllDigits(std::string_view text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

// "<date>-<time>Z-<number>" (8, 9 digits and a number) or, as earlier versions wrote,
// "<date>-<time>" with "-<counter>" when that stamp was taken.
std::optional<BackupName> ParseBackupName(std::string_view rest) {
    if (rest.size() < 18 || !AllDigits(rest.substr(0, 8)) || rest[8] != '-' ||
        !AllDigits(rest.substr(9, 9))) {
        return std::nullopt;
    }
    BackupName parsed;
    parsed.stamp = std::string(rest.substr(0, 18));
    std::string_view tail = rest.substr(18);
    if (!tail.empty() && tail.front() == 'Z') {
        tail.remove_prefix(1);
        if (tail.size() < 2 || tail.front() != '-' || !AllDigits(tail.substr(1))) {
            return std::nullopt;
        }
        const std::string_view digits = tail.substr(1);
        const auto [end, error] =
            std::from_chars(digits.data(), digits.data() + digits.size(), parsed.number);
        if (error != std::errc() || end != digits.data() + digits.size()) {
            return std::nullopt;
        }
        parsed.numbered = true;
        return parsed;
    }
    if (tail.empty()) {
        return parsed;
    }
    if (tail.front() != '-' || !AllDigits(tail.substr(1)) || tail.size() > 4) {
        return std::nullopt;
    }
    // The counter of a stamp taken already: a few digits, which sort after the plain stamp.
    parsed.stamp += std::string(4 - tail.size(), ' ') + std::string(tail);
    return parsed;
}

std::vector<BackupName> BackupNamesOf(const FilePath& folder, const FilePath& target) {
    std::vector<BackupName> names;
    const std::string prefix = Prefix(target);
    constexpr std::string_view kExtension = ".vok";
    std::error_code error;
    for (std::filesystem::directory_iterator entry(NativePath(folder), error), end;
         !error && entry != end; entry.increment(error)) {
        const std::string name = PathFromNative(entry->path().filename()).Bytes();
        if (name.size() <= prefix.size() + kExtension.size() ||
            name.compare(0, prefix.size(), prefix) != 0 ||
            name.compare(name.size() - kExtension.size(), kExtension.size(), kExtension) != 0) {
            continue;
        }
        // A link or a folder under a backup's name is none of the program's.
        std::error_code statusError;
        if (!entry->is_regular_file(statusError) || entry->is_symlink(statusError)) {
            continue;
        }
        std::optional<BackupName> parsed = ParseBackupName(std::string_view(name).substr(
            prefix.size(), name.size() - prefix.size() - kExtension.size()));
        if (parsed) {
            parsed->name = name;
            names.push_back(std::move(*parsed));
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace

FilePath BackupsFolder() {
    const FilePath data = DataFolder();
    return data.IsEmpty() ? FilePath() : data.Child(std::string(kBackupsFolder));
}

FilePath NewBackupPath(const FilePath& target) {
    const FilePath folder = BackupFolder();
    if (folder.IsEmpty()) {
        return FilePath();
    }
    const std::vector<BackupName> names = BackupNamesOf(folder, target);
    std::uint64_t number = 1;
    for (const BackupName& name : names) {
        // A number at the end of the range would give the next backup the first one.
        if (name.numbered && name.number >= number && name.number < UINT64_MAX - 100) {
            number = name.number + 1;
        }
    }
    const auto now = std::chrono::system_clock::now();
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    const auto millis =
        std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() %
        1000;
    const std::tm utc = UtcTime(seconds).value_or(std::tm{});
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &utc);
    char fraction[8];
    std::snprintf(fraction, sizeof fraction, "%03d", static_cast<int>(millis));
    // A name taken meanwhile (another window saved a file of this name) takes the next number.
    for (int attempt = 0; attempt < 100; ++attempt, ++number) {
        const FilePath candidate = folder.Child(Prefix(target) + stamp + fraction + "Z-" +
                                                std::to_string(number) + ".vok");
        std::error_code error;
        if (!std::filesystem::exists(
                std::filesystem::symlink_status(NativePath(candidate), error))) {
            return candidate;
        }
    }
    return FilePath();
}

std::vector<FilePath> BackupsOf(const FilePath& target) {
    const FilePath folder = BackupFolder();
    if (folder.IsEmpty()) {
        return {};
    }
    std::vector<FilePath> paths;
    for (const BackupName& name : BackupNamesOf(folder, target)) {
        paths.push_back(folder.Child(name.name));
    }
    return paths;
}

void PruneBackups(const FilePath& target, std::size_t keep) {
    const std::vector<FilePath> backups = BackupsOf(target);
    for (std::size_t i = 0; i + keep < backups.size(); ++i) {
        RemoveFile(backups[i]);
    }
}

void ForgetBackupsThatAre(const FilePath& target) {
    if (LinkCount(target) < 2) {
        return;
    }
    for (const FilePath& backup : BackupsOf(target)) {
        if (SameFile(backup, target)) {
            RemoveFile(backup);
        }
    }
}

}  // namespace tallyfold
