#include "text/answer_comparison.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tallyfold {
namespace {

AnswerTolerances All() {
    return {.capitals = true, .accents = true, .punctuation = true, .alternatives = true};
}

// Every combination of the four tolerances.
std::vector<AnswerTolerances> EveryTolerance() {
    std::vector<AnswerTolerances> every;
    for (int bits = 0; bits < 16; ++bits) {
        every.push_back({.capitals = (bits & 1) != 0,
                         .accents = (bits & 2) != 0,
                         .punctuation = (bits & 4) != 0,
                         .alternatives = (bits & 8) != 0});
    }
    return every;
}

// The marks written out: a right character as it is, "~x" forgiven, "[x]" wrong, "+x" extra,
// "-x" missing.
std::string Marked(const AnswerComparison& comparison) {
    std::string out;
    for (const MarkedCharacter& character : comparison.marks) {
        switch (character.mark) {
            case CharacterMark::Right:
                out += character.text;
                break;
            case CharacterMark::Forgiven:
                out += "~" + character.text;
                break;
            case CharacterMark::Wrong:
                out += "[" + character.text + "]";
                break;
            case CharacterMark::Extra:
                out += "+" + character.text;
                break;
            case CharacterMark::Missing:
                out += "-" + character.text;
                break;
        }
    }
    return out;
}

TEST(PreparedAnswer, IsNfcWithSpacesTrimmedAndCollapsed) {
    EXPECT_EQ(PreparedAnswer("  the   house "), "the house");
    EXPECT_EQ(PreparedAnswer("\xE3\x80\x80\xE5\xAE\xB6\xC2\xA0\xC2\xA0x"), "\xE5\xAE\xB6 x")
        << "an ideographic space and no-break spaces are spaces";
    EXPECT_EQ(PreparedAnswer("Cafe\xCC\x81"), "Caf\xC3\xA9") << "a letter and its mark compose";
    EXPECT_EQ(PreparedAnswer("   "), "");
}

TEST(AlternativesOf, SplitsAtCommaOrSemicolonAndABlank) {
    EXPECT_EQ(AlternativesOf("house, home;  building"),
              (std::vector<std::string>{"house", "home", "building"}));
    EXPECT_EQ(AlternativesOf("1,5"), (std::vector<std::string>{"1,5"}))
        << "a comma without a blank is part of the answer";
    EXPECT_EQ(AlternativesOf("a, , b"), (std::vector<std::string>{"a", "b"}));
}

TEST(CompareAnswer, ExactlyWithNoTolerance) {
    const AnswerComparison same = CompareAnswer("  house ", "house", {});
    EXPECT_TRUE(same.right);
    EXPECT_FALSE(same.forgiven.Any());
    EXPECT_EQ(Marked(same), "house");
    EXPECT_FALSE(CompareAnswer("House", "house", {}).right);
    EXPECT_FALSE(CompareAnswer("hause", "h\xC3\xA4user", {}).right);
    EXPECT_FALSE(CompareAnswer("house.", "house", {}).right);
    EXPECT_FALSE(CompareAnswer("house", "house, home", {}).right);
    EXPECT_TRUE(CompareAnswer("Caf\xC3\xA9", "Cafe\xCC\x81", {}).right) << "NFC on both sides";
}

// Each tolerance overlooks its own slip and no other, names it, and all of them together
// overlook all.
TEST(CompareAnswer, EachToleranceAloneAndTogether) {
    const AnswerTolerances capitals{.capitals = true};
    const AnswerTolerances accents{.accents = true};
    const AnswerTolerances punctuation{.punctuation = true};
    const AnswerTolerances alternatives{.alternatives = true};

    const AnswerComparison capital = CompareAnswer("House", "house", capitals);
    EXPECT_TRUE(capital.right);
    EXPECT_EQ(capital.forgiven, (ForgivenSlips{.capitals = true}));
    EXPECT_EQ(Marked(capital), "~House");
    EXPECT_FALSE(CompareAnswer("House", "house", accents).right);

    const AnswerComparison accent = CompareAnswer("Hauser", "H\xC3\xA4user", accents);
    EXPECT_TRUE(accent.right);
    EXPECT_EQ(accent.forgiven, (ForgivenSlips{.accents = true}));
    EXPECT_EQ(Marked(accent), "H~auser");
    EXPECT_FALSE(CompareAnswer("Hauser", "H\xC3\xA4user", capitals).right);
    EXPECT_TRUE(CompareAnswer("Lodz",
                              "\xC5\x81\xC3\xB3"
                              "d\xC5\xBA",
                              accents)
                    .right)  // Łódź
        << "a letter with a stroke is a plain letter";
    EXPECT_TRUE(CompareAnswer("Strasse",
                              "Stra\xC3\x9F"
                              "e",
                              accents)
                    .right);
    EXPECT_FALSE(CompareAnswer("lodz",
                               "\xC5\x81\xC3\xB3"
                               "d\xC5\xBA",
                               accents)
                     .right)
        << "accents alone keep the capital";

    const AnswerComparison stop = CompareAnswer("Hello world", "Hello, world!", punctuation);
    EXPECT_TRUE(stop.right);
    EXPECT_EQ(stop.forgiven, (ForgivenSlips{.punctuation = true}));
    EXPECT_EQ(Marked(stop), "Hello world") << "punctuation not typed is not asked for";
    EXPECT_EQ(Marked(CompareAnswer("don't", "dont", punctuation)), "don~'t");
    EXPECT_FALSE(CompareAnswer("Hello world", "Hello, world!", capitals).right);

    const AnswerComparison second = CompareAnswer("home", "house, home; building", alternatives);
    EXPECT_TRUE(second.right);
    EXPECT_EQ(second.expected, "home");
    EXPECT_EQ(second.forgiven, (ForgivenSlips{.alternative = true}));
    EXPECT_TRUE(
        CompareAnswer("house, home; building", "house, home; building", alternatives).right);
    EXPECT_FALSE(CompareAnswer("hom", "house, home", alternatives).right);

    const AnswerComparison all = CompareAnswer("  ECOLE  ",
                                               "\xC3\xA9"
                                               "cole!; school",
                                               All());
    EXPECT_TRUE(all.right);
    EXPECT_EQ(all.forgiven,
              (ForgivenSlips{
                  .capitals = true, .accents = true, .punctuation = true, .alternative = true}));
    EXPECT_TRUE(CompareAnswer("\xC3\x89"
                              "cole",
                              "ecole", All())
                    .forgiven.capitals)
        << "É for e takes both: neither alone would do";
}

// The difference is marked character by character, as a person counts them: a letter left out,
// one too many, one typed for another.
TEST(CompareAnswer, MarksOmissionsInsertionsAndSubstitutions) {
    const AnswerComparison omitted = CompareAnswer("hous", "house", {});
    EXPECT_FALSE(omitted.right);
    EXPECT_EQ(Marked(omitted), "hous-e");
    EXPECT_EQ(omitted.missing, 1);
    EXPECT_EQ(omitted.wrong + omitted.extra, 0);

    const AnswerComparison inserted = CompareAnswer("houuse", "house", {});
    EXPECT_EQ(Marked(inserted), "hou+use");
    EXPECT_EQ(inserted.extra, 1);

    const AnswerComparison swapped = CompareAnswer("hoese", "house", {});
    EXPECT_EQ(Marked(swapped), "ho[e]se");
    EXPECT_EQ(swapped.wrong, 1);

    // A letter with a combining mark, a flag and a hand of a skin tone are one character each.
    EXPECT_EQ(Marked(CompareAnswer("cafe\xCC\x81x", "cafe", {})), "caf[\xC3\xA9]+x");
    EXPECT_EQ(Marked(CompareAnswer("\xF0\x9F\x87\xA9\xF0\x9F\x87\xAA",
                                   "\xF0\x9F\x87\xAB\xF0\x9F"
                                   "\x87\xB7",
                                   {})),
              "[\xF0\x9F\x87\xA9\xF0\x9F\x87\xAA]");
    EXPECT_EQ(Marked(CompareAnswer("", "ab", {})), "-a-b");
    EXPECT_EQ(CompareAnswer("", "ab", {}).missing, 2);
}

// In other scripts a tolerance overlooks marks and case and never a letter: a wrong word is
// wrong under every tolerance there is.
TEST(CompareAnswer, OtherScriptsRightOnlyWhenRight) {
    struct Case {
        std::string expected;
        std::string right;  // right under some tolerance
        std::string wrong;  // another word
    };
    const std::vector<Case> cases = {
        // Cyrillic: Дом / дом / дым
        {"\xD0\x94\xD0\xBE\xD0\xBC", "\xD0\xB4\xD0\xBE\xD0\xBC", "\xD0\xB4\xD1\x8B\xD0\xBC"},
        // Greek: Οδός / οδος / οδοί
        {"\xCE\x9F\xCE\xB4\xCF\x8C\xCF\x82", "\xCE\xBF\xCE\xB4\xCE\xBF\xCF\x82",
         "\xCE\xBF\xCE\xB4\xCE\xBF\xCE\xAF"},
        // Arabic: كَتَبَ written with its vowel marks / كتب / كلب
        {"\xD9\x83\xD9\x8E\xD8\xAA\xD9\x8E\xD8\xA8\xD9\x8E", "\xD9\x83\xD8\xAA\xD8\xA8",
         "\xD9\x83\xD9\x84\xD8\xA8"},
        // Chinese: 中文。 / 中文 / 中国
        {"\xE4\xB8\xAD\xE6\x96\x87\xE3\x80\x82", "\xE4\xB8\xAD\xE6\x96\x87",
         "\xE4\xB8\xAD\xE5\x9B\xBD"},
        // Japanese: がっこう / がっこう・ / かっこう (the voiced mark makes another word)
        {"\xE3\x81\x8C\xE3\x81\xA3\xE3\x81\x93\xE3\x81\x86",
         "\xE3\x81\x8C\xE3\x81\xA3\xE3\x81\x93\xE3\x81\x86\xE3\x83\xBB",
         "\xE3\x81\x8B\xE3\x81\xA3\xE3\x81\x93\xE3\x81\x86"},
        // Hindi: कुल। / कुल / कल (without its vowel sign)
        {"\xE0\xA4\x95\xE0\xA5\x81\xE0\xA4\xB2\xE0\xA5\xA4", "\xE0\xA4\x95\xE0\xA5\x81\xE0\xA4\xB2",
         "\xE0\xA4\x95\xE0\xA4\xB2"},
    };
    for (const Case& each : cases) {
        EXPECT_TRUE(CompareAnswer(each.right, each.expected, All()).right) << each.right;
        EXPECT_TRUE(CompareAnswer(each.expected, each.expected, {}).right) << each.expected;
        for (const AnswerTolerances& tolerances : EveryTolerance()) {
            const AnswerComparison wrong = CompareAnswer(each.wrong, each.expected, tolerances);
            EXPECT_FALSE(wrong.right) << each.wrong;
            EXPECT_GT(wrong.wrong + wrong.extra + wrong.missing, 0) << each.wrong;
        }
    }
}

}  // namespace
}  // namespace tallyfold
