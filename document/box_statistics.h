#pragma once

// What the Statistics window shows of a box: how full each partition is, the totals, and the
// cards most often not known.

#include <cstdint>
#include <optional>
#include <vector>

#include "box/card_box.h"
#include "document/day_history.h"

namespace tallyfold {

/// A partition (1 to 7) or the input stack (8) against its room.
struct PartitionFill {
    int number = 0;
    int cards = 0;
    /// What the partition has room for; 0 for no limit (the last partition, the input stack).
    std::int32_t capacity = 0;
    bool Over() const { return capacity > 0 && cards > capacity; }
};

struct BoxTotals {
    std::int64_t cards = 0;
    /// In the input stack.
    std::int64_t waiting = 0;
    /// In the last partition.
    std::int64_t learnt = 0;
    /// The cards' known and not known counts, added up.
    std::int64_t known = 0;
    std::int64_t unknown = 0;
    /// The share of answers that were right, in whole percent; nothing before any answer.
    std::optional<int> PercentRight() const;
};

/// A card often not known, and where it lies.
struct HardCard {
    const tVokabel* card = nullptr;
    int partition = 0;
};

struct BoxStatistics {
    /// Partitions 1 to 7, then the input stack.
    std::vector<PartitionFill> partitions;
    BoxTotals totals;
    /// The cards not known most often, the most first; of two as often, the one not known in
    /// the greater share of its answers first, then in the box's order. Cards never unknown are
    /// none of them.
    std::vector<HardCard> hardest;
};

/// The statistics of `box`, with at most `hardest` hardest cards; one pass over the cards.
BoxStatistics StatisticsOf(const tCardBox& box, std::size_t hardest = 20);

/// The counts of the `count` days up to `today`, the oldest first.
std::vector<DayCounts> LastDays(const DayHistory& days, DayNumber today, int count);

}  // namespace tallyfold
