#include "dialogs/statistics_charts.h"

#include <algorithm>
#include <cstdint>

#include "resources/resource_ids.h"
#include "resources/string_table.h"

namespace tallyfold {

using platform::PictureAlign;
using platform::PictureColour;
using platform::PictureLine;
using platform::PictureRectangle;
using platform::PictureText;
using platform::Rect;

namespace {

// A line of the window's font, and the room left at the bottom for a control's frame.
constexpr int kTextHeight = 16;
constexpr int kFrame = 3;

// `part` of `room` as `count` is of `whole`, without overflow; 0 for a whole of 0.
int Share(std::int64_t count, std::int64_t whole, int room) {
    if (whole <= 0 || count <= 0) {
        return 0;
    }
    return static_cast<int>(std::min<std::int64_t>(count, whole) * room / whole);
}

PictureText Text(Rect rect, std::string text, PictureAlign align,
                 PictureColour colour = PictureColour::Text) {
    PictureText shape;
    shape.rect = rect;
    shape.text = std::move(text);
    shape.align = align;
    shape.colour = colour;
    return shape;
}

// Monday 0 to Sunday 6; 1970-01-01 was a Thursday.
int Weekday(DayNumber day) {
    return static_cast<int>(((day % 7) + 7 + 3) % 7);
}

}  // namespace

int CalendarShade(std::int64_t answers) {
    return answers <= 0 ? 0 : answers < 10 ? 1 : answers < 25 ? 2 : answers < 50 ? 3 : 4;
}

Chart BoxChart(const BoxStatistics& statistics, int width, int height) {
    Chart chart;
    chart.picture.width = width;
    chart.picture.height = height;
    const int slots = std::max(static_cast<int>(statistics.partitions.size()), 1);
    const int slot = std::max(width / slots, 1);
    const int barWidth = std::max(slot * 3 / 5, 2);
    const int top = kTextHeight + 2;
    const int bottom = std::max(height - kTextHeight - kFrame, top + 1);
    const int room = bottom - top;
    std::int64_t unlimited = 1;
    for (const PartitionFill& fill : statistics.partitions) {
        if (fill.capacity == 0) {
            unlimited = std::max<std::int64_t>(unlimited, fill.cards);
        }
    }
    const int last = slots - 1;
    std::string spoken;
    for (int place = 0; place < slots; ++place) {
        const PartitionFill& fill = statistics.partitions[static_cast<std::size_t>(place)];
        const int x = place * slot + (slot - barWidth) / 2;
        const bool inputStack = place == last;
        int filled = 0;
        PictureColour colour = PictureColour::Accent;
        std::string number = std::to_string(fill.cards);
        if (fill.capacity > 0) {
            chart.picture.shapes.emplace_back(
                PictureRectangle{{x, top, barWidth, room}, PictureColour::Line, 100, true});
            filled = fill.Over() ? room : Share(fill.cards, fill.capacity, room);
            colour = fill.Over() ? PictureColour::Over : PictureColour::Accent;
            number += "/" + std::to_string(fill.capacity);
        } else {
            filled = Share(fill.cards, unlimited, room);
            colour = inputStack ? PictureColour::Accent : PictureColour::Known;
        }
        if (filled > 0) {
            chart.picture.shapes.emplace_back(
                PictureRectangle{{x, bottom - filled, barWidth, filled}, colour});
        }
        chart.picture.shapes.emplace_back(
            Text({place * slot, 0, slot, kTextHeight}, number, PictureAlign::Center,
                 fill.Over() ? PictureColour::Over : PictureColour::Text));
        const std::string name = inputStack ? std::string(StringResource(ids::kStrInputStackShort))
                                            : std::to_string(fill.number);
        chart.picture.shapes.emplace_back(
            Text({place * slot, bottom, slot, kTextHeight}, name, PictureAlign::Center));
        const std::string cards = std::to_string(fill.cards);
        spoken += spoken.empty() ? "" : "; ";
        if (fill.capacity > 0) {
            spoken += FormatTexts(
                StringResource(fill.Over() ? ids::kStrStatsPartitionOver : ids::kStrStatsPartition),
                {name, cards, std::to_string(fill.capacity)});
        } else if (inputStack) {
            spoken += name + ": " + cards;
        } else {
            spoken += FormatTexts(StringResource(ids::kStrStatsUnlimited), {name, cards});
        }
    }
    chart.picture.shapes.emplace_back(PictureLine{0, bottom, width - 1, bottom});
    chart.spoken = FormatTexts(StringResource(ids::kStrStatsBoxName), {spoken});
    return chart;
}

Chart DaysChart(const std::vector<DayCounts>& days, int width, int height) {
    Chart chart;
    chart.picture.width = width;
    chart.picture.height = height;
    const int count = std::max(static_cast<int>(days.size()), 1);
    const int top = kTextHeight;
    const int bottom = std::max(height - kTextHeight - kFrame, top + 1);
    const int room = bottom - top;
    std::int64_t most = 1;
    std::int64_t known = 0;
    std::int64_t unknown = 0;
    for (const DayCounts& day : days) {
        most = std::max<std::int64_t>(most, day.Verdicts());
        known += day.known;
        unknown += day.unknown;
    }
    for (int place = 0; place < static_cast<int>(days.size()); ++place) {
        const DayCounts& day = days[static_cast<std::size_t>(place)];
        const int x = place * width / count;
        const int barWidth = std::max((place + 1) * width / count - x - 1, 1);
        const int knownHeight = Share(day.known, most, room);
        const int unknownHeight = Share(day.unknown, most, room);
        if (knownHeight > 0) {
            chart.picture.shapes.emplace_back(PictureRectangle{
                {x, bottom - knownHeight, barWidth, knownHeight}, PictureColour::Known});
        }
        if (unknownHeight > 0) {
            chart.picture.shapes.emplace_back(
                PictureRectangle{{x, bottom - knownHeight - unknownHeight, barWidth, unknownHeight},
                                 PictureColour::Unknown});
        }
    }
    chart.picture.shapes.emplace_back(PictureLine{0, bottom, width - 1, bottom});
    chart.picture.shapes.emplace_back(
        Text({2, 0, width / 2, kTextHeight}, std::to_string(most), PictureAlign::Start));
    chart.picture.shapes.emplace_back(Text({2, bottom, width / 2, kTextHeight},
                                           std::string(StringResource(ids::kStrStatsDaysAgo)),
                                           PictureAlign::Start));
    chart.picture.shapes.emplace_back(Text({width / 2, bottom, width / 2 - 2, kTextHeight},
                                           std::string(StringResource(ids::kStrStatsToday)),
                                           PictureAlign::End));
    const DayCounts today = days.empty() ? DayCounts{} : days.back();
    chart.spoken = FormatTexts(StringResource(ids::kStrStatsDaysName),
                               {std::to_string(known), std::to_string(unknown),
                                std::to_string(today.known), std::to_string(today.unknown)});
    return chart;
}

DayNumber FirstDayOfYearTo(DayNumber today) {
    return today - 364;
}

Chart CalendarChart(const DayHistory& days, DayNumber today, int width, int height) {
    Chart chart;
    chart.picture.width = width;
    chart.picture.height = height;
    const DayNumber first = FirstDayOfYearTo(today);
    const DayNumber weekStart = first - Weekday(first);
    const int columns = (today - weekStart) / 7 + 1;
    const int cell =
        std::max(std::min((width - 2) / columns, (height - kTextHeight - kFrame - 2) / 7), 2);
    static constexpr int kStrength[] = {25, 35, 55, 75, 100};
    for (DayNumber day = first; day <= today; ++day) {
        const int column = (day - weekStart) / 7;
        const int row = Weekday(day);
        const int shade = CalendarShade(days.On(day).Verdicts());
        chart.picture.shapes.emplace_back(
            PictureRectangle{{1 + column * cell, 1 + row * cell, cell - 1, cell - 1},
                             shade == 0 ? PictureColour::Line : PictureColour::Accent,
                             kStrength[shade]});
    }
    // Under the grid: where it begins and where it ends.
    const int labels = std::min(1 + 7 * cell + 1, height - kTextHeight);
    const int gridWidth = 1 + columns * cell;
    chart.picture.shapes.emplace_back(Text({1, labels, gridWidth / 2, kTextHeight},
                                           std::string(StringResource(ids::kStrStatsYearAgo)),
                                           PictureAlign::Start));
    chart.picture.shapes.emplace_back(
        Text({gridWidth / 2, labels, gridWidth - gridWidth / 2, kTextHeight},
             std::string(StringResource(ids::kStrStatsToday)), PictureAlign::End));
    chart.spoken =
        FormatTexts(StringResource(ids::kStrStatsCalendarName),
                    {CountOf(days.DaysWithVerdicts(first, today), ids::kStrOneDay, ids::kStrDays)});
    return chart;
}

}  // namespace tallyfold
