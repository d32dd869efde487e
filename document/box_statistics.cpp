#include "document/box_statistics.h"

#include <algorithm>

namespace tallyfold {

namespace {

// Whether `a` is harder than `b`: more often not known, then in a greater share of its
// answers (compared without division), then earlier in the box.
bool Harder(const tVokabel& a, std::int64_t placeA, const tVokabel& b, std::int64_t placeB) {
    if (a.unknownCount != b.unknownCount) {
        return a.unknownCount > b.unknownCount;
    }
    // unknownA / (knownA + unknownA) > unknownB / (knownB + unknownB), with equal unknowns:
    // the one known fewer times.
    if (a.knownCount != b.knownCount) {
        return a.knownCount < b.knownCount;
    }
    return placeA < placeB;
}

}  // namespace

std::optional<int> BoxTotals::PercentRight() const {
    const std::int64_t answers = known + unknown;
    if (answers <= 0) {
        return std::nullopt;
    }
    return static_cast<int>((known * 100 + answers / 2) / answers);
}

BoxStatistics StatisticsOf(const tCardBox& box, std::size_t hardest) {
    BoxStatistics statistics;
    const int last = box.PartitionCount();
    for (int number = 1; number <= last + 1; ++number) {
        const bool limited = number < last;
        statistics.partitions.push_back(
            {number, box.CardsIn(number), limited ? box.Capacity(number) : 0});
    }
    BoxTotals& totals = statistics.totals;
    totals.cards = box.TotalCards();
    totals.waiting = box.CardsIn(last + 1);
    totals.learnt = box.CardsIn(last);

    // The hardest cards so far, the hardest first; a card enters only when it beats the last.
    struct Candidate {
        const tVokabel* card;
        int partition;
        std::int64_t place;
    };
    std::vector<Candidate> kept;
    kept.reserve(hardest + 1);
    std::int64_t place = 0;
    box.ForEachCard([&](const tVokabel& card, int number) {
        totals.known += std::max(card.knownCount, 0);
        totals.unknown += std::max(card.unknownCount, 0);
        const std::int64_t here = place++;
        if (hardest == 0 || card.unknownCount <= 0) {
            return true;
        }
        if (kept.size() == hardest && !Harder(card, here, *kept.back().card, kept.back().place)) {
            return true;
        }
        const auto at = std::find_if(kept.begin(), kept.end(), [&](const Candidate& other) {
            return Harder(card, here, *other.card, other.place);
        });
        kept.insert(at, {&card, number, here});
        if (kept.size() > hardest) {
            kept.pop_back();
        }
        return true;
    });
    for (const Candidate& candidate : kept) {
        statistics.hardest.push_back({candidate.card, candidate.partition});
    }
    return statistics;
}

std::vector<DayCounts> LastDays(const DayHistory& days, DayNumber today, int count) {
    std::vector<DayCounts> last;
    last.reserve(static_cast<std::size_t>(std::max(count, 0)));
    for (DayNumber day = today - count + 1; day <= today; ++day) {
        last.push_back(days.On(day));
    }
    return last;
}

}  // namespace tallyfold
