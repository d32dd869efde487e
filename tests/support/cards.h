#pragma once

// Small builders and views that make card tests read like the state they check.

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "box/card.h"
#include "box/card_box.h"
#include "box/card_ring.h"
#include "table/windows1252.h"

namespace tallyfold::testing {

/// A text written as the Windows-1252 bytes of the classic files, as the UTF-8 a card holds.
inline std::string Ansi(std::string_view windows1252) {
    return Windows1252ToUtf8(windows1252);
}

/// Question and answer of cards, as texts.
using CardTexts = std::vector<std::pair<std::string, std::string>>;

/// Question and answer of every card of a box, in the box's own order.
inline CardTexts TextsOfCards(const tCardBox& box) {
    CardTexts cards;
    box.ForEachCard([&cards](const tVokabel& card, int) {
        cards.emplace_back(card.Question(), card.Answer());
        return true;
    });
    return cards;
}

inline tVokabel Card(std::string_view question, std::string_view answer = "",
                     std::int32_t known = 0, std::int32_t unknown = 0) {
    tVokabel card;
    card.SetTexts(question, answer.empty() ? question : answer);
    card.knownCount = known;
    card.unknownCount = unknown;
    return card;
}

/// The questions of a ring from its head, by a full First/Next walk.
inline std::vector<std::string> Questions(tVokListe& ring) {
    std::vector<std::string> questions;
    for (tVokabel* card = ring.First(); card != nullptr; card = ring.Next()) {
        questions.emplace_back(card->Question());
    }
    return questions;
}

/// The questions of partition `number` of a box, from its head.
inline std::vector<std::string> Questions(tCardBox& box, int number) {
    std::vector<std::string> questions;
    tVokabel copy;
    for (tVokabel* card = box.FirstInPartition(number, copy); card != nullptr;
         card = box.NextInPartition(number, copy)) {
        questions.emplace_back(card->Question());
    }
    return questions;
}

/// Adds cards named prefix1, prefix2, ... to partition `number`.
inline void Fill(tCardBox& box, int number, int count, std::string_view prefix = "c") {
    for (int i = 1; i <= count; ++i) {
        box.AddToPartition(Card(std::string(prefix) + std::to_string(i)), number);
    }
}

/// Card counts of partitions 1 to 7 and the input stack.
inline std::vector<int> Counts(const tCardBox& box) {
    std::vector<int> counts;
    for (int number = 1; number <= tCardBox::kInputStack; ++number) {
        counts.push_back(box.CardsIn(number));
    }
    return counts;
}

}  // namespace tallyfold::testing
