#pragma once

#include <cstdint>
#include <string>

#include "table/file_path.h"

namespace tallyfold {

/// What tells one version of a file from another without reading all of it: its size, the
/// time of its last change to the nanosecond, and a hash of its first and last 64 KiB. A save
/// by any program changes at least the time.
struct FileIdentity {
    bool exists = false;
    std::uint64_t size = 0;
    std::int64_t modified = 0;
    std::uint64_t sample = 0;
    friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};

/// The identity of the file at `path` as it is now; `exists` false when there is none.
FileIdentity IdentityOf(const FilePath& path);

/// The path as one name for the file, whatever way it was given: absolute, with links followed
/// and "." and ".." gone, so that two names of one file give one key.
std::string CanonicalName(const FilePath& path);

/// Sixteen hex digits that stand for `text` (FNV-1a, 64 bits), for file names.
std::string HashName(std::string_view text);

}  // namespace tallyfold
