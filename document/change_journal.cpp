#include "document/change_journal.h"

#include <ctime>

#include "document/journal_ops.h"
#include "files/process_stamp.h"

namespace tallyfold {

namespace {

// Documents of one process, told apart in the names of their journals.
unsigned long NextDocumentNumber() {
    static unsigned long next = 0;
    return ++next;
}

}  // namespace

ChangeJournal::ChangeJournal() : number_(NextDocumentNumber()) {}

// Without `Stop` the run did not end normally: the journal stays for the next start.
ChangeJournal::~ChangeJournal() = default;

void ChangeJournal::StepBegins(StepName name) {
    pendingBegin_ = name;
    beginWritten_ = false;
}

void ChangeJournal::Add(const JournalEntry& change, const FilePath& file,
                        const FileIdentity& identity) {
    if (!Taking()) {
        return;
    }
    if (!writer_) {
        Start(file, identity);
        if (!writer_) {
            return;
        }
    }
    if (pendingBegin_ && !beginWritten_) {
        beginWritten_ = true;
        writer_->Add(EncodeJournalOp(journal_op::Begin{*pendingBegin_}).Bytes());
    }
    writer_->Add(change.Bytes());
}

void ChangeJournal::StepEnds() {
    if (beginWritten_ && Taking() && writer_) {
        writer_->Add(EncodeJournalOp(journal_op::End{}).Bytes());
    }
    pendingBegin_.reset();
    beginWritten_ = false;
    Write();
}

void ChangeJournal::Write() {
    if (writer_) {
        writer_->Write();
        // A full disk: what could not be written is lost to the journal, and so is what
        // follows, which would not fit it.
        if (writer_->Failed()) {
            writer_.reset();
            Fail();
        }
    }
}

void ChangeJournal::Stop() {
    if (writer_) {
        writer_->Remove();
        writer_.reset();
    }
    failed_ = false;
    problem_.reset();
}

void ChangeJournal::TakeOver(const FilePath& journal, std::uint64_t validBytes,
                             const FilePath& file) {
    // One this run began already holds no more than the choice of the first card, which the
    // old one makes too.
    Stop();
    if (folder_.IsEmpty()) {
        return;
    }
    const FilePath mine = folder_.Child(JournalFileName(file, number_));
    auto writer = std::make_unique<JournalWriter>();
    if (RenameFile(journal, mine) && writer->Continue(mine, validBytes)) {
        writer_ = std::move(writer);
    } else {
        // The restored changes are in the box, not in a journal: the next crash would lose
        // them, and the old journal would be offered again.
        Fail();
    }
}

void ChangeJournal::SetAside(const FilePath& journal) {
    Stop();
    static_cast<void>(RenameFile(journal, DamagedJournalPath(journal)));
}

FilePath ChangeJournal::Path() const {
    return writer_ ? writer_->Path() : FilePath();
}

void ChangeJournal::Start(const FilePath& file, const FileIdentity& identity) {
    if (failed_) {
        return;
    }
    JournalBase base;
    base.file = file.IsEmpty() ? std::string() : CanonicalName(file);
    base.identity = identity;
    base.owner = ThisProcess();
    base.created = static_cast<std::int64_t>(std::time(nullptr));
    auto writer = std::make_unique<JournalWriter>();
    if (!writer->Create(folder_.Child(JournalFileName(file, number_)), base)) {
        Fail();
        return;
    }
    writer_ = std::move(writer);
}

void ChangeJournal::Fail() {
    failed_ = true;
    problem_ = ProblemOf(folder_);
}

}  // namespace tallyfold
