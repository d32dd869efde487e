#include "dialogs/cards_dialog.h"

#include <array>
#include <charconv>
#include <map>
#include <numeric>
#include <string>

#include "dialogs/help.h"
#include "dialogs/target_dialog.h"
#include "platform/backend.h"
#include "resources/dialog_templates.h"
#include "resources/resource_ids.h"
#include "resources/string_table.h"

namespace tallyfold {

using platform::Notification;

namespace {

constexpr std::array<CardColumn, kCardColumns> kColumns = {CardColumn::Question, CardColumn::Answer,
                                                           CardColumn::Partition, CardColumn::Known,
                                                           CardColumn::Unknown};

// The selected lines of the finder grouped by partition, each partition's places ascending:
// what the document's changes by place take.
std::map<int, std::vector<int>> PlacesByPartition(const CardFinder& finder,
                                                  const std::vector<int>& lines) {
    std::map<int, std::vector<int>> places;
    for (const int line : lines) {
        places[finder.PartitionAt(line)].push_back(finder.PlaceAt(line));
    }
    for (auto& [partition, list] : places) {
        std::sort(list.begin(), list.end());
    }
    return places;
}

constexpr std::string_view kColumnWidthsKey = "cardsColumns";

// The columns' widths as the learner left them ("160 160 70 70 70", in pixels), or the first
// widths for a text that is not one width a column can have for each column.
std::array<int, kCardColumns> ColumnWidthsOf(std::string_view text) {
    constexpr std::array<int, kCardColumns> kFirst = {160, 160, 70, 70, 70};
    constexpr int kNarrowest = 8;
    constexpr int kWidest = 4000;
    std::array<int, kCardColumns> widths{};
    const char* next = text.data();
    const char* end = text.data() + text.size();
    for (std::size_t column = 0; column < widths.size(); ++column) {
        if (column > 0) {
            if (next == end || *next != ' ') {
                return kFirst;
            }
            ++next;
        }
        const auto [after, error] = std::from_chars(next, end, widths[column]);
        if (error != std::errc() || widths[column] < kNarrowest || widths[column] > kWidest) {
            return kFirst;
        }
        next = after;
    }
    return next == end ? widths : kFirst;
}

}  // namespace

CardsDialog::CardsDialog(platform::Window& parent, Document& document, CardInputTexts& texts,
                         int partition)
    : Dialog(parent, CardsTemplate()),
      document_(&document),
      texts_(&texts),
      finder_(document.Box()),
      firstPartition_(partition),
      SearchEdit(*this, ids::kCardsSearch),
      StrictBox(*this, ids::kCardsStrict),
      PartitionBox(*this, ids::kCardsPartition),
      CardTable(*this, ids::kCardsTable),
      CountLabel(*this, ids::kCardsCount),
      EditButton(*this, ids::kCardsEdit),
      PutIntoButton(*this, ids::kCardsPutInto),
      DeleteButton(*this, ids::kCardsDelete),
      ResetButton(*this, ids::kCardsReset) {
    OnNotify(ids::kCardsSearch, Notification::TextChanged, &CardsDialog::SearchChanged);
    OnCommand(ids::kCardsStrict, &CardsDialog::SearchChanged);
    OnNotify(ids::kCardsPartition, Notification::SelectionChanged, &CardsDialog::PartitionChosen);
    OnNotify(ids::kCardsTable, Notification::ColumnClicked, &CardsDialog::ColumnClicked);
    OnNotify(ids::kCardsTable, Notification::SelectionChanged, &CardsDialog::SelectionChanged);
    OnNotify(ids::kCardsTable, Notification::DoubleClicked, &CardsDialog::CmEdit);
    OnCommand(ids::kCardsEdit, &CardsDialog::CmEdit);
    OnCommand(ids::kCardsPutInto, &CardsDialog::CmPutInto);
    OnCommand(ids::kCardsDelete, &CardsDialog::CmDelete);
    OnCommand(ids::kCardsReset, &CardsDialog::CmResetCounters);
    OnCommand(ids::kCardsHelp, &CardsDialog::CmHelp);
    OnCommand(ids::kCardsFind, &CardsDialog::CmFind);
    OnCommand(ids::kCardsUndo, &CardsDialog::CmUndo);
    OnCommand(ids::kCardsRedo, &CardsDialog::CmRedo);
    OnCommand(ids::kCardsSelectAll, &CardsDialog::CmSelectAll);
}

void CardsDialog::SetupWindow() {
    const std::array<int, kCardColumns> widths =
        ColumnWidthsOf(GetBackend().ReadSetting(kColumnWidthsKey));
    const std::vector<platform::TableColumn> columns = {
        {std::string(StringResource(ids::kStrColumnQuestion)), widths[0]},
        {std::string(StringResource(ids::kStrColumnAnswer)), widths[1]},
        {std::string(StringResource(ids::kStrColumnPartition)), widths[2], true},
        {std::string(StringResource(ids::kStrColumnKnown)), widths[3], true},
        {std::string(StringResource(ids::kStrColumnUnknown)), widths[4], true}};
    CardTable.SetColumns(columns);
    const int partitions = document_->Box().PartitionCount();
    PartitionBox.Clear();
    PartitionBox.AddString(StringResource(ids::kStrAllPartitions));
    for (int number = 1; number <= partitions + 1; ++number) {
        PartitionBox.AddString(PartitionEntry("%d", number, partitions));
    }
    if (firstPartition_ < 0 || firstPartition_ > partitions + 1) {
        firstPartition_ = 0;
    }
    PartitionBox.SetSelIndex(firstPartition_);
    finder_.SetPartition(firstPartition_);
    ShowLines({});
    SearchEdit.SetFocus();
}

void CardsDialog::ShowLines(const std::vector<const tVokabel*>& cards) {
    CardTable.SetRows(finder_.Shown(), [this](int row, int column) {
        return row < finder_.Shown() ? finder_.Cell(row, kColumns[static_cast<std::size_t>(column)])
                                     : std::string();
    });
    if (!cards.empty()) {
        CardTable.SelectRows(finder_.LinesOf(cards));
    }
    CountLabel.SetText(FormatTexts(StringResource(ids::kStrCardsShown),
                                   {std::to_string(finder_.Shown()),
                                    CountOf(finder_.Total(), ids::kStrOneCard, ids::kStrCards)}));
    EnableActions();
}

std::vector<const tVokabel*> CardsDialog::SelectedCards() const {
    std::vector<const tVokabel*> cards;
    for (const int line : CardTable.SelectedRows()) {
        if (line < finder_.Shown()) {
            cards.push_back(&finder_.CardAt(line));
        }
    }
    return cards;
}

void CardsDialog::SearchChanged() {
    const std::vector<const tVokabel*> selected = SelectedCards();
    finder_.SetQuery(SearchEdit.Text(), StrictBox.IsChecked());
    ShowLines(selected);
}

void CardsDialog::PartitionChosen() {
    const std::vector<const tVokabel*> selected = SelectedCards();
    finder_.SetPartition(std::max(PartitionBox.GetSelIndex(), 0));
    ShowLines(selected);
}

// A click on a header sorts by its column; a second click on the same one reverses the order.
void CardsDialog::ColumnClicked() {
    const int column = CardTable.ClickedColumn();
    if (column < 0 || column >= kCardColumns) {
        return;
    }
    const CardColumn clicked = kColumns[static_cast<std::size_t>(column)];
    const bool descending =
        finder_.Sorted() && clicked == finder_.SortColumn() && !finder_.Descending();
    const std::vector<const tVokabel*> selected = SelectedCards();
    finder_.SortBy(clicked, descending);
    CardTable.SetSortIndicator(column, descending);
    ShowLines(selected);
}

void CardsDialog::SelectionChanged() {
    EnableActions();
}

void CardsDialog::EnableActions() {
    const bool any = CardTable.CurrentRow() >= 0;
    EditButton.Enable(any);
    PutIntoButton.Enable(any);
    DeleteButton.Enable(any);
    ResetButton.Enable(any);
}

void CardsDialog::Reload(const std::vector<const tVokabel*>& cards) {
    historyMoved_ = false;
    finder_.Reload();
    ShowLines(cards);
}

void CardsDialog::CmEdit() {
    const int line = CardTable.CurrentRow();
    if (line < 0 || line >= finder_.Shown()) {
        return;
    }
    const int place = finder_.PlaceAt(line);
    const std::vector<tVokabel*> cards =
        document_->CardsOnLines(finder_.PartitionAt(line), std::span<const int>(&place, 1));
    if (cards.empty()) {
        return;
    }
    // The Doubles dialog may correct another card even when this edit is cancelled: the
    // list is read again when the step changed anything.
    bool changed = false;
    {
        const Document::Step step(*document_, StepName::CorrectCard);
        static_cast<void>(EditCardAskingAboutDoubles(*this, *document_, *texts_, *cards.front()));
        changed = document_->StepChangedBox();
    }
    if (changed) {
        Reload({cards.front()});
    }
}

void CardsDialog::CmPutInto() {
    const std::vector<int> lines = CardTable.SelectedRows();
    if (lines.empty()) {
        return;
    }
    const int target = ChooseTarget(*this, document_->Box());
    if (target == 0) {
        return;
    }
    // The cards already there stay where they are; the others arrive at the end of the target,
    // in order, as new cards of the box: they are found there again to stay selected.
    std::vector<const tVokabel*> selected;
    int arrived = 0;
    {
        const Document::Step step(*document_, StepName::MoveCards);
        for (const auto& [partition, places] : PlacesByPartition(finder_, lines)) {
            if (partition == target) {
                for (const tVokabel* card : document_->CardsOnLines(partition, places)) {
                    selected.push_back(card);
                }
            } else {
                document_->MoveLines(partition, places, target);
                arrived += static_cast<int>(places.size());
            }
        }
    }
    std::vector<int> arrivals;
    for (int place = document_->Box().CardsIn(target) - arrived;
         place < document_->Box().CardsIn(target); ++place) {
        arrivals.push_back(place);
    }
    for (tVokabel* card : document_->CardsOnLines(target, arrivals)) {
        selected.push_back(card);
    }
    Reload(selected);
}

bool CardsDialog::AskAboutSelected(int formatId, std::size_t count) {
    const std::string question =
        FormatTexts(StringResource(formatId),
                    {CountOf(static_cast<std::int64_t>(count), ids::kStrOneCard, ids::kStrCards)});
    return MessageBox(question, "", platform::MessageButtons::YesNo) == platform::DialogResult::Yes;
}

void CardsDialog::CmDelete() {
    const std::vector<int> lines = CardTable.SelectedRows();
    if (lines.empty()) {
        return;
    }
    if (!AskAboutSelected(ids::kStrDeleteCards, lines.size())) {
        return;
    }
    {
        const Document::Step step(*document_, StepName::DeleteCards);
        for (const auto& [partition, places] : PlacesByPartition(finder_, lines)) {
            document_->RemoveLines(partition, places);
        }
    }
    Reload({});
}

void CardsDialog::CmResetCounters() {
    const std::vector<int> lines = CardTable.SelectedRows();
    if (lines.empty()) {
        return;
    }
    if (!AskAboutSelected(ids::kStrResetCounters, lines.size())) {
        return;
    }
    const std::vector<const tVokabel*> selected = SelectedCards();
    {
        const Document::Step step(*document_, StepName::ResetCounters);
        for (const auto& [partition, places] : PlacesByPartition(finder_, lines)) {
            document_->ResetCounters(partition, places);
        }
    }
    Reload(selected);
}

void CardsDialog::CmCancel() {
    std::string kept;
    for (const int width : CardTable.ColumnWidths()) {
        kept += (kept.empty() ? "" : " ") + std::to_string(width);
    }
    GetBackend().WriteSetting(kColumnWidthsKey, kept);
    Dialog::CmCancel();
}

void CardsDialog::CmFind() {
    SearchEdit.SetFocus();
    SearchEdit.SetSelection(0, -1);
}

// Undo and Redo take back and make again the box's steps, those made before the window opened
// too, as Edit > Undo would. The cards a step touched may be gone: nothing stays selected.
void CardsDialog::CmUndo() {
    if (document_->Undo()) {
        Reload({});
        historyMoved_ = true;
    }
}

void CardsDialog::CmRedo() {
    if (document_->Redo()) {
        Reload({});
        historyMoved_ = true;
    }
}

void CardsDialog::CmSelectAll() {
    std::vector<int> rows(static_cast<std::size_t>(finder_.Shown()));
    std::iota(rows.begin(), rows.end(), 0);
    CardTable.SelectRows(rows);
    CardTable.SetFocus();
    EnableActions();
}

void CardsDialog::CmHelp() {
    ShowHelpContext(*this, ids::kCardsDialog);
}

bool ShowCards(platform::Window& parent, Document& document, CardInputTexts& texts, int partition) {
    CardsDialog dialog(parent, document, texts, partition);
    // Close alone ends it: every change it makes is made while it is open.
    static_cast<void>(dialog.Execute());
    return dialog.LastChangeMovedHistory();
}

}  // namespace tallyfold
