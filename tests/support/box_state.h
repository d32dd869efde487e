#pragma once

// Everything about a box that undo, redo and a restored journal must give back: each card's
// place, texts and counters, ring by ring, and the current partition.

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "box/card_box.h"

namespace tallyfold::testing {

struct StoredCard {
    int ring = 0;
    std::string question;
    std::string answer;
    std::int32_t known = 0;
    std::int32_t unknown = 0;
    /// Where the card lies in memory; compared only when a test asks for it.
    const tVokabel* address = nullptr;
    friend bool operator==(const StoredCard& a, const StoredCard& b) {
        return a.ring == b.ring && a.question == b.question && a.answer == b.answer &&
               a.known == b.known && a.unknown == b.unknown;
    }
};

struct BoxState {
    std::vector<StoredCard> cards;
    int current = 0;
    friend bool operator==(const BoxState&, const BoxState&) = default;
    /// Equal, and every card at the same address too.
    bool SameCardsAs(const BoxState& other) const {
        if (!(*this == other)) {
            return false;
        }
        for (std::size_t i = 0; i < cards.size(); ++i) {
            if (cards[i].address != other.cards[i].address) {
                return false;
            }
        }
        return true;
    }
    friend void PrintTo(const BoxState& state, std::ostream* out) {
        *out << state.cards.size() << " cards, current " << state.current << ":";
        for (std::size_t i = 0; i < state.cards.size() && i < 12; ++i) {
            const StoredCard& card = state.cards[i];
            *out << " [" << card.ring << " " << card.question << " " << card.known << "/"
                 << card.unknown << "]";
        }
    }
};

inline BoxState StateOf(const tCardBox& box) {
    BoxState state;
    state.current = box.CurrentPartition();
    box.ForEachCard([&state](const tVokabel& card, int ring) {
        state.cards.push_back({ring, std::string(card.Question()), std::string(card.Answer()),
                               card.knownCount, card.unknownCount, &card});
        return true;
    });
    return state;
}

}  // namespace tallyfold::testing
