#include "document/day_history.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <limits>
#include <vector>

#include "table/local_time.h"

namespace tallyfold {

namespace {

constexpr std::string_view kHeader = "Tallyfold day history 1";

bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// A whole unsigned decimal number of at most `digits` digits, all of `text`.
std::optional<std::int32_t> NumberOf(std::string_view text, std::size_t digits) {
    if (text.empty() || text.size() > digits) {
        return std::nullopt;
    }
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < 0 ||
        value > std::numeric_limits<std::int32_t>::max()) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(value);
}

std::optional<CalendarDate> DateOfText(std::string_view text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') {
        return std::nullopt;
    }
    const std::optional<std::int32_t> year = NumberOf(text.substr(0, 4), 4);
    const std::optional<std::int32_t> month = NumberOf(text.substr(5, 2), 2);
    const std::optional<std::int32_t> day = NumberOf(text.substr(8, 2), 2);
    if (!year || !month || !day || *year < 1 || *month < 1 || *month > 12 || *day < 1 ||
        *day > DaysInMonth(*year, *month)) {
        return std::nullopt;
    }
    return CalendarDate{*year, *month, *day};
}

// The fields of a line, split at single blanks.
std::vector<std::string_view> FieldsOf(std::string_view line) {
    std::vector<std::string_view> fields;
    while (true) {
        const std::size_t blank = line.find(' ');
        fields.push_back(line.substr(0, blank));
        if (blank == std::string_view::npos) {
            return fields;
        }
        line.remove_prefix(blank + 1);
    }
}

}  // namespace

DayNumber DayOf(const CalendarDate& date) {
    // Days from civil, after Howard Hinnant's chrono algorithms: years begin in March, so that
    // the leap day is the last of its year.
    const int year = date.month <= 2 ? date.year - 1 : date.year;
    const int era = (year >= 0 ? year : year - 399) / 400;
    const int yearOfEra = year - era * 400;
    const int dayOfYear = (153 * (date.month + (date.month > 2 ? -3 : 9)) + 2) / 5 + date.day - 1;
    const int dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

CalendarDate DateOf(DayNumber day) {
    const int shifted = day + 719468;
    const int era = (shifted >= 0 ? shifted : shifted - 146096) / 146097;
    const int dayOfEra = shifted - era * 146097;
    const int yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const int dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const int monthIndex = (5 * dayOfYear + 2) / 153;
    CalendarDate date;
    date.day = dayOfYear - (153 * monthIndex + 2) / 5 + 1;
    date.month = monthIndex < 10 ? monthIndex + 3 : monthIndex - 9;
    date.year = yearOfEra + era * 400 + (date.month <= 2 ? 1 : 0);
    return date;
}

bool IsWritableDay(DayNumber day) {
    return day >= DayOf({1, 1, 1}) && day <= DayOf({9999, 12, 31});
}

std::optional<DayNumber> LocalDayOf(std::time_t seconds) {
    const std::optional<std::tm> local = LocalTime(seconds);
    if (!local) {
        return std::nullopt;
    }
    return DayOf({local->tm_year + 1900, local->tm_mon + 1, local->tm_mday});
}

namespace {

// A sum that stops at the largest count a file holds, whatever a journal claims.
std::int32_t Sum(std::int32_t a, std::int32_t b) {
    const std::int64_t sum = static_cast<std::int64_t>(a) + b;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        sum, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

}  // namespace

DayCounts& DayCounts::operator+=(const DayCounts& other) {
    known = Sum(known, other.known);
    unknown = Sum(unknown, other.unknown);
    entered = Sum(entered, other.entered);
    learnt = Sum(learnt, other.learnt);
    return *this;
}

DayCounts& DayCounts::operator-=(const DayCounts& other) {
    known = Sum(known, -other.known);
    unknown = Sum(unknown, -other.unknown);
    entered = Sum(entered, -other.entered);
    learnt = Sum(learnt, -other.learnt);
    return *this;
}

void DayHistory::Add(const DayTally& tally) {
    if (!tally.counts.Empty()) {
        days_[tally.day] += tally.counts;
    }
}

void DayHistory::Subtract(const DayTally& tally) {
    const auto found = days_.find(tally.day);
    if (found == days_.end()) {
        return;
    }
    found->second -= tally.counts;
    // What was added is what is taken back; a count below 0 could only come from a history
    // that changed in between (a file replaced), and stops at 0.
    DayCounts& counts = found->second;
    for (std::int32_t* count : {&counts.known, &counts.unknown, &counts.entered, &counts.learnt}) {
        *count = std::max(*count, 0);
    }
    if (counts.Empty()) {
        days_.erase(found);
    }
}

DayCounts DayHistory::On(DayNumber day) const {
    const auto found = days_.find(day);
    return found != days_.end() ? found->second : DayCounts{};
}

int DayHistory::CurrentStreak(DayNumber today) const {
    DayNumber day = On(today).Verdicts() > 0 ? today : today - 1;
    int streak = 0;
    while (On(day).Verdicts() > 0) {
        ++streak;
        --day;
    }
    return streak;
}

int DayHistory::LongestStreak() const {
    int longest = 0;
    int streak = 0;
    DayNumber previous = 0;
    for (const auto& [day, counts] : days_) {
        if (counts.Verdicts() == 0) {
            streak = 0;
            continue;
        }
        streak = streak > 0 && day == previous + 1 ? streak + 1 : 1;
        previous = day;
        longest = std::max(longest, streak);
    }
    return longest;
}

int DayHistory::DaysWithVerdicts(DayNumber first, DayNumber last) const {
    int count = 0;
    for (auto day = days_.lower_bound(first); day != days_.end() && day->first <= last; ++day) {
        count += day->second.Verdicts() > 0 ? 1 : 0;
    }
    return count;
}

std::string DayHistory::Text() const {
    std::string text(kHeader);
    text += '\n';
    for (const auto& [day, counts] : days_) {
        const CalendarDate date = DateOf(day);
        char line[96];
        const int length =
            std::snprintf(line, sizeof line, "%04d-%02d-%02d %d %d %d %d\n", date.year, date.month,
                          date.day, counts.known, counts.unknown, counts.entered, counts.learnt);
        text.append(line, static_cast<std::size_t>(std::max(length, 0)));
    }
    return text;
}

std::optional<DayHistory> DayHistory::FromText(std::string_view text) {
    std::size_t lineStart = 0;
    bool first = true;
    DayHistory history;
    std::optional<DayNumber> last;
    while (lineStart < text.size()) {
        std::size_t lineEnd = text.find('\n', lineStart);
        if (lineEnd == std::string_view::npos) {
            lineEnd = text.size();
        }
        std::string_view line = text.substr(lineStart, lineEnd - lineStart);
        lineStart = lineEnd + 1;
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        if (first) {
            if (line != kHeader) {
                return std::nullopt;
            }
            first = false;
            continue;
        }
        if (line.empty()) {
            continue;
        }
        const std::vector<std::string_view> fields = FieldsOf(line);
        if (fields.size() != 5) {
            return std::nullopt;
        }
        const std::optional<CalendarDate> date = DateOfText(fields[0]);
        std::optional<std::int32_t> counts[4];
        for (std::size_t field = 0; field < 4; ++field) {
            counts[field] = NumberOf(fields[field + 1], 10);
        }
        if (!date || !counts[0] || !counts[1] || !counts[2] || !counts[3]) {
            return std::nullopt;
        }
        const DayNumber day = DayOf(*date);
        // The days are written in order, each once: any other order is no file of ours.
        if (last && day <= *last) {
            return std::nullopt;
        }
        last = day;
        history.Add({day, {*counts[0], *counts[1], *counts[2], *counts[3]}});
    }
    if (first) {
        return std::nullopt;
    }
    return history;
}

}  // namespace tallyfold
