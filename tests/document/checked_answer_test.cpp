#include "document/checked_answer.h"

#include <gtest/gtest.h>

namespace tallyfold {
namespace {

TEST(VerdictText, NamesWhatWasForgiven) {
    EXPECT_EQ(VerdictText(CompareAnswer("house", "house", {})), "Right");
    EXPECT_EQ(VerdictText(CompareAnswer("hous", "house", {})), "Not right");
    EXPECT_EQ(VerdictText(CompareAnswer("House", "house", {.capitals = true})),
              "Right, but for the capital letters");
    EXPECT_EQ(VerdictText(CompareAnswer("Ecole",
                                        "\xC3\xA9"
                                        "cole",
                                        {.capitals = true, .accents = true})),
              "Right, but for the capital letters and the accents");
    EXPECT_EQ(VerdictText(CompareAnswer("ECOLE",
                                        "\xC3\xA9"
                                        "cole!",
                                        {.capitals = true, .accents = true, .punctuation = true})),
              "Right, but for the capital letters, the accents and the punctuation");
    EXPECT_EQ(VerdictText(CompareAnswer("home", "house, home", {.alternatives = true})),
              "Right (one of the answers)");
    EXPECT_EQ(VerdictText(
                  CompareAnswer("hello", "house; Hello", {.capitals = true, .alternatives = true})),
              "Right, but for the capital letters (one of the answers)");
    EXPECT_EQ(VerdictText(CompareAnswer("hello", "house; Hello!",
                                        {.capitals = true, .alternatives = true})),
              "Not right")
        << "the punctuation is not overlooked";
}

// A screen reader hears what the marks show: what was typed, what was expected, and how many
// letters were wrong, missing or too many.
TEST(SpokenComparison, SaysWhatTheMarksShow) {
    EXPECT_EQ(SpokenComparison(CompareAnswer("hous", "house", {})),
              "typed: hous, expected: house, 1 letter missing");
    EXPECT_EQ(SpokenComparison(CompareAnswer("hoese  ", "house", {})),
              "typed: hoese, expected: house, 1 letter wrong");
    EXPECT_EQ(SpokenComparison(CompareAnswer("hxousexx", "house", {})),
              "typed: hxousexx, expected: house, 3 letters too many");
    EXPECT_EQ(SpokenComparison(CompareAnswer("", "ab", {})),
              "typed: , expected: ab, 2 letters missing");
    EXPECT_EQ(SpokenComparison(CompareAnswer("House", "house", {.capitals = true})),
              "typed: House, expected: house, Right, but for the capital letters");
}

}  // namespace
}  // namespace tallyfold
