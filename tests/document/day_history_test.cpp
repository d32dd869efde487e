#include "document/day_history.h"

#include <gtest/gtest.h>

#include <string>

namespace tallyfold {
namespace {

DayNumber Day(int year, int month, int day) {
    return DayOf({year, month, day});
}

DayTally Verdicts(DayNumber day, int known, int unknown = 0) {
    return {day, {known, unknown, 0, 0}};
}

TEST(DayHistoryCalendar, DaysAndDatesAgreeAcrossMonthsYearsAndLeapDays) {
    EXPECT_EQ(Day(1970, 1, 1), 0);
    EXPECT_EQ(Day(2000, 3, 1) - Day(2000, 2, 28), 2) << "2000 is a leap year";
    EXPECT_EQ(Day(1900, 3, 1) - Day(1900, 2, 28), 1) << "1900 is none";
    EXPECT_EQ(Day(2027, 1, 1) - Day(2026, 12, 31), 1);
    EXPECT_EQ(Day(2026, 12, 11), 20798);
    // Every day of four centuries comes back as its date, one after the other.
    CalendarDate previous = DateOf(Day(1899, 12, 31));
    for (DayNumber day = Day(1900, 1, 1); day <= Day(2300, 1, 1); ++day) {
        const CalendarDate date = DateOf(day);
        ASSERT_EQ(DayOf(date), day);
        const bool nextDay = date.year == previous.year && date.month == previous.month &&
                             date.day == previous.day + 1;
        const bool nextMonth =
            date.day == 1 &&
            ((date.year == previous.year && date.month == previous.month + 1) ||
             (date.year == previous.year + 1 && date.month == 1 && previous.month == 12));
        ASSERT_TRUE(nextDay || nextMonth) << date.year << "-" << date.month << "-" << date.day;
        previous = date;
    }
}

TEST(DayHistoryStreaks, RunAcrossMonthAndYearEndsAndBreakOnADayWithoutVerdicts) {
    DayHistory history;
    for (const DayNumber day :
         {Day(2025, 12, 30), Day(2025, 12, 31), Day(2026, 1, 1), Day(2026, 1, 2)}) {
        history.Add(Verdicts(day, 3));
    }
    history.Add(Verdicts(Day(2026, 1, 31), 1));
    history.Add(Verdicts(Day(2026, 2, 1), 0, 2));
    // A day of new cards alone, without a verdict, is no learning day.
    history.Add({Day(2026, 2, 2), {0, 0, 10, 0}});
    EXPECT_EQ(history.LongestStreak(), 4);
    EXPECT_EQ(history.CurrentStreak(Day(2026, 1, 2)), 4);
    EXPECT_EQ(history.CurrentStreak(Day(2026, 1, 3)), 4) << "today is not over yet";
    EXPECT_EQ(history.CurrentStreak(Day(2026, 1, 4)), 0);
    EXPECT_EQ(history.CurrentStreak(Day(2026, 2, 1)), 2);
    EXPECT_EQ(history.CurrentStreak(Day(2026, 2, 2)), 2);
    EXPECT_EQ(DayHistory().LongestStreak(), 0);
    EXPECT_EQ(history.DaysWithVerdicts(Day(2025, 12, 31), Day(2026, 2, 2)), 5);
    EXPECT_EQ(history.DaysWithVerdicts(Day(2026, 1, 2), Day(2026, 1, 31)), 2);
}

TEST(DayHistoryCounts, AClockSetBackCountsIntoItsDayAndAnUndoneVerdictLeaves) {
    DayHistory history;
    history.Add(Verdicts(Day(2026, 12, 11), 2, 1));
    history.Add(Verdicts(Day(2026, 12, 5), 1));
    history.Add(Verdicts(Day(2026, 12, 11), 1));
    EXPECT_EQ(history.On(Day(2026, 12, 11)), (DayCounts{3, 1, 0, 0}));
    EXPECT_EQ(history.On(Day(2026, 12, 5)), (DayCounts{1, 0, 0, 0}));
    EXPECT_EQ(history.Text(), "Tallyfold day history 1\n2026-12-05 1 0 0 0\n2026-12-11 3 1 0 0\n");
    history.Subtract(Verdicts(Day(2026, 12, 5), 1));
    EXPECT_EQ(history.Days().count(Day(2026, 12, 5)), 0U) << "a day left empty goes";
    history.Subtract(Verdicts(Day(2026, 12, 7), 1));
    EXPECT_EQ(history.Days().size(), 1U) << "a day never counted stays uncounted";
}

TEST(DayHistoryCounts, ACountStopsAtTheLargestAFileHolds) {
    DayHistory history;
    history.Add({Day(2026, 1, 1), {2147483647, 0, 0, 0}});
    history.Add({Day(2026, 1, 1), {2147483647, 1, 0, 0}});
    EXPECT_EQ(history.On(Day(2026, 1, 1)), (DayCounts{2147483647, 1, 0, 0}));
    ASSERT_TRUE(DayHistory::FromText(history.Text()).has_value());
    EXPECT_TRUE(IsWritableDay(Day(1, 1, 1)));
    EXPECT_TRUE(IsWritableDay(Day(9999, 12, 31)));
    EXPECT_FALSE(IsWritableDay(Day(10000, 1, 1)));
    EXPECT_FALSE(IsWritableDay(Day(0, 12, 31)));
}

TEST(DayHistoryText, ReadsBackWhatItWritesAndRefusesEveryOtherText) {
    DayHistory history;
    history.Add({Day(2024, 2, 29), {12, 3, 10, 1}});
    history.Add({Day(2026, 12, 11), {2147483647, 0, 0, 0}});
    const std::optional<DayHistory> read = DayHistory::FromText(history.Text());
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(*read, history);
    EXPECT_TRUE(DayHistory::FromText("Tallyfold day history 1\r\n2026-01-01 1 2 3 4\r\n"));
    EXPECT_TRUE(DayHistory::FromText("Tallyfold day history 1\n")->Empty());
    for (const std::string bad : {
             "",
             "Tallyfold day history 2\n",
             "2026-01-01 1 2 3 4\n",
             "Tallyfold day history 1\n2026-02-29 1 0 0 0\n",  // no leap year
             "Tallyfold day history 1\n2026-13-01 1 0 0 0\n",
             "Tallyfold day history 1\n2026-1-01 1 0 0 0\n",
             "Tallyfold day history 1\n2026-01-01 1 0 0\n",
             "Tallyfold day history 1\n2026-01-01 1 0 0 0 0\n",
             "Tallyfold day history 1\n2026-01-01 -1 0 0 0\n",
             "Tallyfold day history 1\n2026-01-01 1x 0 0 0\n",
             "Tallyfold day history 1\n2026-01-01  1 0 0 0\n",
             "Tallyfold day history 1\n2026-01-01 2147483648 0 0 0\n",
             "Tallyfold day history 1\n2026-01-02 1 0 0 0\n2026-01-01 1 0 0 0\n",
             "Tallyfold day history 1\n2026-01-01 1 0 0 0\n2026-01-01 1 0 0 0\n",
         }) {
        EXPECT_FALSE(DayHistory::FromText(bad).has_value()) << bad;
    }
}

}  // namespace
}  // namespace tallyfold
