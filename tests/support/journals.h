#pragma once

// Journals written and read whole, for tests of what a journal holds.

#include <string>
#include <vector>

#include "document/journal.h"
#include "table/file_path.h"

namespace tallyfold::testing {

/// The entries `reader` has still to give, in order.
inline std::vector<std::string> EntriesOf(JournalReader& reader) {
    std::vector<std::string> entries;
    std::string entry;
    while (reader.Next(entry)) {
        entries.push_back(entry);
    }
    return entries;
}

/// Writes a closed journal of `entries` at `path`; false when it could not be made.
inline bool WriteJournal(const FilePath& path, const std::vector<std::string>& entries,
                         const JournalBase& base = JournalBase()) {
    JournalWriter writer;
    if (!writer.Create(path, base)) {
        return false;
    }
    for (const std::string& entry : entries) {
        writer.Add(entry);
    }
    writer.Close();
    return !writer.Failed();
}

}  // namespace tallyfold::testing
