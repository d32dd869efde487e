#include "document/document.h"

#include <algorithm>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "files/backups.h"
#include "resources/resource_ids.h"
#include "table/native_path.h"

namespace tallyfold {

namespace {

// The journal's entries: one per change, between the Begin and End of its step.
enum class Op : std::uint8_t {
    Begin = 1,
    End,
    Choose,
    Known,
    Unknown,
    DeleteCurrent,
    AddCard,
    SetTexts,
    RemoveLines,
    MoveLines,
    AllToInput,
    ClearPartition,
    ClearAll,
    Mix,
    Undo,
    Redo,
    Snapshot,
};

JournalEntry Entry(Op op) {
    return JournalEntry(static_cast<std::uint8_t>(op));
}

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

// Documents of one process, told apart in the names of their journals.
unsigned long NextDocumentNumber() {
    static unsigned long next = 0;
    return ++next;
}

std::int64_t ModifiedSeconds(const FilePath& path) {
    const std::optional<FileStatus> status = StatusOf(path);
    return status ? status->modifiedNs / 1000000000LL : 0;
}

// The changes a journal's entries make, as the user counts them: steps done, less those
// undone, plus those redone.
int CountChanges(const std::vector<std::string>& entries) {
    int changes = 0;
    for (const std::string& entry : entries) {
        JournalEntryReader reader(entry);
        const auto op = static_cast<Op>(reader.U8());
        if (op == Op::Begin && reader.U8() != static_cast<std::uint8_t>(StepName::Follow)) {
            ++changes;
        } else if (op == Op::Undo) {
            changes = std::max(0, changes - 1);
        } else if (op == Op::Redo) {
            ++changes;
        } else if (op == Op::Snapshot) {
            changes = std::max(changes, 1);
        }
    }
    return changes;
}

}  // namespace

int StepNameId(StepName name) {
    return ids::kStrStepFollow + static_cast<int>(name);
}

Document::Document(tCardBox& box) : box_(&box), number_(NextDocumentNumber()) {}

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
    const LoadResult result = read->Result();
    if (!result.opened) {
        return result;
    }
    StopJournal();
    ResetHistory();
    box_->ClearAll();
    box_->TakeCardsFrom(read->Box());
    path_ = path;
    identity_ = read->Identity();
    fromFile_ = true;
    changed_ = false;
    static_cast<void>(lock_.Take(path));
    return result;
}

void Document::SetPath(FilePath path) {
    path_ = std::move(path);
    identity_ = IdentityOf(path_);
    fromFile_ = false;
    static_cast<void>(lock_.Take(path_));
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
    const FilePath backup =
        keepBackups_ && IsRegularFile(target) ? NewBackupPath(target) : FilePath();
    if (!SaveVokFile(target, *box_, backup)) {
        return false;
    }
    if (!backup.IsEmpty()) {
        PruneBackups(target);
    }
    if (target != path_) {
        path_ = target;
        static_cast<void>(lock_.Take(target));
    }
    identity_ = IdentityOf(target);
    fromFile_ = true;
    changed_ = false;
    savedPosition_ = position_;
    // The file holds every change now; the journal starts again from it at the next one.
    StopJournal();
    journalFloor_ = nextSerial_;
    return true;
}

void Document::Close() {
    StopJournal();
    lock_.Release();
}

bool Document::OpenElsewhere(const FilePath& path) {
    return FileLock::HolderOf(path).has_value();
}

// --- Recovery -------------------------------------------------------------------------------

std::optional<Recovery> Document::FindRecovery(const FilePath& path) const {
    if (journalFolder_.IsEmpty()) {
        return std::nullopt;
    }
    const std::string key = JournalKey(path);
    const std::string file = path.IsEmpty() ? std::string() : CanonicalName(path);
    std::optional<Recovery> newest;
    std::error_code error;
    for (std::filesystem::directory_iterator entry(NativePath(journalFolder_), error), end;
         !error && entry != end; entry.increment(error)) {
        const std::string name = PathFromNative(entry->path().filename()).Bytes();
        const std::optional<ProcessStamp> owner = OwnerOfJournal(name, key);
        // A journal whose writer still runs is another window's live work. This process has
        // none open while it looks: it looks before its first change.
        if (!owner || (*owner != ThisProcess() && IsRunning(*owner))) {
            continue;
        }
        const FilePath journal = journalFolder_.Child(name);
        if (journal_ && journal == journal_->Path()) {
            continue;
        }
        Recovery recovery;
        recovery.journal = journal;
        if (!ReadJournal(journal, recovery.contents) || recovery.contents.base.file != file) {
            continue;
        }
        // Changes to another version of the file would make other cards of it: such a
        // journal is of no use any more.
        if (!path.IsEmpty() && recovery.contents.base.identity != IdentityOf(path)) {
            RemoveFile(journal);
            continue;
        }
        // A journal of nothing but the program's own refills holds no work of the user's.
        recovery.changes = CountChanges(recovery.contents.entries);
        if (recovery.changes == 0) {
            RemoveFile(journal);
            continue;
        }
        recovery.written = ModifiedSeconds(journal);
        if (!newest || recovery.written > newest->written) {
            newest = std::move(recovery);
        }
    }
    return newest;
}

bool Document::Restore(const Recovery& recovery) {
    replaying_ = true;
    bool applied = true;
    for (const std::string& entry : recovery.contents.entries) {
        if (!Apply(entry)) {
            applied = false;
            break;
        }
    }
    // A step the crash cut short is closed as it stands.
    while (openDepth_ > 0) {
        EndStep();
    }
    replaying_ = false;
    changed_ = true;
    // The journal goes on under this process's name, from where it holds. One this run began
    // already holds no more than the choice of the first card, which the old one makes too.
    StopJournal();
    if (!journalFolder_.IsEmpty()) {
        const FilePath mine = JournalPath();
        auto writer = std::make_unique<JournalWriter>();
        if (RenameFile(recovery.journal, mine) &&
            writer->Continue(mine, recovery.contents.validBytes)) {
            journal_ = std::move(writer);
        }
    }
    return applied;
}

void Document::Discard(const Recovery& recovery) {
    RemoveFile(recovery.journal);
}

// --- The history ----------------------------------------------------------------------------

void Document::BeginStep(StepName name) {
    if (openDepth_++ > 0) {
        return;
    }
    open_.emplace();
    open_->name = name;
    open_->serial = nextSerial_++;
    beginJournaled_ = false;
    box_->BeginStep(open_->changes);
}

void Document::EndStep() {
    if (openDepth_ == 0 || --openDepth_ > 0) {
        return;
    }
    box_->EndStep();
    if (beginJournaled_) {
        Journal(Entry(Op::End));
        beginJournaled_ = false;
    }
    if (journal_) {
        journal_->Write();
    }
    HistoryStep step = std::move(*open_);
    open_.reset();
    if (step.changes.Empty()) {
        return;
    }
    DropUndone();
    historyBytes_ += step.changes.Bytes();
    if (step.name != StepName::Follow) {
        ++position_;
    }
    done_.push_back(std::move(step));
    TrimHistory();
}

bool Document::CanUndo() const {
    return std::any_of(done_.begin(), done_.end(),
                       [](const HistoryStep& step) { return step.name != StepName::Follow; });
}

StepName Document::UndoName() const {
    for (auto step = done_.rbegin(); step != done_.rend(); ++step) {
        if (step->name != StepName::Follow) {
            return step->name;
        }
    }
    return StepName::Follow;
}

StepName Document::RedoName() const {
    return undone_.empty() ? StepName::Follow : undone_.back().name;
}

bool Document::UndoOne() {
    if (done_.empty()) {
        return false;
    }
    HistoryStep step = std::move(done_.back());
    done_.pop_back();
    box_->UndoStep(step.changes);
    if (step.name != StepName::Follow) {
        --position_;
    }
    undone_.push_back(std::move(step));
    return true;
}

bool Document::RedoOne() {
    if (undone_.empty()) {
        return false;
    }
    HistoryStep step = std::move(undone_.back());
    undone_.pop_back();
    box_->RedoStep(step.changes);
    if (step.name != StepName::Follow) {
        ++position_;
    }
    done_.push_back(std::move(step));
    return true;
}

bool Document::Undo() {
    if (openDepth_ > 0 || !CanUndo()) {
        return false;
    }
    bool journaled = true;
    while (done_.back().name == StepName::Follow) {
        journaled = journaled && done_.back().serial >= journalFloor_;
        UndoOne();
    }
    journaled = journaled && done_.back().serial >= journalFloor_;
    UndoOne();
    AfterHistoryMove(Entry(Op::Undo), journaled);
    return true;
}

bool Document::Redo() {
    if (openDepth_ > 0 || undone_.empty()) {
        return false;
    }
    bool journaled = undone_.back().serial >= journalFloor_;
    RedoOne();
    while (!undone_.empty() && undone_.back().name == StepName::Follow) {
        journaled = journaled && undone_.back().serial >= journalFloor_;
        RedoOne();
    }
    AfterHistoryMove(Entry(Op::Redo), journaled);
    return true;
}

void Document::AfterHistoryMove(const JournalEntry& move, bool journaled) {
    changed_ = !(savedPosition_ && *savedPosition_ == position_);
    // A step made before the journal began cannot be named in it: the whole box goes in.
    if (journaled) {
        Journal(move);
    } else {
        JournalSnapshot();
    }
    if (journal_) {
        journal_->Write();
    }
}

void Document::DropUndone() {
    if (undone_.empty()) {
        return;
    }
    for (HistoryStep& step : undone_) {
        historyBytes_ -= std::min(historyBytes_, step.changes.Bytes());
        step.changes.Discard(false);
    }
    undone_.clear();
    // The saved state was among the steps undone: no undo reaches it now.
    if (savedPosition_ && *savedPosition_ > position_) {
        savedPosition_.reset();
    }
}

void Document::TrimHistory() {
    while (done_.size() > 1 && (done_.size() > kStepLimit || historyBytes_ > kHistoryBytes)) {
        HistoryStep& oldest = done_.front();
        historyBytes_ -= std::min(historyBytes_, oldest.changes.Bytes());
        oldest.changes.Discard(true);
        done_.pop_front();
    }
}

void Document::ResetHistory() {
    while (!done_.empty()) {
        done_.back().changes.Discard(true);
        done_.pop_back();
    }
    DropUndone();
    historyBytes_ = 0;
    position_ = 0;
    savedPosition_ = 0;
    journalFloor_ = nextSerial_;
}

// --- The journal ----------------------------------------------------------------------------

void Document::StartJournal() {
    if (journalFolder_.IsEmpty() || journalFailed_) {
        return;
    }
    JournalBase base;
    base.file = path_.IsEmpty() ? std::string() : CanonicalName(path_);
    base.identity = identity_;
    base.owner = ThisProcess();
    base.created = static_cast<std::int64_t>(std::time(nullptr));
    const FilePath path = JournalPath();
    auto writer = std::make_unique<JournalWriter>();
    if (!writer->Create(path, base)) {
        // No journal is had here (a full disk, no state folder): the program works on without
        // one, and does not try again for every change.
        journalFailed_ = true;
        return;
    }
    journal_ = std::move(writer);
}

FilePath Document::JournalPath() const {
    const ProcessStamp self = ThisProcess();
    return journalFolder_.Child(JournalKey(path_) + "-" + std::to_string(self.pid) + "-" +
                                std::to_string(self.start) + "-" + std::to_string(number_) +
                                std::string(kJournalExtension));
}

void Document::StopJournal() {
    if (journal_) {
        journal_->Remove();
        journal_.reset();
    }
    journalFailed_ = false;
}

bool Document::Journaling() const {
    return !replaying_ && !journalFolder_.IsEmpty();
}

void Document::Journal(const JournalEntry& entry) {
    if (!Journaling()) {
        return;
    }
    if (!journal_) {
        StartJournal();
        if (!journal_) {
            return;
        }
    }
    if (open_ && !beginJournaled_ && static_cast<Op>(entry.Bytes()[0]) != Op::End) {
        beginJournaled_ = true;
        journal_->Add(Entry(Op::Begin).U8(static_cast<std::uint8_t>(open_->name)).Bytes());
    }
    journal_->Add(entry.Bytes());
}

void Document::JournalSnapshot() {
    if (replaying_ || journalFolder_.IsEmpty()) {
        return;
    }
    // Every step made so far now counts as older than the journal.
    journalFloor_ = nextSerial_;
    JournalEntry entry = Entry(Op::Snapshot);
    entry.I32(box_->CurrentPartition());
    for (int number = 1; number <= box_->PartitionCount() + 1; ++number) {
        entry.I32(box_->CardsIn(number));
    }
    box_->ForEachCard([&entry](const tVokabel& card, int) {
        entry.Text(card.Question()).Text(card.Answer()).I32(card.knownCount).I32(card.unknownCount);
        return true;
    });
    Journal(entry);
}

bool Document::LoadSnapshot(JournalEntryReader& reader) {
    ResetHistory();
    const int current = reader.I32();
    std::vector<int> counts;
    for (int number = 1; number <= box_->PartitionCount() + 1; ++number) {
        counts.push_back(reader.I32());
    }
    if (!reader.Ok()) {
        return false;
    }
    tCardBox loaded;
    for (int number = 1; number <= box_->PartitionCount() + 1; ++number) {
        for (int i = 0; i < counts[static_cast<std::size_t>(number - 1)]; ++i) {
            tVokabel card;
            const std::string_view question = reader.Text();
            const std::string_view answer = reader.Text();
            card.SetTexts(question, answer);
            card.knownCount = reader.I32();
            card.unknownCount = reader.I32();
            if (!reader.Ok()) {
                return false;
            }
            loaded.AddToPartition(card, number);
        }
    }
    box_->ClearAll();
    box_->TakeCardsFrom(loaded);
    box_->SetCurrentPartition(current);
    savedPosition_.reset();
    return reader.AtEnd();
}

bool Document::Apply(std::string_view bytes) {
    JournalEntryReader reader(bytes);
    const auto op = static_cast<Op>(reader.U8());
    // A count the entry cannot hold is refused before anything is reserved for it.
    auto lines = [&reader, &bytes](std::vector<int>& read) {
        const std::int32_t count = reader.I32();
        if (count < 0 || static_cast<std::size_t>(count) > bytes.size() / 4) {
            return false;
        }
        read.reserve(static_cast<std::size_t>(count));
        for (std::int32_t i = 0; i < count; ++i) {
            read.push_back(reader.I32());
        }
        return reader.Ok();
    };
    switch (op) {
        case Op::Begin: {
            const std::uint8_t name = reader.U8();
            if (!reader.Ok() || name > static_cast<std::uint8_t>(StepName::New)) {
                return false;
            }
            BeginStep(static_cast<StepName>(name));
            break;
        }
        case Op::End:
            EndStep();
            break;
        case Op::Choose: {
            const bool compact = reader.U8() != 0;
            int number = 0;
            if (reader.Ok()) {
                static_cast<void>(ChooseNext(compact, number));
            }
            break;
        }
        case Op::Known:
            Known();
            break;
        case Op::Unknown: {
            const bool toInput = reader.U8() != 0;
            if (reader.Ok()) {
                box_->SetUnknownToInput(toInput);
                Unknown();
            }
            break;
        }
        case Op::DeleteCurrent: {
            int number = reader.I32();
            if (reader.Ok()) {
                DeleteCurrent(number);
            }
            break;
        }
        case Op::AddCard: {
            tVokabel card;
            const std::string_view question = reader.Text();
            const std::string_view answer = reader.Text();
            card.SetTexts(question, answer);
            card.knownCount = reader.I32();
            card.unknownCount = reader.I32();
            if (reader.Ok()) {
                AddCard(card);
            }
            break;
        }
        case Op::SetTexts: {
            const int number = reader.I32();
            const int line = reader.I32();
            const std::string question(reader.Text());
            const std::string answer(reader.Text());
            const std::vector<tVokabel*> cards =
                CardsOnLines(number, std::span<const int>(&line, 1));
            if (!reader.Ok() || cards.empty()) {
                return false;
            }
            SetTexts(*cards.front(), question, answer);
            break;
        }
        case Op::RemoveLines: {
            const int number = reader.I32();
            std::vector<int> chosen;
            if (!lines(chosen)) {
                return false;
            }
            RemoveLines(number, chosen);
            break;
        }
        case Op::MoveLines: {
            const int number = reader.I32();
            const int target = reader.I32();
            std::vector<int> chosen;
            if (!lines(chosen)) {
                return false;
            }
            MoveLines(number, chosen, target);
            break;
        }
        case Op::AllToInput:
            AllToInput();
            break;
        case Op::ClearPartition: {
            const int number = reader.I32();
            if (reader.Ok()) {
                ClearPartition(number);
            }
            break;
        }
        case Op::ClearAll:
            ClearAll();
            break;
        case Op::Mix: {
            const int number = reader.I32();
            const std::uint64_t seed = reader.U64();
            if (reader.Ok()) {
                box_->Mix(number, seed);
            }
            break;
        }
        case Op::Undo:
            return Undo();
        case Op::Redo:
            return Redo();
        case Op::Snapshot:
            if (openDepth_ > 0) {
                return false;
            }
            return LoadSnapshot(reader);
        default:
            return false;
    }
    return reader.Ok() && reader.AtEnd();
}

// --- Changes of the box ---------------------------------------------------------------------

tVokabel* Document::ChooseNext(bool compact, int& number) {
    const Step step(*this, StepName::Follow);
    const std::size_t before = open_->changes.Size();
    const int current = box_->CurrentPartition();
    if (compact) {
        box_->Compact();
    }
    tVokabel* card = box_->ChooseNext(number);
    // Most choices change nothing; only one that did needs telling again. The journal gets it
    // after the fact, which replays the same: it starts from the same box.
    if (open_->changes.Size() != before || box_->CurrentPartition() != current) {
        Journal(Entry(Op::Choose).U8(compact ? 1 : 0));
    }
    return card;
}

void Document::Known() {
    Journal(Entry(Op::Known));
    box_->Known();
}

void Document::Unknown() {
    Journal(Entry(Op::Unknown).U8(box_->UnknownToInput() ? 1 : 0));
    box_->Unknown();
}

void Document::DeleteCurrent(int& number) {
    Journal(Entry(Op::DeleteCurrent).I32(number));
    box_->DeleteCurrent(&number);
}

tVokabel* Document::AddCard(const tVokabel& card) {
    // An import adds its cards one by one: an entry is made only where a journal takes it.
    if (Journaling()) {
        Journal(Entry(Op::AddCard)
                    .Text(card.Question())
                    .Text(card.Answer())
                    .I32(card.knownCount)
                    .I32(card.unknownCount));
    }
    return box_->AddToInput(card);
}

void Document::SetTexts(tVokabel& card, std::string_view question, std::string_view answer) {
    if (!replaying_ && !journalFolder_.IsEmpty()) {
        const auto [number, line] = Locate(card);
        Journal(Entry(Op::SetTexts).I32(number).I32(line).Text(question).Text(answer));
    }
    box_->SetTexts(card, question, answer);
}

void Document::RemoveLines(int number, std::span<const int> lines) {
    JournalEntry entry = Entry(Op::RemoveLines);
    entry.I32(number).I32(static_cast<std::int32_t>(lines.size()));
    for (const int line : lines) {
        entry.I32(line);
    }
    Journal(entry);
    box_->RemovePlaces(SortedLines(lines), number);
}

void Document::MoveLines(int number, std::span<const int> lines, int target) {
    if (target == number || target < 1 || target > box_->PartitionCount() + 1) {
        return;
    }
    JournalEntry entry = Entry(Op::MoveLines);
    entry.I32(number).I32(target).I32(static_cast<std::int32_t>(lines.size()));
    for (const int line : lines) {
        entry.I32(line);
    }
    Journal(entry);
    const std::vector<int> sorted = SortedLines(lines);
    // Every card of the partition (select all) goes as it is: one splice of the ring.
    if (!sorted.empty() && static_cast<int>(sorted.size()) == box_->CardsIn(number) &&
        sorted.front() == 0 && sorted.back() == box_->CardsIn(number) - 1) {
        box_->MoveAll(number, target);
        return;
    }
    const std::vector<tVokabel*> cards = CardsOnLines(number, sorted);
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

void Document::AllToInput() {
    Journal(Entry(Op::AllToInput));
    box_->AllToInput();
}

void Document::ClearPartition(int number) {
    Journal(Entry(Op::ClearPartition).I32(number));
    box_->ClearPartition(number);
}

void Document::ClearAll() {
    Journal(Entry(Op::ClearAll));
    box_->ClearAll();
    fromFile_ = false;
}

void Document::Mix(int number) {
    const auto seed = static_cast<std::uint64_t>(std::time(nullptr));
    Journal(Entry(Op::Mix).I32(number).U64(seed));
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
