// Making a journal's changes again: each operation through the same method of the document
// that made it, so that the history holds the same steps as in the run that wrote it.
//
// A journal is input like any file. The program writes every change inside the Begin and End
// of its step, and steps do not nest in a journal; an entry that breaks this is refused before
// it changes anything, since a change outside the history would leave the history's records
// pointing at cards the change moved or freed.

#include "document/document.h"
#include "document/journal_ops.h"

#include <string>

namespace tallyfold {

struct Document::Replay {
    Document* document;
    JournalTexts texts;

    std::string Text(std::string_view stored) const { return CardTextOfJournal(stored, texts); }

    bool InStep() const { return document->history_.StepOpen(); }

    bool operator()(const journal_op::Begin& op) const {
        if (InStep()) {
            return false;
        }
        document->BeginStep(op.name);
        return true;
    }
    bool operator()(const journal_op::End& /*op*/) const {
        if (!InStep()) {
            return false;
        }
        document->EndStep();
        return true;
    }
    bool operator()(const journal_op::Choose& op) const {
        int number = 0;
        static_cast<void>(document->ChooseNext(op.compact, number));
        return true;
    }
    bool operator()(const journal_op::Known& /*op*/) const {
        document->Known();
        return true;
    }
    bool operator()(const journal_op::Unknown& op) const {
        document->box_->SetUnknownToInput(op.toInput);
        document->Unknown();
        return true;
    }
    bool operator()(const journal_op::DeleteCurrent& op) const {
        int number = op.number;
        document->DeleteCurrent(number);
        return true;
    }
    bool operator()(const journal_op::AddCard& op) const {
        tVokabel card;
        card.SetTexts(Text(op.question), Text(op.answer));
        card.knownCount = op.known;
        card.unknownCount = op.unknown;
        document->AddCard(card);
        return true;
    }
    bool operator()(const journal_op::SetTexts& op) const {
        const std::vector<tVokabel*> cards =
            document->CardsOnLines(op.number, std::span<const int>(&op.line, 1));
        if (cards.empty()) {
            return false;
        }
        document->SetTexts(*cards.front(), Text(op.question), Text(op.answer));
        return true;
    }
    bool operator()(const journal_op::RemoveLines& op) const {
        document->RemoveLines(op.number, op.lines);
        return true;
    }
    bool operator()(const journal_op::MoveLines& op) const {
        document->MoveLines(op.number, op.lines, op.target);
        return true;
    }
    bool operator()(const journal_op::ResetCounters& op) const {
        document->ResetCounters(op.number, op.lines);
        return true;
    }
    bool operator()(const journal_op::AllToInput& /*op*/) const {
        document->AllToInput();
        return true;
    }
    bool operator()(const journal_op::ClearPartition& op) const {
        document->ClearPartition(op.number);
        return true;
    }
    bool operator()(const journal_op::ClearAll& /*op*/) const {
        document->ClearAll();
        return true;
    }
    bool operator()(const journal_op::Mix& op) const {
        // The seed of the run that shuffled, so the cards come out in the same order.
        document->box_->Mix(op.number, op.seed);
        return true;
    }
    bool operator()(const journal_op::Undo& /*op*/) const { return document->Undo(); }
    bool operator()(const journal_op::Redo& /*op*/) const { return document->Redo(); }
    bool operator()(const journal_op::Tally& op) const {
        if (op.known < 0 || op.unknown < 0 || op.entered < 0 || op.learnt < 0 ||
            !IsWritableDay(op.day)) {
            return false;
        }
        document->history_.CountDay({op.day, {op.known, op.unknown, op.entered, op.learnt}});
        return true;
    }
    bool operator()(const journal_op::Days& op) const {
        if (document->history_.StepOpen()) {
            return false;
        }
        std::optional<DayHistory> days = DayHistory::FromText(op.text);
        if (!days) {
            return false;
        }
        document->days_ = std::move(*days);
        return true;
    }
    bool operator()(const journal_op::Snapshot& op) const {
        if (document->history_.StepOpen()) {
            return false;
        }
        // The cards are read into a box of their own: a snapshot that does not read whole
        // leaves the document's box as it was.
        tCardBox loaded;
        if (!ReadSnapshot(op, texts, loaded)) {
            return false;
        }
        document->ResetHistory();
        document->box_->ClearAll();
        document->box_->TakeCardsFrom(loaded);
        document->box_->SetCurrentPartition(op.current);
        document->history_.ForgetSavePoint();
        return true;
    }
};

bool Document::Apply(std::string_view entry, JournalTexts texts) {
    const std::optional<JournalOp> op = DecodeJournalOp(entry, texts);
    if (!op) {
        return false;
    }
    if (ChangesTheBox(*op) && !history_.StepOpen()) {
        return false;
    }
    return std::visit(Replay{this, texts}, *op);
}

}  // namespace tallyfold
