#pragma once

// Fuzz targets hand the engine files: the input bytes go into a private scratch file.

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "table/file_path.h"

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
        const char* base = std::getenv("TMPDIR");
        std::string pattern =
            std::string(base != nullptr ? base : "/tmp") + "/tallyfold-fuzz-XXXXXX";
        if (::mkdtemp(pattern.data()) == nullptr) {
            std::abort();
        }
        return pattern;
    }();
    return folder;
}

/// Writes `size` bytes to the scratch file `name` and returns its path.
inline FilePath WriteScratch(const char* name, const unsigned char* data, std::size_t size) {
    const std::string path = ScratchFolder() + "/" + name;
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        std::abort();
    }
    if (size > 0 && std::fwrite(data, 1, size, file) != size) {
        std::abort();
    }
    std::fclose(file);
    return FilePath(path);
}

/// Removes what a run left in the scratch folder.
inline void ClearScratch(std::initializer_list<const char*> names) {
    for (const char* name : names) {
        std::remove((ScratchFolder() + "/" + name).c_str());
    }
}

}  // namespace tallyfold::fuzz
