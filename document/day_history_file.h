#pragma once

// The day history's file, beside the vocabulary file it belongs to (see docs/file-formats.md).

#include "document/day_history.h"
#include "table/file_path.h"

namespace tallyfold {

/// "words.history" for "words.vok": the vocabulary file's name with ".history" for its
/// extension, in its folder.
FilePath DayHistoryFileName(const FilePath& vokPath);

/// A history file larger than this is no file of ours (a century of daily learning is a tenth
/// of it).
inline constexpr std::uint64_t kDayHistoryFileLimit = 4U << 20;

struct DayHistoryLoad {
    DayHistory history;
    /// The file was there but could not be read as a history: it was renamed to `setAside`
    /// (or, where even that failed, left as it was), and counting starts again.
    bool damaged = false;
    FilePath setAside;
};

/// Reads the history beside `vokPath`; an empty one where there is no file.
DayHistoryLoad ReadDayHistory(const FilePath& vokPath);

/// Writes `history` beside `vokPath`, replacing the old file in one step. An empty history
/// makes no file where there was none. False when it could not be written.
[[nodiscard]] bool WriteDayHistory(const FilePath& vokPath, const DayHistory& history);

}  // namespace tallyfold
