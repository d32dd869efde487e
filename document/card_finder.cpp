#include "document/card_finder.h"

#include <algorithm>
#include <functional>
#include <numeric>
#include <thread>
#include <unordered_set>

#include "resources/resource_ids.h"
#include "resources/string_table.h"
#include "text/folding.h"

namespace tallyfold {

CardFinder::CardFinder(const tCardBox& box) : box_(&box) {
    Reload();
}

void CardFinder::Reload() {
    cards_.clear();
    cards_.reserve(static_cast<std::size_t>(box_->TotalCards()));
    int partition = 0;
    int place = 0;
    box_->ForEachCard([this, &partition, &place](const tVokabel& card, int number) {
        place = number == partition ? place + 1 : 0;
        partition = number;
        cards_.push_back({&card, number, place});
        return true;
    });
    if (sorted_) {
        SortBy(sortColumn_, descending_);
    } else {
        Unsort();
    }
}

void CardFinder::SetQuery(std::string_view query, bool strict) {
    std::string next = strict ? std::string(query) : unicode::FoldForSearch(query);
    // A query that holds the last one (the learner typed on) can only match cards the last one
    // matched: only those shown are searched again.
    const bool narrower = strict == strict_ && next.find(query_) != std::string::npos;
    strict_ = strict;
    query_ = std::move(next);
    if (narrower) {
        Show(shown_);
    } else {
        Filter();
    }
}

void CardFinder::SetPartition(int number) {
    partition_ = number;
    Filter();
}

void CardFinder::Unsort() {
    sorted_ = false;
    ordered_.resize(cards_.size());
    std::iota(ordered_.begin(), ordered_.end(), std::size_t{0});
    Filter();
}

void CardFinder::SortBy(CardColumn column, bool descending) {
    sorted_ = true;
    sortColumn_ = column;
    descending_ = descending;
    ordered_.resize(cards_.size());
    std::iota(ordered_.begin(), ordered_.end(), std::size_t{0});
    // Equal keys keep the box's order in both directions: the sort is stable over the box's
    // order, and descending compares the other way round rather than reversing.
    const auto by = [descending](const auto& key) {
        return [descending, &key](std::size_t a, std::size_t b) {
            return descending ? key(b) < key(a) : key(a) < key(b);
        };
    };
    if (column == CardColumn::Question || column == CardColumn::Answer) {
        // The folded texts once, not at every comparison.
        std::vector<std::pair<std::string, std::string_view>> keys;
        keys.reserve(cards_.size());
        for (const Entry& entry : cards_) {
            const std::string_view text =
                column == CardColumn::Question ? entry.card->Question() : entry.card->Answer();
            keys.emplace_back(unicode::FoldForSearch(text), text);
        }
        const auto key = [&keys](std::size_t place) -> const auto& {
            return keys[place];
        };
        std::stable_sort(ordered_.begin(), ordered_.end(), by(key));
    } else {
        const auto key = [this, column](std::size_t place) {
            const Entry& entry = cards_[place];
            return column == CardColumn::Partition ? entry.partition
                   : column == CardColumn::Known   ? entry.card->knownCount
                                                   : entry.card->unknownCount;
        };
        std::stable_sort(ordered_.begin(), ordered_.end(), by(key));
    }
    Filter();
}

bool CardFinder::Matches(const Entry& entry, std::string& scratch) const {
    if (partition_ != 0 && entry.partition != partition_) {
        return false;
    }
    if (query_.empty()) {
        return true;
    }
    const std::string_view question = entry.card->Question();
    const std::string_view answer = entry.card->Answer();
    if (strict_) {
        return question.find(query_) != std::string_view::npos ||
               answer.find(query_) != std::string_view::npos;
    }
    return unicode::FoldedHolds(question, query_, scratch) ||
           unicode::FoldedHolds(answer, query_, scratch);
}

void CardFinder::Filter() {
    Show(ordered_);
}

// Folding every text of a large box takes longer than a keystroke may: its lines are searched
// in as many parts as the machine has cores, each part on a thread of its own. The folding the
// threads share is made once and never changed. The parts' lists are kept from search to
// search: fresh memory costs more than the search itself.
void CardFinder::Show(std::span<const std::size_t> places) {
    constexpr std::size_t kSmallest = 1 << 15;
    const bool folding = !query_.empty() && !strict_ && places.size() >= kSmallest;
    if (!folding) {
        // One pass, in place when `places` are the lines shown.
        const bool inPlace = places.data() == shown_.data();
        std::string scratch;
        std::size_t kept = 0;
        if (!inPlace) {
            shown_.resize(places.size());
        }
        for (const std::size_t place : places) {
            if (Matches(cards_[place], scratch)) {
                shown_[kept++] = place;
            }
        }
        shown_.resize(kept);
        return;
    }
    const std::size_t parts = std::clamp<std::size_t>(std::thread::hardware_concurrency(), 1, 8);
    found_.resize(std::max(found_.size(), parts));
    const auto search = [this](std::span<const std::size_t> part, std::vector<std::size_t>& out) {
        out.clear();
        std::string scratch;
        for (const std::size_t place : part) {
            if (Matches(cards_[place], scratch)) {
                out.push_back(place);
            }
        }
    };
    const std::size_t length = (places.size() + parts - 1) / parts;
    std::vector<std::thread> helpers;
    for (std::size_t part = 1; part < parts; ++part) {
        const std::size_t begin = std::min(places.size(), part * length);
        helpers.emplace_back(search, places.subspan(begin, std::min(length, places.size() - begin)),
                             std::ref(found_[part]));
    }
    search(places.first(std::min(length, places.size())), found_.front());
    for (std::thread& helper : helpers) {
        helper.join();
    }
    // `places` may be the lines shown: all of it is read by now.
    shown_.clear();
    for (std::size_t part = 0; part < parts; ++part) {
        shown_.insert(shown_.end(), found_[part].begin(), found_[part].end());
    }
}

std::string CardFinder::Cell(int line, CardColumn column) const {
    const Entry& entry = EntryAt(line);
    switch (column) {
        case CardColumn::Question:
            return std::string(entry.card->Question());
        case CardColumn::Answer:
            return std::string(entry.card->Answer());
        case CardColumn::Partition:
            return entry.partition == tCardBox::kInputStack
                       ? std::string(StringResource(ids::kStrInputStackShort))
                       : std::to_string(entry.partition);
        case CardColumn::Known:
            return std::to_string(entry.card->knownCount);
        case CardColumn::Unknown:
            return std::to_string(entry.card->unknownCount);
    }
    return {};
}

std::vector<int> CardFinder::LinesOf(std::span<const tVokabel* const> cards) const {
    const std::unordered_set<const tVokabel*> wanted(cards.begin(), cards.end());
    std::vector<int> lines;
    for (int line = 0; line < Shown(); ++line) {
        if (wanted.count(EntryAt(line).card) != 0) {
            lines.push_back(line);
        }
    }
    return lines;
}

}  // namespace tallyfold
