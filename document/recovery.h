#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "document/journal.h"
#include "table/file_path.h"

namespace tallyfold {

/// What a journal's entries do, as the user counts them: steps done, less those undone, plus
/// those redone. The replay stops at the first entry it refuses (one it cannot read, a change
/// outside a step, a step inside a step); `changes` is what comes back before it, `recorded`
/// what the journal holds in all, as far as its entries can be read.
struct ChangeCount {
    int changes = 0;
    int recorded = 0;
    bool whole = true;
    /// The most cards the replay holds beyond the file's own: what its memory is for.
    std::uint64_t cards = 0;
};

/// A journal of unsaved changes left by a run that ended abnormally.
struct Recovery {
    FilePath journal;
    JournalBase base;
    ChangeCount count;
    /// When its last change was written, in seconds since 1970.
    std::int64_t written = 0;
};

/// Reads the journal at `path` through for what it holds, an entry at a time; nothing when it
/// is no journal.
std::optional<Recovery> ReadRecovery(const FilePath& path);

/// Where a journal that could not be restored whole is kept: beside it, under a name that no
/// start reads again.
FilePath DamagedJournalPath(const FilePath& journal);

/// The name of the journal that document number `document` of this process writes for the
/// vocabulary file `file` (empty: a box without a file).
std::string JournalFileName(const FilePath& file, unsigned long document);

/// The newest journal in `folder` that a run which ended abnormally left for `file` (or, for
/// an empty path, for a box without a file), if it applies to the file as it is now. Journals
/// of runs that still go on are passed over, and so is `own`, this document's own journal.
/// Journals of another version of the file, and journals of nothing the user did, are
/// deleted on the way.
std::optional<Recovery> FindRecovery(const FilePath& folder, const FilePath& file,
                                     const FilePath& own);

/// False when the cards the journal's changes add take more memory than there is.
bool FitsInMemory(const Recovery& recovery);

/// Counts the entries `reader` has still to give.
ChangeCount CountChanges(JournalReader& reader);

}  // namespace tallyfold
