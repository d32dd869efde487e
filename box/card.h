#pragma once

#include <cstdint>
#include <string_view>

#include "box/card_text.h"

namespace tallyfold {

/// One flash card: a plain value record, copied as a whole wherever it is stored.
///
/// Texts are compared exactly (byte by byte, unsigned). The partition of a card is not stored here:
/// it is the ring that holds the card.
struct tVokabel {
    CardText question;
    CardText answer;
    std::int32_t knownCount = 0;
    std::int32_t unknownCount = 0;

    /// Empties both texts; the counters are left as they are.
    void Clear();
    /// Sets both texts from UTF-8 (see `CardText`); counters untouched.
    void SetTexts(std::string_view newQuestion, std::string_view newAnswer);

    std::string_view Question() const { return question.View(); }
    std::string_view Answer() const { return answer.View(); }

    /// True when the questions are equal or the answers are equal.
    bool SameQuestionOrAnswer(const tVokabel& other) const;
    /// True when the questions are equal and the answers are equal.
    bool SameCard(const tVokabel& other) const;
};

}  // namespace tallyfold
