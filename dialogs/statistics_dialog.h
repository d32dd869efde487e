#pragma once

#include <vector>

#include "document/box_statistics.h"
#include "document/document.h"
#include "platform/controls.h"
#include "platform/dialog.h"

namespace tallyfold {

/// The "Statistics" dialog (template 3700): how full each partition is against its room, the
/// totals, the answers of the last 30 days and of the last year with the streak, and the cards
/// not known most often, which one button puts at the end of partition 1 (one step) so that
/// they are asked next.
class StatisticsDialog : public platform::Dialog {
  public:
    StatisticsDialog(platform::Window& parent, Document& document);
    void SetupWindow() override;
    /// Whether the dialog changed the box (Ask these next).
    bool ChangedBox() const { return changedBox_; }

  private:
    void Show();
    void CmAskNext();
    void CmHelp();

    Document* document_;
    BoxStatistics statistics_;
    bool changedBox_ = false;
    platform::PictureBox BoxPicture;
    platform::Static TotalsLabel;
    platform::Static RightLabel;
    platform::PictureBox DaysPicture;
    platform::PictureBox CalendarPicture;
    platform::Static StreakLabel;
    platform::Table HardestTable;
    platform::Button AskNextButton;
};

/// Runs the Statistics dialog over the document; true when it changed the box.
bool ShowStatistics(platform::Window& parent, Document& document);

}  // namespace tallyfold
