#include "text/answer_comparison.h"

#include <algorithm>
#include <cstddef>

#include "text/folding.h"
#include "text/graphemes.h"
#include "text/normalization.h"
#include "text/unicode_tables.h"
#include "text/utf8.h"

namespace tallyfold {

namespace {

bool IsSpace(char32_t code) {
    return unicode::RangeHolding(unicode::SpaceRanges(), code) != nullptr;
}

// A character is punctuation when the code point it starts with is: marks on a full stop are
// rare, and a letter never starts with one.
bool IsPunctuation(std::string_view grapheme) {
    std::size_t at = 0;
    return unicode::RangeHolding(unicode::PunctuationRanges(), unicode::DecodeNext(grapheme, at)) !=
           nullptr;
}

std::string WithoutPunctuation(std::string_view prepared) {
    std::string kept;
    for (const std::string_view grapheme : unicode::SplitGraphemes(prepared)) {
        if (!IsPunctuation(grapheme)) {
            kept += grapheme;
        }
    }
    // "Hello , world" without its comma has two spaces in a row.
    return PreparedAnswer(kept);
}

// What a text is compared as when case and accents count as `tolerances` say.
std::string KeyOf(std::string_view text, const AnswerTolerances& tolerances) {
    // Not the search's fold: that leaves out every mark, and an answer keeps those that make
    // another word.
    if (tolerances.capitals && tolerances.accents) {
        return unicode::RemoveAccents(unicode::FoldCase(text));
    }
    if (tolerances.capitals) {
        return unicode::FoldCase(text);
    }
    if (tolerances.accents) {
        return unicode::RemoveAccents(text);
    }
    return std::string(text);
}

// What a prepared text is compared as, alternatives aside: two texts are the same answer under
// `tolerances` when their keys are equal. Whole texts are compared, not character by character:
// "ß" and "ss" are one character and two.
std::string AnswerKey(std::string_view prepared, const AnswerTolerances& tolerances) {
    return tolerances.punctuation ? KeyOf(WithoutPunctuation(prepared), tolerances)
                                  : KeyOf(prepared, tolerances);
}

struct Alignment {
    int cost = 0;
    std::vector<MarkedCharacter> marks;
};

// The fewest characters wrong, extra and missing that turn `typed` into `expected` (an edit
// distance over grapheme clusters, punctuation free of cost when it is overlooked), and the
// characters marked along one such way. Both texts hold at most a card's 63 characters, or as
// many as the edit field takes.
Alignment Align(std::string_view typed, std::string_view expected,
                const AnswerTolerances& tolerances) {
    const std::vector<std::string_view> have = unicode::SplitGraphemes(typed);
    const std::vector<std::string_view> want = unicode::SplitGraphemes(expected);
    const std::size_t rows = have.size() + 1;
    const std::size_t columns = want.size() + 1;
    std::vector<std::string> haveKeys;
    std::vector<std::string> wantKeys;
    for (const std::string_view grapheme : have) {
        haveKeys.push_back(KeyOf(grapheme, tolerances));
    }
    for (const std::string_view grapheme : want) {
        wantKeys.push_back(KeyOf(grapheme, tolerances));
    }
    const auto freeOf = [&tolerances](std::string_view grapheme) {
        return tolerances.punctuation && IsPunctuation(grapheme);
    };
    const auto extraCost = [&](std::size_t i) { return freeOf(have[i]) ? 0 : 1; };
    const auto missingCost = [&](std::size_t j) { return freeOf(want[j]) ? 0 : 1; };
    const auto swapCost = [&](std::size_t i, std::size_t j) {
        return haveKeys[i] == wantKeys[j] ? 0 : 1;
    };
    // The cost of the rest: from each pair of places to the ends of both texts.
    std::vector<int> cost(rows * columns, 0);
    const auto rest = [&cost, columns](std::size_t i, std::size_t j) -> int& {
        return cost[i * columns + j];
    };
    const std::size_t haveEnd = have.size();
    const std::size_t wantEnd = want.size();
    for (std::size_t i = haveEnd; i-- > 0;) {
        rest(i, wantEnd) = rest(i + 1, wantEnd) + extraCost(i);
    }
    for (std::size_t j = wantEnd; j-- > 0;) {
        rest(haveEnd, j) = rest(haveEnd, j + 1) + missingCost(j);
    }
    for (std::size_t i = haveEnd; i-- > 0;) {
        for (std::size_t j = wantEnd; j-- > 0;) {
            rest(i, j) = std::min({rest(i + 1, j + 1) + swapCost(i, j),
                                   rest(i + 1, j) + extraCost(i), rest(i, j + 1) + missingCost(j)});
        }
    }
    // Forward from the start, a character typed in place of one expected first: a slip reads
    // as that letter wrong rather than one extra and one missing, and of two letters alike
    // the second is the one too many.
    Alignment alignment;
    alignment.cost = rest(0, 0);
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < haveEnd || j < wantEnd) {
        if (i < haveEnd && j < wantEnd && rest(i, j) == rest(i + 1, j + 1) + swapCost(i, j)) {
            const CharacterMark mark = swapCost(i, j) != 0  ? CharacterMark::Wrong
                                       : have[i] == want[j] ? CharacterMark::Right
                                                            : CharacterMark::Forgiven;
            alignment.marks.push_back({std::string(have[i]), mark});
            ++i;
            ++j;
        } else if (i < haveEnd && rest(i, j) == rest(i + 1, j) + extraCost(i)) {
            alignment.marks.push_back({std::string(have[i]), extraCost(i) != 0
                                                                 ? CharacterMark::Extra
                                                                 : CharacterMark::Forgiven});
            ++i;
        } else {
            // Punctuation overlooked and not typed is not shown: nothing was asked for there.
            if (missingCost(j) != 0) {
                alignment.marks.push_back({std::string(want[j]), CharacterMark::Missing});
            }
            ++j;
        }
    }
    return alignment;
}

}  // namespace

std::string PreparedAnswer(std::string_view text) {
    const std::string nfc = unicode::ToNfc(text);
    std::string prepared;
    bool space = false;
    for (std::size_t at = 0; at < nfc.size();) {
        const std::size_t start = at;
        if (IsSpace(unicode::DecodeNext(nfc, at))) {
            space = !prepared.empty();
            continue;
        }
        if (space) {
            prepared += ' ';
            space = false;
        }
        prepared.append(nfc, start, at - start);
    }
    return prepared;
}

std::vector<std::string> AlternativesOf(std::string_view expected) {
    const std::string whole = PreparedAnswer(expected);
    std::vector<std::string> alternatives;
    std::size_t start = 0;
    for (std::size_t at = 0; at + 1 < whole.size(); ++at) {
        if ((whole[at] == ',' || whole[at] == ';') && whole[at + 1] == ' ') {
            alternatives.push_back(
                PreparedAnswer(std::string_view(whole).substr(start, at - start)));
            start = at + 2;
        }
    }
    alternatives.push_back(PreparedAnswer(std::string_view(whole).substr(start)));
    std::erase_if(alternatives, [](const std::string& alternative) { return alternative.empty(); });
    return alternatives;
}

AnswerComparison CompareAnswer(std::string_view typed, std::string_view expected,
                               const AnswerTolerances& tolerances) {
    AnswerComparison comparison;
    comparison.typed = PreparedAnswer(typed);
    // The whole text first: an answer that holds ", " may be meant as one.
    std::vector<std::string> candidates = {PreparedAnswer(expected)};
    if (tolerances.alternatives) {
        for (std::string& alternative : AlternativesOf(expected)) {
            if (std::find(candidates.begin(), candidates.end(), alternative) == candidates.end()) {
                candidates.push_back(std::move(alternative));
            }
        }
    }
    const std::string typedKey = AnswerKey(comparison.typed, tolerances);
    std::size_t chosen = candidates.size();
    for (std::size_t candidate = 0; candidate < candidates.size(); ++candidate) {
        if (AnswerKey(candidates[candidate], tolerances) == typedKey) {
            chosen = candidate;
            break;
        }
    }
    comparison.right = chosen < candidates.size();
    Alignment alignment;
    if (comparison.right) {
        alignment = Align(comparison.typed, candidates[chosen], tolerances);
    } else {
        // The nearest answer shows what went wrong; the whole text where two are as near.
        for (std::size_t candidate = 0; candidate < candidates.size(); ++candidate) {
            Alignment next = Align(comparison.typed, candidates[candidate], tolerances);
            if (candidate == 0 || next.cost < alignment.cost) {
                alignment = std::move(next);
                chosen = candidate;
            }
        }
    }
    comparison.expected = candidates[chosen];
    comparison.marks = std::move(alignment.marks);
    if (comparison.right) {
        // A right answer may still align "ss" with "ß" as a letter wrong and one extra: the
        // whole texts are the same answer, so every difference was overlooked.
        for (MarkedCharacter& character : comparison.marks) {
            if (character.mark != CharacterMark::Right) {
                character.mark = CharacterMark::Forgiven;
            }
        }
        // A tolerance was needed when the answer is not right without it.
        const auto neededWithout = [&](bool AnswerTolerances::*tolerance) {
            AnswerTolerances stricter = tolerances;
            stricter.*tolerance = false;
            return tolerances.*tolerance && AnswerKey(comparison.typed, stricter) !=
                                                AnswerKey(comparison.expected, stricter);
        };
        comparison.forgiven.capitals = neededWithout(&AnswerTolerances::capitals);
        comparison.forgiven.accents = neededWithout(&AnswerTolerances::accents);
        comparison.forgiven.punctuation = neededWithout(&AnswerTolerances::punctuation);
        comparison.forgiven.alternative = chosen != 0;
        return comparison;
    }
    for (const MarkedCharacter& character : comparison.marks) {
        comparison.wrong += character.mark == CharacterMark::Wrong ? 1 : 0;
        comparison.extra += character.mark == CharacterMark::Extra ? 1 : 0;
        comparison.missing += character.mark == CharacterMark::Missing ? 1 : 0;
    }
    return comparison;
}

}  // namespace tallyfold
