#include "table/native_path.h"

#include <string>

namespace tallyfold {

#if defined(_WIN32)

std::filesystem::path NativePath(const FilePath& path) {
    const std::string& bytes = path.Bytes();
    return std::filesystem::path(std::u8string(bytes.begin(), bytes.end()));
}

FilePath PathFromNative(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return FilePath(std::string(text.begin(), text.end()));
}

#else

std::filesystem::path NativePath(const FilePath& path) {
    return std::filesystem::path(path.Bytes());
}

FilePath PathFromNative(const std::filesystem::path& path) {
    return FilePath(path.native());
}

#endif

}  // namespace tallyfold
