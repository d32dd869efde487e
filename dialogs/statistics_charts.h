#pragma once

// The pictures of the Statistics window, made of shapes for the window layer to draw, each with
// the words a screen reader says for it.

#include <string>
#include <vector>

#include "document/box_statistics.h"
#include "document/day_history.h"
#include "platform/picture.h"

namespace tallyfold {

struct Chart {
    platform::Picture picture;
    /// The chart's numbers in words.
    std::string spoken;
};

/// One bar for each partition and the input stack: a partition's frame is its room, filled as
/// far as its cards fill it (overfull: full, in the colour for over); the last partition and the
/// input stack, which have no limit, are filled by their cards against the larger of them. The
/// numbers stand over the bars, the partitions' names under them.
Chart BoxChart(const BoxStatistics& statistics, int width, int height);

/// The answers of each of `days` (the oldest first), known and not known stacked.
Chart DaysChart(const std::vector<DayCounts>& days, int width, int height);

/// The first day of the last year up to `today`: the calendar shows 365 days.
DayNumber FirstDayOfYearTo(DayNumber today);

/// The last year up to `today`, a column for each week and a row for each weekday (Monday at the
/// top), each day shaded by its answers: none, 1 to 9, 10 to 24, 25 to 49, 50 or more.
Chart CalendarChart(const DayHistory& days, DayNumber today, int width, int height);

/// The shade (0 to 4) of a day with `answers` in the calendar.
int CalendarShade(std::int64_t answers);

}  // namespace tallyfold
