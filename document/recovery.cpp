#include "document/recovery.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "document/journal_ops.h"
#include "files/file_identity.h"
#include "files/process_stamp.h"
#include "table/native_path.h"

namespace tallyfold {

namespace {

constexpr std::string_view kJournalExtension = ".journal";

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

ChangeCount CountChanges(const std::vector<std::string>& entries) {
    // The entries are walked as the replay takes them: it stops at the first it refuses.
    ChangeCount count;
    bool inStep = false;
    bool stepCounted = false;
    StepName name = StepName::Follow;
    for (const std::string& entry : entries) {
        const std::optional<JournalOp> op = DecodeJournalOp(entry);
        const bool refused =
            !op ||
            (std::holds_alternative<journal_op::End>(*op) ? !inStep : ChangesTheBox(*op) != inStep);
        if (refused) {
            count.whole = false;
            break;
        }
        if (std::holds_alternative<journal_op::End>(*op)) {
            inStep = false;
        } else if (const auto* begin = std::get_if<journal_op::Begin>(&*op)) {
            inStep = true;
            stepCounted = false;
            name = begin->name;
        } else if (std::holds_alternative<journal_op::Undo>(*op)) {
            count.changes = std::max(0, count.changes - 1);
        } else if (std::holds_alternative<journal_op::Redo>(*op)) {
            ++count.changes;
        } else if (std::holds_alternative<journal_op::Snapshot>(*op)) {
            count.changes = std::max(count.changes, 1);
        } else if (!stepCounted && name != StepName::Follow) {
            // A step counts once, with its first change: the user made it.
            stepCounted = true;
            ++count.changes;
        }
    }
    return count;
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
        Recovery recovery;
        recovery.journal = journal;
        if (!ReadJournal(journal, recovery.contents) || recovery.contents.base.file != canonical) {
            continue;
        }
        // Changes to another version of the file would make other cards of it: such a
        // journal is of no use any more.
        if (!file.IsEmpty() && recovery.contents.base.identity != IdentityOf(file)) {
            RemoveFile(journal);
            continue;
        }
        // A journal of nothing but the program's own refills holds no work of the user's. One
        // the replay would refuse before any change is no journal of ours: it is left as it is.
        const ChangeCount count = CountChanges(recovery.contents.entries);
        recovery.changes = count.changes;
        if (recovery.changes == 0) {
            if (count.whole) {
                RemoveFile(journal);
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
