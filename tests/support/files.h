#pragma once

// Scratch folders and whole-file bytes for tests that work on real files.

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <string>
#include <vector>

#include "table/file_path.h"

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
        std::string pattern =
            (std::filesystem::temp_directory_path() / "tallyfold-XXXXXX").string();
        path_ = ::mkdtemp(pattern.data()) != nullptr ? pattern : std::string();
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(path_, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return path_; }
    FilePath File(const std::string& name) const { return FilePath(path_ + "/" + name); }
    /// Names of the entries in the folder, sorted.
    std::vector<std::string> Entries() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(path_)) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

  private:
    std::string path_;
};

inline std::string ReadBytes(const FilePath& path) {
    std::ifstream in(path.Bytes(), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteBytes(const FilePath& path, const std::string& bytes) {
    std::ofstream out(path.Bytes(), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

/// True when the tests run as root, for whom permission bits do not stop reads or writes.
inline bool RunningAsRoot() {
    return ::geteuid() == 0;
}

}  // namespace tallyfold::testing
