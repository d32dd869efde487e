#pragma once

#include <vector>

#include "box/card_box.h"
#include "platform/controls.h"
#include "platform/dialog.h"

namespace tallyfold {

/// The "Partition overview" dialog (template 3500): the questions of one partition or of the
/// input stack, to correct, move and delete cards. Every change reaches the box at once.
class tBearbDialog : public platform::Dialog {
  public:
    tBearbDialog(platform::Window& parent, tCardBox& box);
    void SetupWindow() override;

    /// Lists the questions of partition `number`, shows the count and returns it.
    int FillCardList(int number);

  private:
    void SelectionChanged();
    void PartitionChosen();
    void CmCorrect();
    void CmMove();
    void CmDelete();
    void CmHelp();
    void DisableActions();
    /// The cards of the selected lines, top to bottom.
    std::vector<tVokabel*> SelectedCards() const;

    tCardBox* box_;
    int ShownPartition = 0;
    /// The card each line of the list shows, line by line. The box never moves a card while
    /// the list shows it, so the pointers stay valid until the list is filled again.
    std::vector<tVokabel*> lineCards_;
    platform::ListBox CardList;
    platform::ComboBox PartitionBox;
    platform::Button CorrectButton;
    platform::Button MoveButton;
    platform::Button DeleteButton;
    platform::Static CountLabel;
};

/// Runs the partition overview over `box`.
void ShowPartitionOverview(platform::Window& parent, tCardBox& box);

}  // namespace tallyfold
