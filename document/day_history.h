#pragma once

// What the learner did on each day with a box: the verdicts given, the new cards that entered
// partition 1 and the cards that reached the last partition.

#include <cstdint>
#include <ctime>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace tallyfold {

/// A day of the calendar: the days since 1970-01-01.
using DayNumber = std::int32_t;

struct CalendarDate {
    int year = 1970;
    int month = 1;  ///< 1 to 12
    int day = 1;    ///< 1 to 31
    friend bool operator==(const CalendarDate&, const CalendarDate&) = default;
};

/// The day of a date, and the date of a day (the proleptic Gregorian calendar).
DayNumber DayOf(const CalendarDate& date);
CalendarDate DateOf(DayNumber day);
/// Whether the history's file can hold `day` (the years 1 to 9999).
bool IsWritableDay(DayNumber day);
/// The day `seconds` falls on by the local clock; nothing for a time the clock cannot show.
std::optional<DayNumber> LocalDayOf(std::time_t seconds);

/// What was counted on a day, or what a step of the history added to it.
struct DayCounts {
    std::int32_t known = 0;
    std::int32_t unknown = 0;
    /// New cards (never answered) that entered partition 1 from the input stack.
    std::int32_t entered = 0;
    /// Cards that reached the last partition.
    std::int32_t learnt = 0;

    std::int64_t Verdicts() const { return std::int64_t{known} + unknown; }
    bool Empty() const { return known == 0 && unknown == 0 && entered == 0 && learnt == 0; }
    DayCounts& operator+=(const DayCounts& other);
    DayCounts& operator-=(const DayCounts& other);
    friend bool operator==(const DayCounts&, const DayCounts&) = default;
};

/// Counts that belong to one day.
struct DayTally {
    DayNumber day = 0;
    DayCounts counts;
    friend bool operator==(const DayTally&, const DayTally&) = default;
};

/// The days of a box on which anything was counted, with their counts.
///
/// Days are kept by their date, whatever the order they were counted in: a clock set back
/// counts into the earlier day, beside what is there, and changes no other day.
class DayHistory {
  public:
    void Add(const DayTally& tally);
    /// Takes back what `Add` added (an undone verdict); a day left with nothing goes.
    void Subtract(const DayTally& tally);
    void Clear() { days_.clear(); }
    bool Empty() const { return days_.empty(); }

    const std::map<DayNumber, DayCounts>& Days() const { return days_; }
    DayCounts On(DayNumber day) const;

    /// Days with verdicts in a row up to `today`: counted from today when there are verdicts
    /// today, else from yesterday (a streak stays alive until a day passes without one).
    int CurrentStreak(DayNumber today) const;
    /// The most days with verdicts in a row there ever were.
    int LongestStreak() const;
    /// How many days from `first` to `last` (both counted) had verdicts.
    int DaysWithVerdicts(DayNumber first, DayNumber last) const;

    /// The history as its file holds it: a first line that names the format, then one line
    /// per day, "2026-12-11 25 5 10 1" (date, known, not known, entered, learnt), in date order.
    std::string Text() const;
    /// Reads `Text`'s form; nothing for a text that is not one (a line out of form, a date
    /// that is none or twice, a count out of range).
    static std::optional<DayHistory> FromText(std::string_view text);

    friend bool operator==(const DayHistory&, const DayHistory&) = default;

  private:
    std::map<DayNumber, DayCounts> days_;
};

}  // namespace tallyfold
