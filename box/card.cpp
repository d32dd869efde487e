#include "box/card.h"

namespace tallyfold {

void tVokabel::Clear() {
    question = CardText();
    answer = CardText();
}

void tVokabel::SetTexts(std::string_view newQuestion, std::string_view newAnswer) {
    question = CardText(newQuestion);
    answer = CardText(newAnswer);
}

// std::string_view compares through char_traits<char>, which compares as unsigned char.
bool tVokabel::SameQuestionOrAnswer(const tVokabel& other) const {
    return Question() == other.Question() || Answer() == other.Answer();
}

bool tVokabel::SameCard(const tVokabel& other) const {
    return Question() == other.Question() && Answer() == other.Answer();
}

}  // namespace tallyfold
