#include "text/folding.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "text/utf8.h"

namespace tallyfold::unicode {
namespace {

bool Matches(std::string_view text, std::string_view query) {
    return FoldForSearch(text).find(FoldForSearch(query)) != std::string::npos;
}

// What learners look for in every script finds the card, whatever its case and accents.
TEST(FoldForSearch, CaseAndAccentsDoNotCountInAnyScript) {
    EXPECT_EQ(FoldForSearch("\xC3\x84pfel"), "apfel");  // Äpfel
    EXPECT_EQ(FoldForSearch("A\xCC\x88pfel"), "apfel") << "the same, decomposed";
    EXPECT_EQ(FoldForSearch("STRA\xC3\x9F"
                            "E"),
              "strasse");  // STRAßE
    EXPECT_EQ(FoldForSearch("\xC5\x81\xC3\x93"
                            "D\xC5\xB9"),
              "lodz");  // ŁÓDŹ
    EXPECT_EQ(FoldForSearch("\xC3\x98"
                            "stfold"),
              "ostfold");  // Østfold
    EXPECT_EQ(FoldForSearch("\xC4\x90"
                            "akovo"),
              "dakovo");  // Đakovo
    EXPECT_EQ(FoldForSearch("I\xC5\x9EIK"),
              FoldForSearch("\xC4\xB1\xC5\x9F\xC4\xB1k"));  // IŞIK ~ ışık
    EXPECT_TRUE(
        Matches("\xD0\x81\xD0\xBB\xD0\xBA\xD0\xB0", "\xD0\xB5\xD0\xBB\xD0\xBA"))  // Ёлка ~ елк
        << "Cyrillic";
    EXPECT_TRUE(Matches("\xCE\x9F\xCE\x94\xCE\x8C\xCE\xA3",
                        "\xCE\xBF\xCE\xB4\xCE\xBF\xCF\x82"))  // ΟΔΌΣ ~ οδος
        << "Greek, with tonos and final sigma";
    EXPECT_TRUE(Matches("\xC3\x9E\xC3\xB3r", "\xC3\xBE\x6F\x72"));     // Þór ~ þor
    EXPECT_TRUE(Matches("\xE4\xB8\xAD\xE6\x96\x87", "\xE6\x96\x87"));  // 中文 ~ 文
}

// A wrong word never folds into a right one: letters of other scripts stay themselves, and so
// do the vowel signs of Indic scripts, which make other words.
// A search asks whether a text's fold holds the query's, folding a card's text on the stack and
// a longer one into the scratch: both say what the fold and a plain search say.
TEST(FoldedHolds, SaysWhatTheFoldSays) {
    const std::vector<std::string> texts = {"Apfelbaum",
                                            "APFEL",
                                            "",
                                            "a",
                                            "Stra\xC3\x9F"
                                            "e",
                                            "\xC3\x84pfel",
                                            "\xD0\x9A\xD0\xBD\xD0\xB8\xD0\xB3\xD0\xB0",
                                            "x1 Zebra",
                                            "\xE6\x9C\xAC",
                                            std::string(300, 'A') + "pfelbaum"};
    const std::vector<std::string> queries = {"",
                                              "a",
                                              "apf",
                                              "APF",
                                              "strasse",
                                              "\xC3\xA4",
                                              "\xD0\xBA\xD0\xBD\xD0\xB8\xD0\xB3",
                                              "1 z",
                                              "bra",
                                              "braa",
                                              "\xE6\x9C\xAC",
                                              "pfelbaumx"};
    std::string scratch;
    for (const std::string& text : texts) {
        for (const std::string& query : queries) {
            const std::string folded = FoldForSearch(query);
            EXPECT_EQ(FoldedHolds(text, folded, scratch),
                      FoldForSearch(text).find(folded) != std::string::npos)
                << text << " / " << query;
        }
    }
}

// Every character's fold fits the room a fold is written into, and the letters of two, three
// and four bytes decode as the UTF-8 decoder has them, in a row and after a byte of no UTF-8.
TEST(FoldForSearch, EveryCharacterFoldsWithinItsRoomAndAsItsCodePoint) {
    for (char32_t code = 1; code <= 0x10FFFF; ++code) {
        if (code >= 0xD800 && code <= 0xDFFF) {
            continue;
        }
        std::string text;
        AppendUtf8(text, code);
        const std::string fold = FoldForSearch(text);
        ASSERT_LE(fold.size(), kFoldGrowth * text.size()) << static_cast<unsigned>(code);
        ASSERT_EQ(FoldForSearch("x" + text + text + "\xC3"), "x" + fold + fold + "\xEF\xBF\xBD")
            << static_cast<unsigned>(code);
    }
}

// Bytes that are no UTF-8 fold to U+FFFD each, as the decoder reads them: a lead byte without
// its continuation, an overlong form, a surrogate; a long text folds as a short one.
TEST(FoldForSearch, BytesOfNoUtf8AndLongTextsFoldAsTheDecoderReadsThem) {
    const std::string replacement = "\xEF\xBF\xBD";
    EXPECT_EQ(FoldForSearch("a\xC3"), "a" + replacement);
    EXPECT_EQ(FoldForSearch("\xC3Z"), replacement + "z");
    EXPECT_EQ(FoldForSearch("\xC0\x80"), replacement + replacement);
    EXPECT_EQ(FoldForSearch("\xE0\x80\x80"), replacement + replacement + replacement);
    EXPECT_EQ(FoldForSearch("\xED\xA0\x80"), replacement + replacement + replacement);
    EXPECT_EQ(FoldForSearch("\xE4\xB8"), replacement + replacement);
    std::string longText;
    std::string longFold;
    for (int i = 0; i < 400; ++i) {
        longText += "\xC3\x84\xEA\xB0\x80";       // Ä 가
        longFold += "a\xE1\x84\x80\xE1\x85\xA1";  // a and the two letters of 가
    }
    EXPECT_EQ(FoldForSearch(longText), longFold);
}

// Case alone, and accents alone, each keeping the other; the marks that make another word stay.
TEST(FoldCaseAndRemoveAccents, EachOverlooksItsOwnAndKeepsTheOther) {
    EXPECT_EQ(FoldCase("\xC3\x89"
                       "COLE"),
              "e\xCC\x81"
              "cole");  // ÉCOLE: é, decomposed
    EXPECT_EQ(FoldCase("STRA\xC3\x9F"
                       "E"),
              "strasse");
    EXPECT_EQ(FoldCase("\xD0\x94\xD0\x9E\xD0\x9C"), "\xD0\xB4\xD0\xBE\xD0\xBC");  // ДОМ
    EXPECT_EQ(RemoveAccents("\xC3\x89"
                            "cole"),
              "Ecole");
    EXPECT_EQ(RemoveAccents("\xC5\x81\xC3\xB3"
                            "d\xC5\xBA"),
              "Lodz");  // Łódź
    EXPECT_EQ(RemoveAccents("Stra\xC3\x9F"
                            "e"),
              "Strasse");
    EXPECT_EQ(RemoveAccents("\xE3\x81\x8C"), "\xE3\x81\x8B\xE3\x82\x99")  // が
        << "the voicing mark makes another word";
    EXPECT_EQ(RemoveAccents("\xE0\xA4\x95\xE0\xA5\x81"), "\xE0\xA4\x95\xE0\xA5\x81")  // कु
        << "so does a vowel sign";
}

TEST(FoldForSearch, OtherWordsStayOther) {
    EXPECT_FALSE(Matches("\xD0\xB4\xD0\xBE\xD0\xBC", "\xD0\xB4\xD1\x8B\xD0\xBC"));  // дом / дым
    EXPECT_FALSE(Matches("\xE4\xB8\xAD", "\xE6\x96\x87"));                          // 中 / 文
    EXPECT_FALSE(Matches("\xE0\xA4\x95\xE0\xA4\xBF", "\xE0\xA4\x95\xE0\xA5\x80"));  // कि / की
    EXPECT_FALSE(Matches("Haus", "Maus"));
}

// Every mapping of Unicode's full case folding folds alike on both sides, and folding twice
// changes nothing.
TEST(FoldForSearch, AgreesWithUnicodesCaseFolding) {
    const std::string path = std::string(TALLYFOLD_UNICODE_DATA) + "/CaseFolding.txt";
    std::ifstream file(path);
    ASSERT_TRUE(file) << "cannot read " << path;
    int mappings = 0;
    for (std::string line; std::getline(file, line);) {
        line = line.substr(0, line.find('#'));
        std::istringstream fields(line);
        std::string code;
        std::string status;
        std::string mapping;
        if (!std::getline(fields, code, ';') || !std::getline(fields, status, ';') ||
            !std::getline(fields, mapping, ';') || (status != " C" && status != " F")) {
            continue;
        }
        std::string from;
        AppendUtf8(from, static_cast<char32_t>(std::stoul(code, nullptr, 16)));
        std::string to;
        std::istringstream parts(mapping);
        for (std::string part; parts >> part;) {
            AppendUtf8(to, static_cast<char32_t>(std::stoul(part, nullptr, 16)));
        }
        EXPECT_EQ(FoldForSearch(from), FoldForSearch(to)) << line;
        EXPECT_EQ(FoldForSearch(FoldForSearch(from)), FoldForSearch(from)) << line;
        ++mappings;
    }
    EXPECT_GE(mappings, 1500);
}

}  // namespace
}  // namespace tallyfold::unicode
