#include "platform/line_selection.h"

#include <algorithm>

namespace tallyfold::platform {

namespace {

// The first range whose last line is at or after `line`.
template <typename Ranges>
auto RangeAtOrAfter(Ranges& ranges, int line) {
    return std::lower_bound(
        ranges.begin(), ranges.end(), line,
        [](const std::pair<int, int>& range, int value) { return range.second < value; });
}

}  // namespace

void LineSelection::Add(int first, int last) {
    if (first > last) {
        std::swap(first, last);
    }
    // Every range that overlaps or touches [first, last] merges into it.
    auto from = RangeAtOrAfter(ranges_, first == 0 ? 0 : first - 1);
    auto to = from;
    while (to != ranges_.end() && to->first <= last + 1) {
        first = std::min(first, to->first);
        last = std::max(last, to->second);
        ++to;
    }
    from = ranges_.erase(from, to);
    ranges_.insert(from, {first, last});
}

void LineSelection::Toggle(int line) {
    auto range = RangeAtOrAfter(ranges_, line);
    if (range == ranges_.end() || range->first > line) {
        Add(line, line);
        return;
    }
    const auto [first, last] = *range;
    range = ranges_.erase(range);
    if (line < last) {
        range = ranges_.insert(range, {line + 1, last});
    }
    if (first < line) {
        ranges_.insert(range, {first, line - 1});
    }
}

bool LineSelection::Contains(int line) const {
    const auto range = RangeAtOrAfter(ranges_, line);
    return range != ranges_.end() && range->first <= line;
}

std::vector<int> LineSelection::Lines() const {
    std::size_t count = 0;
    for (const auto& [first, last] : ranges_) {
        count += static_cast<std::size_t>(last - first) + 1;
    }
    std::vector<int> lines;
    lines.reserve(count);
    for (const auto& [first, last] : ranges_) {
        for (int line = first; line <= last; ++line) {
            lines.push_back(line);
        }
    }
    return lines;
}

}  // namespace tallyfold::platform
