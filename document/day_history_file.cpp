#include "document/day_history_file.h"

#include <string>

#include "files/replacement_file.h"
#include "table/file_io.h"

namespace tallyfold {

namespace {

// A name beside `path` that no file has yet, for a history kept aside: "words.history.damaged",
// then "words.history.damaged-2" and on.
FilePath FreeDamagedName(const FilePath& path) {
    for (int number = 1; number < 1000; ++number) {
        FilePath name(path.Bytes() + ".damaged" +
                      (number == 1 ? std::string() : "-" + std::to_string(number)));
        if (!StatusOf(name)) {
            return name;
        }
    }
    return FilePath();
}

std::optional<std::string> ReadWhole(const FilePath& path) {
    File file;
    if (!file.OpenExisting(path)) {
        return std::nullopt;
    }
    const std::uint64_t size = file.Size();
    if (size > kDayHistoryFileLimit) {
        return std::nullopt;
    }
    std::string bytes(static_cast<std::size_t>(size), '\0');
    const std::int64_t got = file.ReadAt(0, bytes);
    if (got < 0 || static_cast<std::uint64_t>(got) != size) {
        return std::nullopt;
    }
    return bytes;
}

}  // namespace

FilePath DayHistoryFileName(const FilePath& vokPath) {
    return vokPath.WithExtension(".history");
}

DayHistoryLoad ReadDayHistory(const FilePath& vokPath) {
    DayHistoryLoad load;
    const FilePath path = DayHistoryFileName(vokPath);
    if (path.IsEmpty() || path == vokPath || !StatusOf(path)) {
        return load;
    }
    const std::optional<std::string> bytes = IsRegularFile(path) ? ReadWhole(path) : std::nullopt;
    if (bytes) {
        if (std::optional<DayHistory> history = DayHistory::FromText(*bytes)) {
            load.history = std::move(*history);
            return load;
        }
    }
    // Kept for the learner, out of the way of the next save, which would replace it.
    load.damaged = true;
    const FilePath aside = FreeDamagedName(path);
    if (!aside.IsEmpty() && RenameFile(path, aside)) {
        load.setAside = aside;
    }
    return load;
}

bool WriteDayHistory(const FilePath& vokPath, const DayHistory& history) {
    const FilePath path = DayHistoryFileName(vokPath);
    if (path.IsEmpty() || path == vokPath) {
        return false;
    }
    if (history.Empty() && !StatusOf(path)) {
        return true;
    }
    return ReplaceFileWith(path, history.Text());
}

}  // namespace tallyfold
