#include "table/file_path.h"

#include <algorithm>

namespace tallyfold {

namespace {

#if defined(_WIN32)
// Windows takes both slashes, and a path may begin with a drive ("C:") or a share
// ("\\server\share"); the program adds backslashes, as Windows itself writes paths.
constexpr std::string_view kSeparators = "/\\";
constexpr char kSeparator = '\\';

bool IsSeparator(char c) {
    return c == '/' || c == '\\';
}

bool IsDriveLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// How many bytes of `path` name where it starts rather than a folder in it: "C:", "C:\\",
// "\\", or "\\\\server\\share\\".
std::size_t RootLength(std::string_view path) {
    if (path.size() >= 2 && IsDriveLetter(path[0]) && path[1] == ':') {
        return path.size() >= 3 && IsSeparator(path[2]) ? 3 : 2;
    }
    if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) {
        // A share: its server and share names belong to the root.
        std::size_t end = 2;
        for (int part = 0; part < 2 && end < path.size(); ++part) {
            end = path.find_first_of(kSeparators, end);
            if (end == std::string_view::npos) {
                return path.size();
            }
            ++end;
        }
        return end;
    }
    return !path.empty() && IsSeparator(path[0]) ? 1 : 0;
}
#else
constexpr std::string_view kSeparators = "/";
constexpr char kSeparator = '/';

bool IsSeparator(char c) {
    return c == '/';
}

std::size_t RootLength(std::string_view path) {
    return !path.empty() && path[0] == '/' ? 1 : 0;
}
#endif

// Where the file name starts: after the last separator, and never inside the root.
std::size_t NameStart(std::string_view path) {
    const std::size_t slash = path.find_last_of(kSeparators);
    const std::size_t afterSlash = slash == std::string_view::npos ? 0 : slash + 1;
    return std::max(afterSlash, RootLength(path));
}

}  // namespace

std::string_view FilePath::FileName() const {
    return std::string_view(bytes_).substr(NameStart(bytes_));
}

FilePath FilePath::Folder() const {
    const std::size_t start = NameStart(bytes_);
    const std::size_t root = RootLength(bytes_);
    if (start == 0) {
        return FilePath(".");
    }
    if (start <= root) {
        return FilePath(bytes_.substr(0, root));
    }
    return FilePath(bytes_.substr(0, start - 1));
}

std::string_view FilePath::Extension() const {
    const std::string_view name = FileName();
    const std::size_t dot = name.find_last_of('.');
    return dot == std::string_view::npos || dot == 0 ? std::string_view() : name.substr(dot);
}

bool FilePath::HasExtension(std::string_view extension) const {
    const std::string_view own = Extension();
    return own.size() == extension.size() &&
           std::equal(own.begin(), own.end(), extension.begin(), [](char a, char b) {
               const auto lower = [](char c) {
                   return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
               };
               return lower(a) == lower(b);
           });
}

FilePath FilePath::WithExtension(std::string_view extension) const {
    return FilePath(bytes_.substr(0, bytes_.size() - Extension().size()) + std::string(extension));
}

FilePath FilePath::WithSuffix(std::string_view suffix) const {
    return FilePath(bytes_ + std::string(suffix));
}

FilePath FilePath::Child(std::string_view name) const {
    std::string path = bytes_;
    if (!path.empty() && !IsSeparator(path.back()) && RootLength(path) != path.size()) {
        path += kSeparator;
    }
    path += name;
    return FilePath(std::move(path));
}

}  // namespace tallyfold
