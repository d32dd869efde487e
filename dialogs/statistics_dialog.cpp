#include "dialogs/statistics_dialog.h"

#include <string>

#include "dialogs/help.h"
#include "dialogs/statistics_charts.h"
#include "resources/dialog_templates.h"
#include "resources/resource_ids.h"
#include "resources/string_table.h"

namespace tallyfold {

namespace {

constexpr int kLastDays = 30;

// The size of a picture's control, for the shapes drawn in it.
platform::Rect Room(const platform::PictureBox& box) {
    return box.Size();
}

}  // namespace

StatisticsDialog::StatisticsDialog(platform::Window& parent, Document& document)
    : Dialog(parent, StatisticsTemplate()),
      document_(&document),
      BoxPicture(*this, ids::kStatsBox),
      TotalsLabel(*this, ids::kStatsTotals),
      RightLabel(*this, ids::kStatsRight),
      DaysPicture(*this, ids::kStatsDays),
      CalendarPicture(*this, ids::kStatsCalendar),
      StreakLabel(*this, ids::kStatsStreak),
      HardestTable(*this, ids::kStatsHardest),
      AskNextButton(*this, ids::kStatsAskNext) {
    OnCommand(ids::kStatsAskNext, &StatisticsDialog::CmAskNext);
    OnCommand(ids::kStatsHelp, &StatisticsDialog::CmHelp);
}

void StatisticsDialog::SetupWindow() {
    const std::vector<platform::TableColumn> columns = {
        {std::string(StringResource(ids::kStrColumnQuestion)), 150},
        {std::string(StringResource(ids::kStrColumnAnswer)), 150},
        {std::string(StringResource(ids::kStrStatsColumnNotKnown)), 70, true},
        {std::string(StringResource(ids::kStrColumnKnown)), 60, true}};
    HardestTable.SetColumns(columns);
    Show();
    HardestTable.SetFocus();
}

void StatisticsDialog::Show() {
    statistics_ = StatisticsOf(document_->Box());
    const BoxTotals& totals = statistics_.totals;
    const DayHistory& days = document_->Days();
    const DayNumber today = document_->Today();

    const platform::Rect box = Room(BoxPicture);
    const Chart boxChart = BoxChart(statistics_, box.width, box.height);
    BoxPicture.SetPicture(boxChart.picture);
    BoxPicture.SetAccessibleName(boxChart.spoken);
    const platform::Rect last = Room(DaysPicture);
    const Chart daysChart = DaysChart(LastDays(days, today, kLastDays), last.width, last.height);
    DaysPicture.SetPicture(daysChart.picture);
    DaysPicture.SetAccessibleName(daysChart.spoken);
    const platform::Rect year = Room(CalendarPicture);
    const Chart calendar = CalendarChart(days, today, year.width, year.height);
    CalendarPicture.SetPicture(calendar.picture);
    CalendarPicture.SetAccessibleName(calendar.spoken);

    TotalsLabel.SetText(
        FormatTexts(StringResource(ids::kStrStatsTotals),
                    {CountOf(totals.cards, ids::kStrOneCard, ids::kStrCards),
                     std::to_string(totals.waiting), std::to_string(totals.learnt)}));
    const std::optional<int> right = totals.PercentRight();
    RightLabel.SetText(right ? FormatTexts(StringResource(ids::kStrStatsRight),
                                           {std::to_string(*right) + "%",
                                            std::to_string(totals.known + totals.unknown)})
                             : std::string(StringResource(ids::kStrStatsNoAnswers)));
    const int learningDays = days.DaysWithVerdicts(FirstDayOfYearTo(today), today);
    StreakLabel.SetText(
        FormatTexts(StringResource(ids::kStrStatsStreak),
                    {CountOf(learningDays, ids::kStrOneDay, ids::kStrDays),
                     CountOf(days.CurrentStreak(today), ids::kStrOneDay, ids::kStrDays),
                     CountOf(days.LongestStreak(), ids::kStrOneDay, ids::kStrDays)}));

    const int rows = static_cast<int>(statistics_.hardest.size());
    HardestTable.SetRows(rows, [this, rows](int row, int column) -> std::string {
        if (row < 0 || row >= rows) {
            return {};
        }
        const tVokabel& card = *statistics_.hardest[static_cast<std::size_t>(row)].card;
        switch (column) {
            case 0:
                return std::string(card.Question());
            case 1:
                return std::string(card.Answer());
            case 2:
                return std::to_string(card.unknownCount);
            default:
                return std::to_string(card.knownCount);
        }
    });
    AskNextButton.Enable(rows > 0);
}

void StatisticsDialog::CmAskNext() {
    std::vector<const tVokabel*> cards;
    for (const HardCard& hard : statistics_.hardest) {
        cards.push_back(hard.card);
    }
    if (cards.empty()) {
        return;
    }
    {
        const Document::Step step(*document_, StepName::MoveCards);
        document_->MoveCardsToEnd(cards, 1);
    }
    changedBox_ = true;
    // The cards moved are copies in their new place: everything shown is read anew.
    Show();
}

void StatisticsDialog::CmHelp() {
    ShowHelpContext(*this, ids::kStatisticsDialog);
}

bool ShowStatistics(platform::Window& parent, Document& document) {
    StatisticsDialog dialog(parent, document);
    static_cast<void>(dialog.Execute());
    return dialog.ChangedBox();
}

}  // namespace tallyfold
