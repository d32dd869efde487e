#pragma once

// Fuzz targets hand the engine files: the input bytes go into a private scratch file.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "table/file_path.h"
#include "table/native_path.h"

namespace tallyfold::fuzz {

/// The input as bytes of text (an empty input may come as a null pointer).
inline std::string BytesOf(const unsigned char* data, std::size_t size) {
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i) {
        bytes[i] = static_cast<char>(data[i]);
    }
    return bytes;
}

/// A scratch folder for one process.
inline const std::string& ScratchFolder() {
    static const std::string folder = [] {
        std::error_code error;
        const std::filesystem::path base = std::filesystem::temp_directory_path(error);
        std::random_device seed;
        std::mt19937_64 names(seed());
        // A name no other process has taken: creating the folder is the test.
        for (int attempt = 0; attempt < 100 && !error; ++attempt) {
            const std::filesystem::path candidate =
                base / ("tallyfold-fuzz-" + std::to_string(names()));
            if (std::filesystem::create_directory(candidate, error)) {
                return PathFromNative(candidate).Bytes();
            }
        }
        std::abort();
    }();
    return folder;
}

/// Writes `size` bytes to the scratch file `name` and returns its path.
inline FilePath WriteScratch(const char* name, const unsigned char* data, std::size_t size) {
    const FilePath path = FilePath(ScratchFolder()).Child(name);
    std::ofstream file(NativePath(path), std::ios::binary | std::ios::trunc);
    if (size > 0) {
        file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    file.close();
    if (!file) {
        std::abort();
    }
    return path;
}

/// Removes what a run left in the scratch folder.
inline void ClearScratch(std::initializer_list<const char*> names) {
    for (const char* name : names) {
        std::error_code ignored;
        std::filesystem::remove(NativePath(FilePath(ScratchFolder()).Child(name)), ignored);
    }
}

}  // namespace tallyfold::fuzz
