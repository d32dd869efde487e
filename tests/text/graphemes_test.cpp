#include "text/graphemes.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "text/utf8.h"

namespace tallyfold::unicode {
namespace {

// Every case of Unicode's own test of grapheme cluster boundaries: each line lists code points
// with "÷" (a boundary) or "×" (none) between them. The breaker must find exactly those.
TEST(GraphemeBreaker, PassesUnicodesConformanceTest) {
    const std::string path =
        std::string(TALLYFOLD_UNICODE_DATA) + "/auxiliary/GraphemeBreakTest.txt";
    std::ifstream file(path);
    ASSERT_TRUE(file) << "cannot read " << path << " (Debian's unicode-data)";
    int cases = 0;
    for (std::string line; std::getline(file, line);) {
        line = line.substr(0, line.find('#'));
        std::istringstream words(line);
        std::vector<char32_t> codes;
        std::vector<bool> breaks;  // before each code point, and at the end
        for (std::string word; words >> word;) {
            if (word == "\xC3\xB7") {  // ÷
                breaks.push_back(true);
            } else if (word == "\xC3\x97") {  // ×
                breaks.push_back(false);
            } else {
                codes.push_back(static_cast<char32_t>(std::stoul(word, nullptr, 16)));
            }
        }
        if (codes.empty()) {
            continue;
        }
        ASSERT_EQ(breaks.size(), codes.size() + 1) << line;
        ++cases;
        GraphemeBreaker breaker;
        std::string text;
        std::size_t expected = 0;
        for (std::size_t i = 0; i < codes.size(); ++i) {
            EXPECT_EQ(breaker.BreakBefore(codes[i]), breaks[i]) << line << " before #" << i;
            expected += breaks[i] ? 1U : 0U;
            AppendUtf8(text, codes[i]);
        }
        EXPECT_EQ(CountGraphemes(text), expected) << line;
    }
    EXPECT_GE(cases, 602) << "the whole file was read (602 cases in Unicode 15.0)";
}

TEST(Graphemes, CharactersAsAPersonCountsThem) {
    EXPECT_EQ(CountGraphemes(""), 0u);
    EXPECT_EQ(CountGraphemes("Haus"), 4u);
    EXPECT_EQ(CountGraphemes("\xC3\xA9"), 1u);                          // é, one code point
    EXPECT_EQ(CountGraphemes("e\xCC\x81"), 1u);                         // e and a combining acute
    EXPECT_EQ(CountGraphemes("\xD1\x91\xD0\xB6"), 2u);                  // ёж
    EXPECT_EQ(CountGraphemes("\xE4\xB8\xAD\xE6\x96\x87"), 2u);          // 中文
    EXPECT_EQ(CountGraphemes("\xF0\x9F\x91\x8D\xF0\x9F\x8F\xBD"), 1u);  // 👍🏽
    EXPECT_EQ(CountGraphemes("\xF0\x9F\x87\xA9\xF0\x9F\x87\xAA\xF0\x9F\x87\xAB"), 2u)
        << "a flag and half of one";
    EXPECT_EQ(CountGraphemes("\xE0\xA4\xB9\xE0\xA4\xBF\xE0\xA4\x82"), 1u);  // हिं
    EXPECT_EQ(CountGraphemes("\r\n"), 1u);
    EXPECT_EQ(CountGraphemes("a\xFF"
                             "b"),
              3u)
        << "a byte that is no UTF-8 counts as one";
}

TEST(Graphemes, ATextSplitsIntoItsCharacters) {
    EXPECT_TRUE(SplitGraphemes("").empty());
    EXPECT_EQ(SplitGraphemes("ae\xCC\x81\xF0\x9F\x91\x8D\xF0\x9F\x8F\xBDz\xFF"),
              (std::vector<std::string_view>{"a", "e\xCC\x81", "\xF0\x9F\x91\x8D\xF0\x9F\x8F\xBD",
                                             "z", "\xFF"}))
        << "a é 👍🏽 z, and a byte that is no UTF-8";
}

TEST(Graphemes, ATextIsCutOnlyBetweenCharacters) {
    const std::string text = "ae\xCC\x81\xF0\x9F\x91\x8D\xF0\x9F\x8F\xBDz";  // a é 👍🏽 z
    EXPECT_EQ(BytesOfGraphemes(text, 0), 0u);
    EXPECT_EQ(BytesOfGraphemes(text, 1), 1u);
    EXPECT_EQ(BytesOfGraphemes(text, 2), 4u);
    EXPECT_EQ(BytesOfGraphemes(text, 3), 12u);
    EXPECT_EQ(BytesOfGraphemes(text, 4), text.size());
    EXPECT_EQ(BytesOfGraphemes(text, 99), text.size());
}

}  // namespace
}  // namespace tallyfold::unicode
