#include "document/recovery.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "document/journal_ops.h"
#include "files/file_identity.h"
#include "files/memory_budget.h"
#include "files/process_stamp.h"
#include "files/vok_file.h"
#include "table/native_path.h"

namespace tallyfold {

namespace {

constexpr std::string_view kJournalExtension = ".journal";
// A card the replay adds takes its place in the box and a record in the history, as an
// imported card does.
constexpr std::uint64_t kMemoryPerRestoredCard = 2 * kMemoryPerLoadedCard;

// Journals are "<key>-<pid>-<start>-<n>.journal": the key names the file (a hash of its
// canonical name, or "untitled"), the rest the process that writes it and its document.
std::string JournalKey(const FilePath& path) {
    return path.IsEmpty() ? std::string("untitled") : HashName(CanonicalName(path));
}

std::optional<ProcessStamp> OwnerOfJournal(std::string_view name, std::string_view key) {
    if (name.size() <= key.size() + 1 + kJournalExtension.size() ||
        name.substr(0, key.size()) != key || name[key.size()] != '-' ||
        name.substr(name.size() - kJournalExtension.size()) != kJournalExtension) {
        return std::nullopt;
    }
    const std::string stamp(
        name.substr(key.size() + 1, name.size() - key.size() - 1 - kJournalExtension.size()));
    if (stamp.find_first_not_of("0123456789-") != std::string::npos) {
        return std::nullopt;
    }
    ProcessStamp owner;
    unsigned long document = 0;
    char rest = 0;
    if (std::sscanf(stamp.c_str(), "%ld-%llu-%lu%c", &owner.pid, &owner.start, &document, &rest) !=
        3) {
        return std::nullopt;
    }
    return owner;
}

std::int64_t ModifiedSeconds(const FilePath& path) {
    const std::optional<FileStatus> status = StatusOf(path);
    return status ? status->modifiedNs / 1000000000LL : 0;
}

}  // namespace

FilePath DamagedJournalPath(const FilePath& journal) {
    return journal.WithSuffix(".damaged");
}

std::string JournalFileName(const FilePath& file, unsigned long document) {
    const ProcessStamp self = ThisProcess();
    return JournalKey(file) + "-" + std::to_string(self.pid) + "-" + std::to_string(self.start) +
           "-" + std::to_string(document) + std::string(kJournalExtension);
}

ChangeCount CountChanges(JournalReader& reader) {
    // The entries are walked as the replay takes them, up to the first it refuses; past that,
    // what the journal holds in all is counted by leaving out each entry the replay refuses.
    ChangeCount count;
    int changes = 0;
    std::uint64_t cards = 0;
    bool inStep = false;
    bool stepCounted = false;
    StepName name = StepName::Follow;
    std::string entry;
    while (reader.Next(entry)) {
        const std::optional<JournalOp> op = DecodeJournalOp(entry, reader.Texts());
        const bool refused =
            !op ||
            (std::holds_alternative<journal_op::End>(*op) ? !inStep : ChangesTheBox(*op) != inStep);
        if (refused) {
            if (count.whole) {
                count.whole = false;
                count.changes = changes;
            }
            continue;
        }
        if (std::holds_alternative<journal_op::End>(*op)) {
            inStep = false;
        } else if (const auto* begin = std::get_if<journal_op::Begin>(&*op)) {
            inStep = true;
            stepCounted = false;
            name = begin->name;
        } else if (std::holds_alternative<journal_op::Undo>(*op)) {
            changes = std::max(0, changes - 1);
        } else if (std::holds_alternative<journal_op::Redo>(*op)) {
            ++changes;
        } else if (const auto* snapshot = std::get_if<journal_op::Snapshot>(&*op)) {
            changes = std::max(changes, 1);
            if (count.whole) {
                cards = std::max<std::uint64_t>(cards, MostCardsIn(*snapshot));
            }
        } else {
            if (!stepCounted && name != StepName::Follow) {
                // A step counts once, with its first change: the user made it.
                stepCounted = true;
                ++changes;
            }
            if (count.whole && std::holds_alternative<journal_op::AddCard>(*op)) {
                ++cards;
            }
        }
    }
    if (count.whole) {
        count.changes = changes;
    }
    count.recorded = std::max(changes, count.changes);
    count.cards = cards;
    return count;
}

bool FitsInMemory(const Recovery& recovery) {
    const std::uint64_t budget = AvailableMemory();
    return budget == 0 || recovery.count.cards <= budget / kMemoryPerRestoredCard;
}

std::optional<Recovery> ReadRecovery(const FilePath& path) {
    JournalReader reader;
    if (!reader.Open(path)) {
        return std::nullopt;
    }
    Recovery recovery;
    recovery.journal = path;
    recovery.base = reader.Base();
    recovery.count = CountChanges(reader);
    recovery.written = ModifiedSeconds(path);
    return recovery;
}

std::optional<Recovery> FindRecovery(const FilePath& folder, const FilePath& file,
                                     const FilePath& own) {
    if (folder.IsEmpty()) {
        return std::nullopt;
    }
    const std::string key = JournalKey(file);
    const std::string canonical = file.IsEmpty() ? std::string() : CanonicalName(file);
    std::optional<Recovery> newest;
    std::error_code error;
    for (std::filesystem::directory_iterator entry(NativePath(folder), error), end;
         !error && entry != end; entry.increment(error)) {
        const std::string name = PathFromNative(entry->path().filename()).Bytes();
        const std::optional<ProcessStamp> owner = OwnerOfJournal(name, key);
        // A journal whose writer still runs is another window's live work. This process has
        // none open while it looks: it looks before its first change.
        if (!owner || (*owner != ThisProcess() && IsRunning(*owner))) {
            continue;
        }
        const FilePath journal = folder.Child(name);
        if (!own.IsEmpty() && journal == own) {
            continue;
        }
        // Only a journal of this file is read through: the base comes first.
        JournalReader reader;
        if (!reader.Open(journal)) {
            // Its writer ended before the base was written whole, or it is no journal: kept
            // aside, not read again at every start.
            reader = JournalReader();
            static_cast<void>(RenameFile(journal, DamagedJournalPath(journal)));
            continue;
        }
        if (reader.Base().file != canonical) {
            continue;
        }
        // Changes to another version of the file would make other cards of it: such a
        // journal is of no use any more.
        if (!file.IsEmpty() && reader.Base().identity != IdentityOf(file)) {
            reader = JournalReader();
            RemoveFile(journal);
            continue;
        }
        Recovery recovery;
        recovery.journal = journal;
        recovery.base = reader.Base();
        recovery.count = CountChanges(reader);
        reader = JournalReader();
        // A journal of nothing but the program's own refills holds no work of the user's. One
        // the replay refuses before any change gives nothing back: it is kept aside.
        if (recovery.count.changes == 0) {
            if (recovery.count.whole) {
                RemoveFile(journal);
            } else {
                static_cast<void>(RenameFile(journal, DamagedJournalPath(journal)));
            }
            continue;
        }
        recovery.written = ModifiedSeconds(journal);
        if (!newest || recovery.written > newest->written) {
            newest = std::move(recovery);
        }
    }
    return newest;
}

}  // namespace tallyfold
