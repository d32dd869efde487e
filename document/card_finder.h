#pragma once

// The cards of a box as the Cards window lists them: every card, filtered by a search and a
// partition, in the box's order or sorted by a column.

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "box/card_box.h"

namespace tallyfold {

/// The columns of the list of cards.
enum class CardColumn { Question, Answer, Partition, Known, Unknown };
inline constexpr int kCardColumns = 5;

/// Every card of a box as a line: first in the box's order (partition 1 from its head, ...,
/// partition 7, then the input stack), filtered and sorted as asked. It holds the cards'
/// addresses, which stay valid while the box keeps the cards (see `tCardBox`); after any
/// change of the box it must `Reload`.
class CardFinder {
  public:
    explicit CardFinder(const tCardBox& box);

    /// Reads the box's cards again, keeping the search, the partition and the sort.
    void Reload();
    /// Shows the cards whose question or answer holds `query`: ignoring case and accents in
    /// every script (`unicode::FoldForSearch`), or byte for byte when `strict`. An empty query
    /// holds every card.
    void SetQuery(std::string_view query, bool strict);
    /// Shows the cards of partition `number` (1 to 7, 8 for the input stack), or all for 0.
    void SetPartition(int number);
    /// Sorts by `column`, ascending or descending; cards that compare equal keep the box's
    /// order. Texts sort as the search compares them (case and accents second), then by bytes.
    void SortBy(CardColumn column, bool descending);
    /// Back to the box's order.
    void Unsort();
    /// The sort asked last, if any.
    bool Sorted() const { return sorted_; }
    CardColumn SortColumn() const { return sortColumn_; }
    bool Descending() const { return descending_; }

    /// Lines shown, and cards in the box.
    int Shown() const { return static_cast<int>(shown_.size()); }
    int Total() const { return static_cast<int>(cards_.size()); }
    const tVokabel& CardAt(int line) const { return *EntryAt(line).card; }
    /// The partition (1 to 7, 8 for the input stack) of the card on `line`, and its place
    /// there, counted from the partition's head.
    int PartitionAt(int line) const { return EntryAt(line).partition; }
    int PlaceAt(int line) const { return EntryAt(line).place; }
    /// The text of a cell as the list shows it.
    std::string Cell(int line, CardColumn column) const;
    /// The lines that show any of `cards`, ascending.
    std::vector<int> LinesOf(std::span<const tVokabel* const> cards) const;

  private:
    struct Entry {
        const tVokabel* card;
        int partition;
        int place;
    };

    const Entry& EntryAt(int line) const { return cards_[shown_[static_cast<std::size_t>(line)]]; }
    bool Matches(const Entry& entry, std::string& scratch) const;
    /// Shows those of `places` whose cards match the search and the partition, in their order.
    void Show(std::span<const std::size_t> places);
    void Filter();

    const tCardBox* box_;
    std::vector<Entry> cards_;
    // The places in `cards_` in the order asked, and those of them that are shown.
    std::vector<std::size_t> ordered_;
    std::vector<std::size_t> shown_;
    // What each part of a search found, kept for the next one.
    std::vector<std::vector<std::size_t>> found_;
    std::string query_;
    bool strict_ = false;
    int partition_ = 0;
    bool sorted_ = false;
    CardColumn sortColumn_ = CardColumn::Question;
    bool descending_ = false;
};

}  // namespace tallyfold
