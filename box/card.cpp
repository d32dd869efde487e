#include "box/card.h"

#include <algorithm>

namespace tallyfold {

void CopyCardText(char (&field)[kMaxCardText + 1], std::string_view text) {
    const std::size_t end = std::min(text.find('\0'), static_cast<std::size_t>(kMaxCardText));
    const std::size_t length = std::min(end, text.size());
    std::copy_n(text.data(), length, field);
    field[length] = '\0';
}

void tVokabel::Clear() {
    question[0] = '\0';
    answer[0] = '\0';
}

void tVokabel::SetTexts(std::string_view newQuestion, std::string_view newAnswer) {
    CopyCardText(question, newQuestion);
    CopyCardText(answer, newAnswer);
}

// std::string_view compares through char_traits<char>, which compares as unsigned char.
bool tVokabel::SameQuestionOrAnswer(const tVokabel& other) const {
    return Question() == other.Question() || Answer() == other.Answer();
}

bool tVokabel::SameCard(const tVokabel& other) const {
    return Question() == other.Question() && Answer() == other.Answer();
}

}  // namespace tallyfold
