#pragma once

#include <cstdint>
#include <string_view>

namespace tallyfold {

/// Longest text a card side can hold; the record keeps one more byte for the terminating zero.
inline constexpr int kMaxCardText = 63;

/// One flash card: a plain value record, copied as a whole wherever it is stored.
///
/// Texts are Windows-1252 bytes, zero-terminated, compared exactly (byte by byte, unsigned).
/// The partition of a card is not stored here: it is the ring that holds the card.
struct tVokabel {
    char question[kMaxCardText + 1] = {};
    char answer[kMaxCardText + 1] = {};
    std::int32_t knownCount = 0;
    std::int32_t unknownCount = 0;

    /// Empties both texts; the counters are left as they are.
    void Clear();
    /// Copies both texts, each cut at its first zero byte and at 63 bytes; counters untouched.
    void SetTexts(std::string_view newQuestion, std::string_view newAnswer);

    std::string_view Question() const { return question; }
    std::string_view Answer() const { return answer; }

    /// True when the questions are equal or the answers are equal.
    bool SameQuestionOrAnswer(const tVokabel& other) const;
    /// True when the questions are equal and the answers are equal.
    bool SameCard(const tVokabel& other) const;
};

/// Copies `text` into a card text field, cut at its first zero byte and at 63 bytes.
void CopyCardText(char (&field)[kMaxCardText + 1], std::string_view text);

}  // namespace tallyfold
