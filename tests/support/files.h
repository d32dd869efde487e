#pragma once

// Scratch folders and whole-file bytes for tests that work on real files.

#if defined(_WIN32)
#include <windows.h>
#else
#include <unistd.h>
#endif

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "table/file_path.h"
#include "table/native_path.h"

namespace tallyfold {

/// Paths in test messages, as their bytes.
inline void PrintTo(const FilePath& path, std::ostream* out) {
    *out << '"' << path.Bytes() << '"';
}

}  // namespace tallyfold

namespace tallyfold::testing {

/// A fresh folder under the system's temporary folder, removed with everything in it.
class TempDir {
  public:
    TempDir() {
        std::error_code error;
        const std::filesystem::path base = std::filesystem::temp_directory_path(error);
        std::random_device seed;
        std::mt19937_64 names(seed());
        // A name no one else has taken: creating the folder is the test.
        for (int attempt = 0; attempt < 100 && !error && path_.empty(); ++attempt) {
            const std::filesystem::path candidate = base / ("tallyfold-" + std::to_string(names()));
            if (std::filesystem::create_directory(candidate, error)) {
                path_ = PathFromNative(candidate).Bytes();
            }
        }
    }
    ~TempDir() {
        std::error_code ignored;
        if (path_.empty()) {
            return;
        }
        const std::filesystem::path native = NativePath(FilePath(path_));
        std::filesystem::permissions(native, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(native, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return path_; }
    FilePath File(const std::string& name) const { return FilePath(path_).Child(name); }
    /// Names of the entries in the folder, sorted.
    std::vector<std::string> Entries() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(NativePath(FilePath(path_)))) {
            names.push_back(PathFromNative(entry.path().filename()).Bytes());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

  private:
    std::string path_;
};

inline std::string ReadBytes(const FilePath& path) {
    std::ifstream in(NativePath(path), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteBytes(const FilePath& path, const std::string& bytes) {
    std::ofstream out(NativePath(path), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

/// True when the tests run as root, for whom permission bits do not stop reads or writes. On
/// Windows a read-only file stops every user, but under Wine the attribute is the file's
/// write permission, which does not stop root: there the answer is tried out once.
inline bool RunningAsRoot() {
#if defined(_WIN32)
    static const bool unbound = [] {
        std::error_code error;
        const std::filesystem::path probe =
            std::filesystem::temp_directory_path(error) /
            ("tallyfold-read-only-" + std::to_string(::GetCurrentProcessId()));
        std::ofstream(probe, std::ios::binary).put('x');
        std::filesystem::permissions(probe, std::filesystem::perms::owner_read, error);
        const bool written =
            static_cast<bool>(std::ofstream(probe, std::ios::binary | std::ios::app));
        std::filesystem::permissions(probe, std::filesystem::perms::owner_all, error);
        std::filesystem::remove(probe, error);
        return written;
    }();
    return unbound;
#else
    return ::geteuid() == 0;
#endif
}

/// Sets an environment variable for this process and the programs it starts.
inline void SetEnvironment(const char* name, const std::string& value) {
#if defined(_WIN32)
    ::_putenv_s(name, value.c_str());
#else
    ::setenv(name, value.c_str(), 1);
#endif
}

/// Removes an environment variable from this process.
inline void ClearEnvironment(const char* name) {
#if defined(_WIN32)
    ::_putenv_s(name, "");
#else
    ::unsetenv(name);
#endif
}

/// Points the user's data and state folders into `root`, so a test never touches the real
/// ones: $XDG_DATA_HOME and $XDG_STATE_HOME, or %LOCALAPPDATA% on Windows.
inline void UseUserFoldersIn(const FilePath& root) {
#if defined(_WIN32)
    SetEnvironment("LOCALAPPDATA", root.Child("user-data").Bytes());
#else
    SetEnvironment("XDG_DATA_HOME", root.Child("user-data").Bytes());
    SetEnvironment("XDG_STATE_HOME", root.Child("user-state").Bytes());
#endif
}

/// The user's folders as the system names them, after `UseUserFoldersIn`.
inline void UseRealUserFolders() {
#if defined(_WIN32)
    ClearEnvironment("LOCALAPPDATA");
#else
    ClearEnvironment("XDG_DATA_HOME");
    ClearEnvironment("XDG_STATE_HOME");
#endif
}

}  // namespace tallyfold::testing
