#pragma once

#include <memory>
#include <optional>

#include "document/journal.h"
#include "document/recovery.h"
#include "document/undo_history.h"
#include "files/file_identity.h"
#include "files/folder_problem.h"
#include "table/file_path.h"

namespace tallyfold {

/// The journal of one document's unsaved changes. It is made with the first change after a
/// load or save (so that a run which changes nothing leaves none), takes every change inside
/// the Begin and End of its step, hands them to the system as each step ends, and is removed
/// when the changes are saved or the run ends normally.
///
/// A journal that cannot be made (a full disk, no state folder) is not tried again for every
/// change: the program works on without one until the next load or save.
class ChangeJournal {
  public:
    ChangeJournal();
    ~ChangeJournal();
    ChangeJournal(const ChangeJournal&) = delete;
    ChangeJournal& operator=(const ChangeJournal&) = delete;

    /// Where the journals are written; empty (the default) writes none.
    void SetFolder(FilePath folder) { folder_ = std::move(folder); }
    const FilePath& Folder() const { return folder_; }
    /// While a journal is replayed its changes are not written again.
    void SetReplaying(bool on) { replaying_ = on; }
    bool Replaying() const { return replaying_; }
    /// True when changes are written: a folder is named, and no replay runs.
    bool Taking() const { return !replaying_ && !folder_.IsEmpty(); }

    /// A step begins; its Begin goes in with its first change, so an empty step leaves nothing.
    void StepBegins(StepName name);
    /// Adds a change; a journal for the vocabulary file `file` as `identity` says it is is
    /// made first where there is none.
    void Add(const JournalEntry& change, const FilePath& file, const FileIdentity& identity);
    /// The step ends: its End goes in when its Begin did, and everything is written.
    void StepEnds();
    /// Hands what was added to the system.
    void Write();
    /// Removes the journal (the changes were saved, or the run ends normally); the next change
    /// makes a new one.
    void Stop();
    /// Goes on in the recovered journal `journal`, renamed as this document's, after its
    /// first `validBytes`.
    void TakeOver(const FilePath& journal, std::uint64_t validBytes, const FilePath& file);
    /// Keeps a recovered journal that could not be restored whole aside
    /// (`DamagedJournalPath`); the next change starts a new journal.
    void SetAside(const FilePath& journal);
    /// The journal being written; empty when there is none.
    FilePath Path() const;
    /// Why no journal is written although one should be: it could not be made or written (until
    /// the next load or save tries again).
    std::optional<FolderProblem> Problem() const { return problem_; }

  private:
    void Start(const FilePath& file, const FileIdentity& identity);
    void Fail();

    unsigned long number_;
    FilePath folder_;
    std::unique_ptr<JournalWriter> writer_;
    bool replaying_ = false;
    bool failed_ = false;
    std::optional<FolderProblem> problem_;
    std::optional<StepName> pendingBegin_;
    bool beginWritten_ = false;
};

}  // namespace tallyfold
