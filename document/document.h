#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "box/box_step.h"
#include "box/card_box.h"
#include "document/journal.h"
#include "files/file_identity.h"
#include "files/file_lock.h"
#include "files/load_ahead.h"
#include "files/vok_file.h"
#include "table/file_path.h"

namespace tallyfold {

/// What a step of the history is called in the Edit menu ("Undo Known").
enum class StepName : std::uint8_t {
    /// Changes no command made on purpose: the refill and compaction when a card is chosen
    /// after a command that changed nothing. They go with the step before them.
    Follow = 0,
    Known,
    Unknown,
    NewCard,
    ChangeCard,
    DeleteCard,
    AllToInput,
    CorrectCard,
    MoveCards,
    DeleteCards,
    DeleteLast,
    MixAll,
    MixThis,
    Import,
    New,
};

/// The string id of a step's name.
int StepNameId(StepName name);

/// What a save would replace, for the questions before it.
struct SaveCheck {
    /// The file holds cards that this box did not come from (`cards` of them).
    bool replacesOtherCards = false;
    std::int64_t cards = 0;
    /// The file changed on disk since this box was loaded from it or saved to it.
    bool changedOnDisk = false;
};

/// A journal of unsaved changes left by a run that ended abnormally.
struct Recovery {
    FilePath journal;
    JournalContents contents;
    /// Changes the user made (steps done), as the journal tells.
    int changes = 0;
    /// When its last change was written, in seconds since 1970.
    std::int64_t written = 0;
};

/// One step of a document's history: the changes it made, what it is called, and when it was
/// made (steps are numbered as they begin).
struct HistoryStep {
    BoxStep changes;
    StepName name = StepName::Follow;
    std::uint64_t serial = 0;
};

/// The document: the box, the file it belongs to, whether it holds unsaved changes, and the
/// history of every change for undo and redo and for the recovery journal.
///
/// Every change of the box goes through here, inside a step (`Step`); a step is what one Undo
/// takes back. Each change is also written to the journal, which brings the unsaved work back
/// after a crash; loading, saving and the normal end of the run remove it.
///
/// The changed mark follows the commands as they always did (`MarkChanged`); undo and redo set
/// it by the history: unchanged exactly at the point of the last save.
class Document {
  public:
    /// The steps kept for undo, at most; and the memory they may hold beyond the cards.
    static constexpr std::size_t kStepLimit = 1000;
    static constexpr std::size_t kHistoryBytes = 256U << 20;

    /// `box` is owned by the caller and outlives the document.
    explicit Document(tCardBox& box);
    ~Document();
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;

    const tCardBox& Box() const { return *box_; }
    const FilePath& Path() const { return path_; }
    bool Changed() const { return changed_; }
    /// Marks the box changed, as a command does that may have changed it.
    void MarkChanged() { changed_ = true; }

    /// Where the journals are written; empty (the default) writes none.
    void SetJournalFolder(FilePath folder) { journalFolder_ = std::move(folder); }
    /// Whether a save keeps the replaced file in the backups folder (default on).
    void SetKeepBackups(bool on) { keepBackups_ = on; }

    // Files.
    /// Reads `path` into a box of its own and, when it could be read, makes it the document:
    /// the history and the journal start afresh, and the file is marked open here. The box is
    /// unchanged when the file could not be read.
    [[nodiscard]] LoadResult Open(const FilePath& path);
    /// Starts reading `path` now, on a thread of its own, for an `Open` of the same path to
    /// take; until then nothing else may change a box (see `LoadAhead`).
    void ReadAhead(const FilePath& path);
    /// Lets a read ahead go when its file will not be opened now.
    void DropReadAhead();
    /// Names the file of a box that has none yet (a name given at start that names no file).
    void SetPath(FilePath path);
    /// What saving to `path` would replace.
    SaveCheck CheckSave(const FilePath& path) const;
    /// Saves to `path` (the document's own path when empty), keeping a backup of the file it
    /// replaces. On success the path is `path`, the box unchanged, the journal gone.
    [[nodiscard]] bool Save(const FilePath& path = FilePath());
    /// The run ends without saving, or after saving: the journal goes, the file's mark too.
    void Close();
    /// Another live Tallyfold that has `path` open, if any.
    static bool OpenElsewhere(const FilePath& path);

    // Recovery.
    /// The newest journal that a run which ended abnormally left for `path` (or, for an empty
    /// path, for a box without a file), if it applies to the file as it is now.
    std::optional<Recovery> FindRecovery(const FilePath& path) const;
    /// Applies a recovery's changes to the document, which must be freshly opened on its file;
    /// the document is then changed and writes on in that journal. False when its entries
    /// could not all be applied (the box then holds those that could).
    bool Restore(const Recovery& recovery);
    /// Deletes a journal the user did not want restored.
    static void Discard(const Recovery& recovery);

    // The history.
    /// Changes between construction and destruction form one step of the history.
    class Step {
      public:
        Step(Document& document, StepName name) : document_(&document) { document.BeginStep(name); }
        ~Step() { document_->EndStep(); }
        Step(const Step&) = delete;
        Step& operator=(const Step&) = delete;

      private:
        Document* document_;
    };
    bool CanUndo() const;
    bool CanRedo() const { return !undone_.empty(); }
    /// The name of the step Undo (Redo) would take back (make again).
    StepName UndoName() const;
    StepName RedoName() const;
    /// Takes back the last step, with the steps that followed it on their own. False when
    /// there is none.
    bool Undo();
    bool Redo();
    /// Memory the history holds beyond the cards, in bytes.
    std::size_t HistoryBytes() const { return historyBytes_; }

    // Changes of the box. Each must be made inside a `Step`, except `ChooseNext`.
    /// Refills partition 1 when it is empty (after compacting the partitions when `compact`),
    /// chooses the current partition and returns its head card; outside a step the changes
    /// this makes follow the step before them.
    tVokabel* ChooseNext(bool compact, int& number);
    void Known();
    void Unknown();
    /// Deletes the head card of partition `number` and chooses anew (see `tCardBox`).
    void DeleteCurrent(int& number);
    /// Appends a card to the input stack; returns the stored card.
    tVokabel* AddCard(const tVokabel& card);
    /// Gives a stored card new texts.
    void SetTexts(tVokabel& card, std::string_view question, std::string_view answer);
    /// Deletes the cards on these lines of partition `number` (lines counted from its head,
    /// ascending).
    void RemoveLines(int number, std::span<const int> lines);
    /// Moves the cards on these lines of partition `number` to the end of partition `target`,
    /// in line order, with their texts and counters.
    void MoveLines(int number, std::span<const int> lines, int target);
    void AllToInput();
    void ClearPartition(int number);
    /// Deletes every card (New).
    void ClearAll();
    /// Shuffles partition `number`, or all of them for 0.
    void Mix(int number);
    void SetUnknownToInput(bool on) { box_->SetUnknownToInput(on); }

    /// Cards for the dialogs, writable through `SetTexts` only.
    tVokabel* HeadOf(int number);
    tVokabel* FindSameQuestionOrAnswer(const tVokabel& card) {
        return box_->FindSameQuestionOrAnswer(card);
    }
    /// The cards on these lines of partition `number`, in line order; lines past the end are
    /// left out.
    std::vector<tVokabel*> CardsOnLines(int number, std::span<const int> lines);

  private:
    void BeginStep(StepName name);
    void EndStep();
    /// True when changes go to a journal: one is named, and no replay of one runs.
    bool Journaling() const;
    void Journal(const JournalEntry& entry);
    void StartJournal();
    FilePath JournalPath() const;
    void StopJournal();
    /// A whole copy of the box as a journal entry, for when the history goes back past the
    /// journal's start.
    void JournalSnapshot();
    bool Apply(std::string_view entry);
    bool UndoOne();
    bool RedoOne();
    /// Sets the changed mark by the history and journals the undo or redo `move`, or, when
    /// it is not `journaled` (a step older than the journal), the whole box.
    void AfterHistoryMove(const JournalEntry& move, bool journaled);
    void DropUndone();
    void TrimHistory();
    void ResetHistory();
    /// Lines in ascending order, each once.
    static std::vector<int> SortedLines(std::span<const int> lines);
    /// Where the card at `card` stands: its ring and its line from the head.
    std::pair<int, int> Locate(const tVokabel& card) const;
    /// Empties the box and loads a snapshot entry into it.
    bool LoadSnapshot(JournalEntryReader& reader);

    tCardBox* box_;
    unsigned long number_;
    std::unique_ptr<LoadAhead> ahead_;
    FilePath path_;
    bool changed_ = false;
    // The file as loaded or last saved; and whether the box's cards came from it (New makes
    // a box of other cards).
    FileIdentity identity_;
    bool fromFile_ = false;
    FileLock lock_;

    std::deque<HistoryStep> done_;
    std::deque<HistoryStep> undone_;
    std::optional<HistoryStep> open_;
    int openDepth_ = 0;
    std::uint64_t nextSerial_ = 1;
    std::size_t historyBytes_ = 0;
    // Steps done, counted without the following ones, and the same count at the last save
    // (none when the history no longer reaches that point).
    std::int64_t position_ = 0;
    std::optional<std::int64_t> savedPosition_ = 0;

    FilePath journalFolder_;
    bool keepBackups_ = true;
    std::unique_ptr<JournalWriter> journal_;
    // Steps from this serial on were made while the journal ran; undoing an older one needs a
    // snapshot in the journal.
    std::uint64_t journalFloor_ = 1;
    bool replaying_ = false;
    // Whether the open step's Begin is in the journal (it goes in with its first change), and
    // whether the journal could not be made since the last load or save.
    bool beginJournaled_ = false;
    bool journalFailed_ = false;
};

}  // namespace tallyfold
