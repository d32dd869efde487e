#pragma once

#include <vector>

#include "dialogs/card_input_dialog.h"
#include "document/card_finder.h"
#include "document/document.h"
#include "platform/controls.h"
#include "platform/dialog.h"

namespace tallyfold {

/// The "Cards" dialog (template 3600): every card of the box in a table, found as the learner
/// types, filtered by partition, sorted by a click on a column's header, and worked on where it
/// is: edited, put into another partition, deleted. Every change reaches the box at once, each
/// action as one step of the document's history.
class CardsDialog : public platform::Dialog {
  public:
    /// `partition` chooses the first filter: 0 for all cards, a partition, or the input stack.
    CardsDialog(platform::Window& parent, Document& document, CardInputTexts& texts,
                int partition = 0);
    void SetupWindow() override;
    /// Whether the last change the dialog made to the box was an undo or a redo: the card on
    /// view is then the one the box offers, not one chosen anew.
    bool LastChangeMovedHistory() const { return historyMoved_; }

  private:
    // Enter, wherever the focus is, edits the selected card; Escape and Close end the dialog,
    // keeping the columns' widths for the next time.
    void CmOk() override { CmEdit(); }
    void CmCancel() override;
    void SearchChanged();
    void PartitionChosen();
    void ColumnClicked();
    void SelectionChanged();
    void CmEdit();
    void CmPutInto();
    void CmDelete();
    void CmResetCounters();
    void CmHelp();
    void CmFind();
    void CmUndo();
    void CmRedo();
    void CmSelectAll();
    /// Shows the finder's lines again, selecting those of `cards` that still show.
    void ShowLines(const std::vector<const tVokabel*>& cards);
    std::vector<const tVokabel*> SelectedCards() const;
    /// After a change of the box: its cards read again, `cards` selected where they show.
    void Reload(const std::vector<const tVokabel*>& cards);
    void EnableActions();
    /// Asks the question `formatId` names about `count` selected cards; true for Yes.
    bool AskAboutSelected(int formatId, std::size_t count);

    Document* document_;
    CardInputTexts* texts_;
    CardFinder finder_;
    int firstPartition_;
    bool historyMoved_ = false;
    platform::Edit SearchEdit;
    platform::CheckBox StrictBox;
    platform::ComboBox PartitionBox;
    platform::Table CardTable;
    platform::Static CountLabel;
    platform::Button EditButton;
    platform::Button PutIntoButton;
    platform::Button DeleteButton;
    platform::Button ResetButton;
};

/// Runs the Cards dialog over the document's box, showing the cards of `partition` first (0 for
/// all); true when the last change it made was an undo or a redo.
bool ShowCards(platform::Window& parent, Document& document, CardInputTexts& texts,
               int partition = 0);

}  // namespace tallyfold
