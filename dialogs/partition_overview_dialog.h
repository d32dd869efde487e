#pragma once

#include <memory>

#include "dialogs/card_input_dialog.h"
#include "document/document.h"
#include "platform/controls.h"
#include "platform/dialog.h"

namespace tallyfold {

/// The "Partition overview" dialog (template 3500): the questions of one partition or of the
/// input stack, to correct, move and delete cards. Every change reaches the box at once, each
/// action as a step of its own in the document's history.
class tBearbDialog : public platform::Dialog {
  public:
    tBearbDialog(platform::Window& parent, Document& document, CardInputTexts& texts);
    void SetupWindow() override;

    /// Lists the questions of partition `number`, shows the count and returns it.
    int FillCardList(int number);
    /// Whether the last change made to the box from here was an undo or a redo (in the Cards
    /// window opened from here).
    bool LastChangeMovedHistory() const { return historyMoved_; }

  private:
    void SelectionChanged();
    void PartitionChosen();
    void CmCorrect();
    void CmMove();
    void CmDelete();
    void CmHelp();
    void CmFindCards();
    /// After a change of the box: the shown partition listed anew, nothing selected.
    void Refill();
    void DisableActions();
    Document* document_;
    CardInputTexts* texts_;
    int ShownPartition = 0;
    bool historyMoved_ = false;
    /// The cards of the lines of the list. The box changes only through this dialog while it
    /// shows, and every change fills the list again.
    std::unique_ptr<tVokListe::Places> lineCards_;
    platform::ListBox CardList;
    platform::ComboBox PartitionBox;
    platform::Button CorrectButton;
    platform::Button MoveButton;
    platform::Button DeleteButton;
    platform::Static CountLabel;
};

/// Runs the partition overview over the document's box; true when the last change made from it
/// was an undo or a redo.
bool ShowPartitionOverview(platform::Window& parent, Document& document, CardInputTexts& texts);

}  // namespace tallyfold
