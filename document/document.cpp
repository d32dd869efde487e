#include "document/document.h"

#include <algorithm>
#include <cassert>
#include <ctime>
#include <string>
#include <vector>

#include "document/day_history_file.h"
#include "document/journal_ops.h"
#include "files/backups.h"
#include "files/replacement_file.h"
#include "files/user_folders.h"

namespace tallyfold {

Document::Document(tCardBox& box) : box_(&box), history_(box, days_) {}

Document::~Document() {
    // Without `Close` the run did not end normally: the journal stays for the next start.
    ResetHistory();
}

// --- Files ----------------------------------------------------------------------------------

void Document::ReadAhead(const FilePath& path) {
    ahead_ = std::make_unique<LoadAhead>(path);
}

void Document::DropReadAhead() {
    ahead_.reset();
}

LoadResult Document::Open(const FilePath& path) {
    std::unique_ptr<LoadAhead> read = std::move(ahead_);
    if (read != nullptr) {
        read->Wait();
    }
    // A read ahead serves only a file that is still as it was when the read began.
    if (read == nullptr || read->Path() != path || read->Identity() != IdentityOf(path)) {
        read.reset();
        read = std::make_unique<LoadAhead>(path, LoadAhead::Reading::Now);
    }
    LoadResult result = read->Result();
    if (!result.opened) {
        return result;
    }
    journal_.Stop();
    ResetHistory();
    box_->ClearAll();
    box_->TakeCardsFrom(read->Box());
    DayHistoryLoad days = ReadDayHistory(path);
    days_ = std::move(days.history);
    damagedHistory_.reset();
    keptHistoryOf_ = FilePath();
    if (days.damaged) {
        damagedHistory_ = days.setAside;
        if (days.setAside.IsEmpty()) {
            keptHistoryOf_ = path;
        }
    }
    path_ = path;
    identity_ = read->Identity();
    fromFile_ = true;
    TakeLock(path);
    return result;
}

void Document::SetPath(FilePath path) {
    path_ = std::move(path);
    identity_ = IdentityOf(path_);
    fromFile_ = false;
    TakeLock(path_);
}

SaveCheck Document::CheckSave(const FilePath& path) const {
    SaveCheck check;
    const FilePath target = path.IsEmpty() ? path_ : path;
    const FileIdentity now = IdentityOf(target);
    if (target.IsEmpty() || !now.exists) {
        return check;
    }
    const bool own = !path_.IsEmpty() && CanonicalName(target) == CanonicalName(path_);
    if (own && fromFile_ && identity_.exists) {
        check.changedOnDisk = now != identity_;
        tVokDB table;
        check.becomesUnicode =
            table.Open(target) && table.Layout() == VokLayout::Classic && !FitsClassicFile(*box_);
        return check;
    }
    tVokDB table;
    if (table.Open(target)) {
        check.cards = table.HeaderRecordCount();
        check.replacesOtherCards = check.cards > 0;
    }
    return check;
}

bool Document::Save(const FilePath& path) {
    const FilePath target = path.IsEmpty() ? path_ : path;
    if (target.IsEmpty()) {
        return false;
    }
    ForgetBackupsThatAre(target);
    const bool backupWanted = keepBackups_ && IsRegularFile(target);
    const FilePath backup = backupWanted ? NewBackupPath(target) : FilePath();
    if (!SaveVokFile(target, *box_, backup)) {
        return false;
    }
    if (!backup.IsEmpty()) {
        PruneBackups(target);
    }
    // The cards are saved; a history that cannot be is told, never a failed save.
    historyUnsaved_ = keptHistoryOf_ == target || !WriteDayHistory(target, days_);
    // The save went through; a backup that could not be kept is told, not a failure.
    backupsGap_.reset();
    if (backupWanted && (backup.IsEmpty() || !IsRegularFile(backup))) {
        const FilePath folder = BackupsFolder();
        backupsGap_ = NetGap{NetPart::Backups, folder, ProblemOf(folder)};
    }
    if (target != path_) {
        path_ = target;
        TakeLock(target);
    }
    identity_ = IdentityOf(target);
    fromFile_ = true;
    history_.MarkSaved();
    // The file holds every change now; the journal starts again from it at the next one.
    journal_.Stop();
    journalFloor_ = history_.NextSerial();
    return true;
}

DayNumber Document::Today() const {
    return LocalDayOf(clock_()).value_or(0);
}

std::optional<FilePath> Document::TakeDamagedHistory() {
    std::optional<FilePath> damaged = std::move(damagedHistory_);
    damagedHistory_.reset();
    return damaged;
}

void Document::TakeLock(const FilePath& path) {
    lockGap_.reset();
    if (path.IsEmpty()) {
        lock_.Release();
        return;
    }
    if (!lock_.Take(path)) {
        const FilePath folder = FileLock::Folder();
        lockGap_ = NetGap{NetPart::Lock, folder, ProblemOf(folder)};
    }
}

std::vector<Document::NetGap> Document::NetGaps() const {
    std::vector<NetGap> gaps;
    if (const std::optional<FolderProblem> problem = journal_.Problem()) {
        gaps.push_back({NetPart::Journal, journal_.Folder(), *problem});
    }
    if (lockGap_) {
        gaps.push_back(*lockGap_);
    }
    if (backupsGap_) {
        gaps.push_back(*backupsGap_);
    }
    return gaps;
}

Document::NetGap Document::ProblemOfSaving(const FilePath& path) const {
    const FilePath target = ResolveLinks(path);
    const FilePath folder = target.Folder();
    NetGap gap{NetPart::Backups, folder, ProblemOf(folder)};
    const bool inPlace =
        IsRegularFile(target) && (LinkCount(target) > 1 || gap.problem == FolderProblem::ReadOnly);
    if (inPlace) {
        const FilePath data = DataFolder();
        gap.folder = InPlaceSavingFolder();
        gap.problem = ProblemOf(gap.folder);
        // A "saving" folder not made yet takes its problem from the data folder.
        if (gap.problem == FolderProblem::NoFolder && !data.IsEmpty()) {
            gap = {NetPart::Backups, data, ProblemOf(data)};
        }
    }
    return gap;
}

void Document::Close() {
    journal_.Stop();
    lock_.Release();
}

bool Document::OpenElsewhere(const FilePath& path) {
    return FileLock::HolderOf(path).has_value();
}

// --- Recovery -------------------------------------------------------------------------------

std::optional<Recovery> Document::FindRecovery(const FilePath& path) const {
    return tallyfold::FindRecovery(journal_.Folder(), path, journal_.Path());
}

bool Document::Restore(const Recovery& recovery) {
    // The journal is read again as it is replayed, an entry at a time. One that no longer
    // reads as the journal that was offered gives nothing back.
    JournalReader reader;
    bool applied = reader.Open(recovery.journal) && reader.Base().file == recovery.base.file &&
                   reader.Base().owner == recovery.base.owner;
    journal_.SetReplaying(true);
    std::string entry;
    while (applied && reader.Next(entry)) {
        applied = Apply(entry, reader.Texts());
    }
    // A step the crash cut short is closed as it stands.
    while (history_.StepOpen()) {
        EndStep();
    }
    journal_.SetReplaying(false);
    const std::uint64_t validBytes = reader.ValidBytes();
    const JournalTexts texts = reader.Texts();
    reader = JournalReader();
    if (applied && texts != JournalTexts::Utf8) {
        // A journal of an earlier version goes on as a new one, in this version's form.
        journal_.Stop();
        RemoveFile(recovery.journal);
        RecordSnapshot();
        journal_.Write();
        return true;
    }
    if (applied) {
        // The journal goes on under this process's name, from where it holds.
        journal_.TakeOver(recovery.journal, validBytes, path_);
        return true;
    }
    // Going on after an entry that was refused would leave the next changes behind it, where
    // no replay reaches them. The damaged journal is kept aside for the user, and a new one
    // begins with the box as it came back.
    journal_.SetAside(recovery.journal);
    RecordSnapshot();
    journal_.Write();
    return false;
}

void Document::Discard(const Recovery& recovery) {
    RemoveFile(recovery.journal);
}

void Document::SetAside(const Recovery& recovery) {
    static_cast<void>(RenameFile(recovery.journal, DamagedJournalPath(recovery.journal)));
}

// --- The journal ----------------------------------------------------------------------------

template <class Op>
void Document::Record(const Op& op) {
    if (journal_.Taking()) {
        journal_.Add(EncodeJournalOp(op), path_, identity_);
    }
}

void Document::RecordSnapshot() {
    if (!journal_.Taking()) {
        return;
    }
    // Every step made so far now counts as older than the journal.
    journalFloor_ = history_.NextSerial();
    journal_.Add(EncodeSnapshot(*box_), path_, identity_);
    const std::string days = days_.Text();
    Record(journal_op::Days{days});
}

// --- The history ----------------------------------------------------------------------------

void Document::BeginStep(StepName name) {
    if (history_.Begin(name)) {
        journal_.StepBegins(name);
    }
}

void Document::EndStep() {
    if (history_.StepOpen() && history_.End()) {
        journal_.StepEnds();
    }
}

bool Document::Undo() {
    const std::optional<std::uint64_t> moved = history_.Undo();
    if (!moved) {
        return false;
    }
    AfterHistoryMove(journal_op::Undo{}, *moved);
    return true;
}

bool Document::Redo() {
    const std::optional<std::uint64_t> moved = history_.Redo();
    if (!moved) {
        return false;
    }
    AfterHistoryMove(journal_op::Redo{}, *moved);
    return true;
}

template <class Op>
void Document::AfterHistoryMove(const Op& move, std::uint64_t moved) {
    // A step made before the journal began cannot be named in it: the whole box goes in.
    if (moved >= journalFloor_) {
        Record(move);
    } else {
        RecordSnapshot();
    }
    journal_.Write();
}

void Document::ResetHistory() {
    history_.Clear();
    journalFloor_ = history_.NextSerial();
}

// --- Changes of the box ---------------------------------------------------------------------

tVokabel* Document::ChooseNext(bool compact, int& number) {
    const Step step(*this, StepName::Follow);
    const std::size_t before = history_.OpenChanges().Size();
    const int current = box_->CurrentPartition();
    if (compact) {
        box_->Compact();
    }
    const std::int32_t entered = NewCardsOfRefill();
    tVokabel* card = box_->ChooseNext(number);
    // Most choices change nothing; only one that did needs telling again. The journal gets it
    // after the fact, which replays the same: it starts from the same box.
    if (history_.OpenChanges().Size() != before || box_->CurrentPartition() != current) {
        Record(journal_op::Choose{compact});
    }
    if (entered > 0) {
        CountToday({0, 0, entered, 0});
    }
    return card;
}

std::int32_t Document::NewCardsOfRefill() const {
    if (box_->CardsIn(1) > 0) {
        return 0;
    }
    // A refill takes the input stack's first cards, at most what partition 1 holds.
    std::int32_t left = box_->Capacity(1);
    std::int32_t fresh = 0;
    box_->ForEachCardIn(tCardBox::kInputStack, [&left, &fresh](const tVokabel& card) {
        fresh += card.knownCount == 0 && card.unknownCount == 0 ? 1 : 0;
        return --left > 0;
    });
    return fresh;
}

void Document::CountToday(const DayCounts& counts) {
    // A journal being replayed holds the counts with the day they were made on.
    if (journal_.Replaying()) {
        return;
    }
    const DayTally tally{Today(), counts};
    // A clock beyond the years a history file holds counts nothing.
    if (!IsWritableDay(tally.day)) {
        return;
    }
    history_.CountDay(tally);
    Record(
        journal_op::Tally{tally.day, counts.known, counts.unknown, counts.entered, counts.learnt});
}

void Document::ExpectStep() const {
    // A change outside a step would leave the history's records pointing at cards it moved or
    // freed. The journal's replay refuses such a change before it gets here; this catches one
    // from the program's own code.
    assert(history_.StepOpen() && "a change of the box outside a step of the history");
}

void Document::Known() {
    ExpectStep();
    const int number = box_->CurrentPartition();
    const bool asked = HeadOf(number) != nullptr;
    Record(journal_op::Known{});
    box_->Known();
    if (asked) {
        // A card known in the partition before the last reaches the last.
        CountToday({1, 0, 0, number == box_->PartitionCount() - 1 ? 1 : 0});
    }
}

void Document::Unknown() {
    ExpectStep();
    const bool asked = HeadOf(box_->CurrentPartition()) != nullptr;
    Record(journal_op::Unknown{box_->UnknownToInput()});
    box_->Unknown();
    if (asked) {
        CountToday({0, 1, 0, 0});
    }
}

void Document::DeleteCurrent(int& number) {
    ExpectStep();
    Record(journal_op::DeleteCurrent{number});
    box_->DeleteCurrent(&number);
}

tVokabel* Document::AddCard(const tVokabel& card) {
    ExpectStep();
    // An import adds its cards one by one: an entry is made only where a journal takes it.
    if (journal_.Taking()) {
        Record(journal_op::AddCard{card.Question(), card.Answer(), card.knownCount,
                                   card.unknownCount});
    }
    return box_->AddToInput(card);
}

void Document::SetTexts(tVokabel& card, std::string_view question, std::string_view answer) {
    ExpectStep();
    if (card.Question() == question && card.Answer() == answer) {
        return;  // saved as it was: no change to undo or to save
    }
    // Finding the card's line walks the box: only where a journal takes it.
    if (journal_.Taking()) {
        const auto [number, line] = Locate(card);
        Record(journal_op::SetTexts{number, line, question, answer});
    }
    box_->SetTexts(card, question, answer);
}

void Document::RemoveLines(int number, std::span<const int> lines) {
    ExpectStep();
    if (journal_.Taking()) {
        Record(journal_op::RemoveLines{number, {lines.begin(), lines.end()}});
    }
    history_.CountCards(box_->RemovePlaces(SortedLines(lines), number));
}

void Document::MoveLines(int number, std::span<const int> lines, int target) {
    ExpectStep();
    if (target == number || target < 1 || target > box_->PartitionCount() + 1) {
        return;
    }
    if (journal_.Taking()) {
        Record(journal_op::MoveLines{number, target, {lines.begin(), lines.end()}});
    }
    const std::vector<int> sorted = SortedLines(lines);
    // Every card of the partition (select all) goes as it is: one splice of the ring.
    if (!sorted.empty() && static_cast<int>(sorted.size()) == box_->CardsIn(number) &&
        sorted.front() == 0 && sorted.back() == box_->CardsIn(number) - 1) {
        history_.CountCards(static_cast<std::int64_t>(sorted.size()));
        box_->MoveAll(number, target);
        return;
    }
    const std::vector<tVokabel*> cards = CardsOnLines(number, sorted);
    history_.CountCards(static_cast<std::int64_t>(cards.size()));
    // The copies are taken before any card is deleted; they arrive in line order.
    std::vector<tVokabel> copies;
    copies.reserve(cards.size());
    for (const tVokabel* card : cards) {
        copies.push_back(*card);
    }
    box_->RemovePlaces(sorted, number);
    for (const tVokabel& copy : copies) {
        box_->AddToPartition(copy, target);
    }
}

void Document::ResetCounters(int number, std::span<const int> lines) {
    ExpectStep();
    std::vector<tVokabel*> cards = CardsOnLines(number, SortedLines(lines));
    // Cards counted nowhere change nothing: no step to undo, nothing to save.
    std::erase_if(cards, [](const tVokabel* card) {
        return card->knownCount == 0 && card->unknownCount == 0;
    });
    if (cards.empty()) {
        return;
    }
    if (journal_.Taking()) {
        Record(journal_op::ResetCounters{number, {lines.begin(), lines.end()}});
    }
    history_.CountCards(static_cast<std::int64_t>(cards.size()));
    for (tVokabel* card : cards) {
        box_->ResetCounters(*card);
    }
}

void Document::AllToInput() {
    ExpectStep();
    Record(journal_op::AllToInput{});
    box_->AllToInput();
}

void Document::ClearPartition(int number) {
    ExpectStep();
    Record(journal_op::ClearPartition{number});
    box_->ClearPartition(number);
}

void Document::ClearAll() {
    ExpectStep();
    Record(journal_op::ClearAll{});
    box_->ClearAll();
    // A new box has learnt nothing yet; Undo gives the old one its days back.
    history_.ReplaceDays(DayHistory());
    fromFile_ = false;
}

void Document::Mix(int number) {
    ExpectStep();
    const auto seed = static_cast<std::uint64_t>(std::time(nullptr));
    Record(journal_op::Mix{number, seed});
    box_->Mix(number, seed);
}

tVokabel* Document::HeadOf(int number) {
    tVokabel copy;
    return box_->FirstInPartition(number, copy);
}

std::vector<int> Document::SortedLines(std::span<const int> lines) {
    std::vector<int> sorted(lines.begin(), lines.end());
    if (!std::is_sorted(sorted.begin(), sorted.end())) {
        std::sort(sorted.begin(), sorted.end());
    }
    sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
    return sorted;
}

std::vector<tVokabel*> Document::CardsOnLines(int number, std::span<const int> lines) {
    const std::vector<int> sorted = SortedLines(lines);
    std::vector<tVokabel*> cards;
    cards.reserve(sorted.size());
    auto wanted = sorted.begin();
    int line = 0;
    tVokabel copy;
    for (tVokabel* card = box_->FirstInPartition(number, copy);
         card != nullptr && wanted != sorted.end(); card = box_->NextInPartition(number, copy)) {
        while (wanted != sorted.end() && *wanted < line) {
            ++wanted;
        }
        if (wanted != sorted.end() && *wanted == line) {
            cards.push_back(card);
            ++wanted;
        }
        ++line;
    }
    return cards;
}

void Document::MoveCardsToEnd(std::span<const tVokabel* const> cards, int target) {
    ExpectStep();
    for (const tVokabel* card : cards) {
        const auto [number, line] = Locate(*card);
        if (number != 0 && number != target) {
            MoveLines(number, std::span<const int>(&line, 1), target);
        }
    }
}

std::pair<int, int> Document::Locate(const tVokabel& card) const {
    std::pair<int, int> place{0, 0};
    int ring = 0;
    int line = 0;
    box_->ForEachCard([&](const tVokabel& stored, int number) {
        if (number != ring) {
            ring = number;
            line = 0;
        }
        if (&stored == &card) {
            place = {number, line};
            return false;
        }
        ++line;
        return true;
    });
    return place;
}

}  // namespace tallyfold
