#pragma once

// How a typed answer compares with the one a card expects: the verdict, the slips a tolerance
// forgave, and each character marked, in every script.

#include <string>
#include <string_view>
#include <vector>

namespace tallyfold {

/// What a comparison overlooks; each is off unless the learner turns it on.
struct AnswerTolerances {
    /// "House" for "house".
    bool capitals = false;
    /// Marks on letters in any script, the letters with a stroke ("ł" for "l") and "ss" for "ß"
    /// (`unicode::RemoveAccents`); never a mark that makes another word, such as a vowel sign.
    bool accents = false;
    /// Characters of the general categories P, never a letter of any script.
    bool punctuation = false;
    /// An answer of several, "a, b" or "a; b", is right with any one of them.
    bool alternatives = false;
};

/// How a character (a grapheme cluster, as a person counts them) of the comparison stands.
enum class CharacterMark {
    Right,     ///< typed as expected
    Forgiven,  ///< typed otherwise, or typed where none was expected, but a tolerance overlooks it
    Wrong,     ///< typed in place of the expected one
    Extra,     ///< typed where none was expected
    Missing,   ///< expected and not typed; its text is the expected character
};

struct MarkedCharacter {
    std::string text;
    CharacterMark mark = CharacterMark::Right;
    friend bool operator==(const MarkedCharacter&, const MarkedCharacter&) = default;
};

/// The slips a right answer needed a tolerance for.
struct ForgivenSlips {
    bool capitals = false;
    bool accents = false;
    bool punctuation = false;
    /// Right with one answer of several rather than the whole text.
    bool alternative = false;
    bool Any() const { return capitals || accents || punctuation || alternative; }
    friend bool operator==(const ForgivenSlips&, const ForgivenSlips&) = default;
};

struct AnswerComparison {
    bool right = false;
    ForgivenSlips forgiven;
    /// What was typed and what it was compared with, as compared (`PreparedAnswer`): the whole
    /// expected text, or with alternatives the one typed right or else the nearest.
    std::string typed;
    std::string expected;
    /// The characters typed, marked, with those expected and not typed where they belong.
    std::vector<MarkedCharacter> marks;
    /// How many are marked Wrong, Extra and Missing.
    int wrong = 0;
    int extra = 0;
    int missing = 0;
};

/// `text` as answers are compared: in NFC, without spaces (general category Zs) at either end,
/// each run of spaces inside one blank.
std::string PreparedAnswer(std::string_view text);

/// The answers of an expected text that holds several, split at ", " and "; ", each prepared;
/// empty ones left out.
std::vector<std::string> AlternativesOf(std::string_view expected);

/// Compares `typed` with `expected`, both prepared first. A wrong character of any script never
/// compares equal: the tolerances overlook case, marks and punctuation, never a letter.
AnswerComparison CompareAnswer(std::string_view typed, std::string_view expected,
                               const AnswerTolerances& tolerances);

}  // namespace tallyfold
