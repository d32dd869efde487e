#include "document/card_finder.h"

#include <algorithm>
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

CardFinder::~CardFinder() {
    Pause();
}

void CardFinder::Pause() {
    stopSummaries_.store(true);
    if (summarizer_.joinable()) {
        summarizer_.join();
    }
}

// Folding every text of a large box takes longer than a keystroke may: a thread sums up each
// card's folded letters while the learner looks and types, and a search folds only the cards
// whose letters may hold the query. It writes the summaries in order and tells how far it got.
void CardFinder::StartSummaries() {
    letters_.resize(cards_.size());
    summarized_.store(0);
    stopSummaries_.store(false);
    summarizer_ = std::thread([this] {
        constexpr std::size_t kBatch = 1024;
        for (std::size_t place = 0; place < cards_.size(); ++place) {
            const tVokabel& card = *cards_[place].card;
            letters_[place] =
                unicode::FoldedLetters(card.Question()) | unicode::FoldedLetters(card.Answer());
            if ((place + 1) % kBatch == 0 || place + 1 == cards_.size()) {
                summarized_.store(place + 1, std::memory_order_release);
                if (stopSummaries_.load(std::memory_order_relaxed)) {
                    return;
                }
            }
        }
    });
}

void CardFinder::Reload() {
    Pause();
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
    StartSummaries();
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
    queryLetters_ = unicode::LettersOfFolded(query_);
    lettersTellAll_ = unicode::LettersTellAll(query_);
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

bool CardFinder::Matches(std::size_t place, std::string& scratch) const {
    const Entry& entry = cards_[place];
    if (partition_ != 0 && entry.partition != partition_) {
        return false;
    }
    if (query_.empty()) {
        return true;
    }
    // A card whose letters lack one of the query's is passed over without reading its texts.
    if (!strict_ && place < summarized_.load(std::memory_order_acquire)) {
        if ((letters_[place] & queryLetters_) != queryLetters_) {
            return false;
        }
        if (lettersTellAll_) {
            return true;
        }
    }
    const std::string_view question = entry.card->Question();
    const std::string_view answer = entry.card->Answer();
    // One letter or digit: the letters tell, and they cost less than the fold.
    if (!strict_ && lettersTellAll_) {
        return ((unicode::FoldedLetters(question) | unicode::FoldedLetters(answer)) &
                queryLetters_) != 0;
    }
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

// Folding every text of a large box for a search takes longer than a keystroke may: its lines
// are searched in as many parts as the machine has cores, each part on a thread of its own. The
// parts' lists are kept from search to search: fresh memory costs more than the search itself.
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
            if (Matches(place, scratch)) {
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
            if (Matches(place, scratch)) {
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
