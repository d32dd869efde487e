#include "table/file_path.h"

#include <algorithm>

namespace tallyfold {

namespace {

constexpr char kSeparator = '/';

}  // namespace

std::string_view FilePath::FileName() const {
    const std::size_t slash = bytes_.find_last_of(kSeparator);
    const std::string_view whole(bytes_);
    return slash == std::string::npos ? whole : whole.substr(slash + 1);
}

FilePath FilePath::Folder() const {
    const std::size_t slash = bytes_.find_last_of(kSeparator);
    if (slash == std::string::npos) {
        return FilePath(".");
    }
    return FilePath(slash == 0 ? std::string(1, kSeparator) : bytes_.substr(0, slash));
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
    if (!path.empty() && path.back() != kSeparator) {
        path += kSeparator;
    }
    path += name;
    return FilePath(std::move(path));
}

}  // namespace tallyfold
