#include "app/recent_files.h"

#include <algorithm>

namespace tallyfold {

RecentFiles RecentFiles::Parse(std::string_view text) {
    RecentFiles recent;
    while (!text.empty() && recent.files_.size() < kKept) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        const std::string_view line = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        const FilePath path{std::string(line)};
        if (!line.empty() &&
            std::find(recent.files_.begin(), recent.files_.end(), path) == recent.files_.end()) {
            recent.files_.push_back(path);
        }
    }
    return recent;
}

std::string RecentFiles::Serialized() const {
    std::string text;
    for (const FilePath& path : files_) {
        text += path.Bytes();
        text += '\n';
    }
    return text;
}

void RecentFiles::Add(const FilePath& path) {
    if (path.IsEmpty() || path.Bytes().find('\n') != std::string::npos) {
        return;
    }
    Remove(path);
    files_.insert(files_.begin(), path);
    if (files_.size() > kKept) {
        files_.resize(kKept);
    }
}

void RecentFiles::Remove(const FilePath& path) {
    files_.erase(std::remove(files_.begin(), files_.end(), path), files_.end());
}

}  // namespace tallyfold
