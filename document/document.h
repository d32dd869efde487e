#pragma once

#include <cstdint>
#include <ctime>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "box/card_box.h"
#include "document/change_journal.h"
#include "document/day_history.h"
#include "document/recovery.h"
#include "document/undo_history.h"
#include "files/file_identity.h"
#include "files/file_lock.h"
#include "files/load_ahead.h"
#include "files/vok_file.h"
#include "table/file_path.h"

namespace tallyfold {

/// What a save would replace, for the questions before it.
struct SaveCheck {
    /// The file holds cards that this box did not come from (`cards` of them).
    bool replacesOtherCards = false;
    std::int64_t cards = 0;
    /// The file changed on disk since this box was loaded from it or saved to it.
    bool changedOnDisk = false;
    /// The box's own file is a classic vocabulary file, and the box holds texts that it
    /// cannot: the save makes it a Unicode one, which readers of the classic file cannot open.
    bool becomesUnicode = false;
};

/// The document: the box, the file it belongs to, whether it holds unsaved changes, and the
/// history of every change for undo and redo and for the recovery journal.
///
/// Every change of the box goes through here, inside a step (`Step`); a step is what one Undo
/// takes back. Each change is also written to the journal, which brings the unsaved work back
/// after a crash; loading, saving and the normal end of the run remove it.
///
/// The changed mark follows the history: the box is unchanged exactly at the point of its last
/// save or load, so a command or dialog that changed nothing leaves it unchanged, and Undo back
/// to the save makes it unchanged again.
///
/// The history (`UndoHistory`) and the journal (`ChangeJournal`) are its parts; what each
/// change writes into the journal is listed in `journal_op`, and `Replay` makes the changes of
/// a journal again through the same methods a command calls.
class Document {
  public:
    /// `box` is owned by the caller and outlives the document.
    explicit Document(tCardBox& box);
    ~Document();
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;

    const tCardBox& Box() const { return *box_; }
    /// What was learnt on each day: every verdict counts on the day it is given, an undone one
    /// is taken out again. It lives beside the vocabulary file (`DayHistoryFileName`), is read
    /// with it and saved with it, and its unsaved counts are in the journal with the box's.
    const DayHistory& Days() const { return days_; }
    /// The day by the clock the document counts with.
    DayNumber Today() const;
    /// The clock, for tests that learn across days (default: the system's).
    void SetClock(std::function<std::time_t()> clock) { clock_ = std::move(clock); }
    /// The history file read with the last `Open` was damaged: where it was kept aside (empty
    /// when it could not be moved), once; nothing when it was not.
    std::optional<FilePath> TakeDamagedHistory();
    /// The last save could not write the day history beside the file (the cards were saved).
    bool HistoryUnsaved() const { return historyUnsaved_; }
    const FilePath& Path() const { return path_; }
    bool Changed() const { return !history_.AtSavePoint(); }

    /// Where the journals are written; empty (the default) writes none.
    void SetJournalFolder(FilePath folder) { journal_.SetFolder(std::move(folder)); }
    /// Whether a save keeps the replaced file in the backups folder (default on).
    void SetKeepBackups(bool on) { keepBackups_ = on; }

    /// A part of the safety net that cannot be kept now, the folder it needs, and why.
    enum class NetPart { Journal, Lock, Backups };
    struct NetGap {
        NetPart part = NetPart::Journal;
        FilePath folder;
        FolderProblem problem = FolderProblem::Unwritable;
    };
    /// The parts of the net that are off: the journal since a change could not be written into
    /// it, the mark of the open file since it was last taken, the backups since the last save.
    /// Each comes back by itself when its folder takes files again.
    std::vector<NetGap> NetGaps() const;
    /// Why a save to `path` could not be made, as far as its folder tells: the file's own
    /// folder, or the data folder's "saving" for a file written in place (one with a second
    /// name, or in a folder this user may not write). `Unwritable` when nothing tells more.
    NetGap ProblemOfSaving(const FilePath& path) const;

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
    /// could not all be applied: the box then holds those before the first that could not,
    /// the journal is kept aside (`DamagedJournalPath`) and a new one holds the box.
    bool Restore(const Recovery& recovery);
    /// Deletes a journal the user did not want restored.
    static void Discard(const Recovery& recovery);
    /// Keeps a journal that cannot be restored aside (`DamagedJournalPath`), where no start
    /// reads it again.
    static void SetAside(const Recovery& recovery);

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
    /// Whether the step open now has changed the box so far.
    bool StepChangedBox() const { return history_.StepOpen() && !history_.OpenChanges().Empty(); }
    bool CanUndo() const { return history_.CanUndo(); }
    bool CanRedo() const { return history_.CanRedo(); }
    /// The name of the step Undo (Redo) would take back (make again).
    StepName UndoName() const { return history_.UndoName(); }
    StepName RedoName() const { return history_.RedoName(); }
    /// What the Edit menu calls the step Undo (Redo) would take back (make again).
    std::string UndoTitle() const { return StepTitle(history_.UndoName(), history_.UndoCards()); }
    std::string RedoTitle() const { return StepTitle(history_.RedoName(), history_.RedoCards()); }
    /// Takes back the last step, with the steps that followed it on their own. False when
    /// there is none.
    bool Undo();
    bool Redo();
    /// Memory the history holds beyond the cards, in bytes.
    std::size_t HistoryBytes() const { return history_.Bytes(); }

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
    /// Moves `cards` to the end of partition `target`, in this order; a card already there stays
    /// where it is. The cards must be the box's own.
    void MoveCardsToEnd(std::span<const tVokabel* const> cards, int target);
    /// Sets the known and unknown counts of the cards on these lines of partition `number` to 0.
    void ResetCounters(int number, std::span<const int> lines);
    void AllToInput();
    void ClearPartition(int number);
    /// Deletes every card (New).
    void ClearAll();
    /// Shuffles partition `number`, or all of them for 0.
    void Mix(int number);
    void SetUnknownToInput(bool on) { box_->SetUnknownToInput(on); }

    /// Cards for the dialogs, writable through `SetTexts` only.
    tVokabel* HeadOf(int number);
    tVokabel* FindSameQuestionOrAnswer(const tVokabel& card, const tVokabel* besides = nullptr) {
        return box_->FindSameQuestionOrAnswer(card, besides);
    }
    /// The cards on these lines of partition `number`, in line order; lines past the end are
    /// left out.
    std::vector<tVokabel*> CardsOnLines(int number, std::span<const int> lines);

  private:
    struct Replay;

    void BeginStep(StepName name);
    void EndStep();
    /// In a debug build, stops the program at a change of the box made outside a step.
    void ExpectStep() const;
    /// Marks `path` open here, and notes when that could not be done.
    void TakeLock(const FilePath& path);
    /// Writes `op` into the journal, where one is taken.
    template <class Op>
    void Record(const Op& op);
    /// A whole copy of the box into the journal, for when the history goes back past the
    /// journal's start.
    void RecordSnapshot();
    bool Apply(std::string_view entry, JournalTexts texts);
    /// Sets the changed mark by the history and journals the undo or redo `move`, or the whole
    /// box when a step it moved (the lowest serial `moved`) is older than the journal.
    template <class Op>
    void AfterHistoryMove(const Op& move, std::uint64_t moved);
    /// Drops the history; the journal then begins with the next step.
    void ResetHistory();
    /// Lines in ascending order, each once.
    static std::vector<int> SortedLines(std::span<const int> lines);
    /// Counts `counts` on today in the day history, as a part of the open step, and journals
    /// them; a replay takes them from the journal instead.
    void CountToday(const DayCounts& counts);
    /// How many of the cards a refill of partition 1 would take from the input stack were
    /// never answered.
    std::int32_t NewCardsOfRefill() const;
    /// Where the card at `card` stands: its ring and its line from the head.
    std::pair<int, int> Locate(const tVokabel& card) const;

    tCardBox* box_;
    std::unique_ptr<LoadAhead> ahead_;
    FilePath path_;
    // The file as loaded or last saved; and whether the box's cards came from it (New makes
    // a box of other cards).
    FileIdentity identity_;
    bool fromFile_ = false;
    FileLock lock_;
    bool keepBackups_ = true;
    std::optional<NetGap> lockGap_;
    std::optional<NetGap> backupsGap_;

    DayHistory days_;
    std::function<std::time_t()> clock_ = [] { return std::time(nullptr); };
    std::optional<FilePath> damagedHistory_;
    // A damaged history that could not be moved aside stays, and no save replaces it.
    FilePath keptHistoryOf_;
    bool historyUnsaved_ = false;
    UndoHistory history_;
    ChangeJournal journal_;
    // Steps from this serial on were made while the journal ran; undoing an older one needs a
    // snapshot in the journal.
    std::uint64_t journalFloor_ = 1;
};

}  // namespace tallyfold
