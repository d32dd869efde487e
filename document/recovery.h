#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "document/journal.h"
#include "table/file_path.h"

namespace tallyfold {

/// A journal of unsaved changes left by a run that ended abnormally.
struct Recovery {
    FilePath journal;
    JournalContents contents;
    /// Changes the user made (steps done), as the journal tells.
    int changes = 0;
    /// When its last change was written, in seconds since 1970.
    std::int64_t written = 0;
};

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

/// The changes a journal's entries make, as the user counts them: steps done, less those
/// undone, plus those redone; up to the first entry the replay would refuse (one it cannot
/// read, a change outside a step, a step inside a step), where `whole` is false.
struct ChangeCount {
    int changes = 0;
    bool whole = true;
};
ChangeCount CountChanges(const std::vector<std::string>& entries);

}  // namespace tallyfold
