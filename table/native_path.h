#pragma once

// Paths for the standard library's file system functions. On Windows a `FilePath` holds UTF-8
// while `std::filesystem::path` made from a plain string takes the system's ANSI code page,
// which cannot spell most names; these go through UTF-8 explicitly. On POSIX systems the bytes
// pass unchanged.

#include <filesystem>

#include "table/file_path.h"

namespace tallyfold {

std::filesystem::path NativePath(const FilePath& path);
FilePath PathFromNative(const std::filesystem::path& path);

}  // namespace tallyfold
