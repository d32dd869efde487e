#include "text/normalization.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "text/utf8.h"

namespace tallyfold::unicode {
namespace {

std::string Utf8Of(const std::string& codes) {
    std::istringstream words(codes);
    std::string text;
    for (std::string word; words >> word;) {
        AppendUtf8(text, static_cast<char32_t>(std::stoul(word, nullptr, 16)));
    }
    return text;
}

// Every case of Unicode's own normalization test: c2 == NFC(c1) == NFC(c2) == NFC(c3) and
// c4 == NFC(c4) == NFC(c5); and every code point its first part does not list is its own NFC.
TEST(Nfc, PassesUnicodesConformanceTest) {
    std::ifstream file(TALLYFOLD_NORMALIZATION_TEST);
    ASSERT_TRUE(file) << "cannot read " << TALLYFOLD_NORMALIZATION_TEST
                      << " (Debian's unicode-data, unpacked by the build)";
    int cases = 0;
    bool partOne = false;
    std::set<char32_t> listed;
    for (std::string line; std::getline(file, line);) {
        if (line.rfind("@Part", 0) == 0) {
            partOne = line.rfind("@Part1", 0) == 0;
            continue;
        }
        line = line.substr(0, line.find('#'));
        std::vector<std::string> columns;
        std::istringstream fields(line);
        for (std::string field; std::getline(fields, field, ';');) {
            columns.push_back(field);
        }
        if (columns.size() < 5) {
            continue;
        }
        ++cases;
        std::vector<std::string> c;
        for (int i = 0; i < 5; ++i) {
            c.push_back(Utf8Of(columns[static_cast<std::size_t>(i)]));
        }
        EXPECT_EQ(ToNfc(c[0]), c[1]) << line;
        EXPECT_EQ(ToNfc(c[1]), c[1]) << line;
        EXPECT_EQ(ToNfc(c[2]), c[1]) << line;
        EXPECT_EQ(ToNfc(c[3]), c[3]) << line;
        EXPECT_EQ(ToNfc(c[4]), c[3]) << line;
        if (partOne) {
            listed.insert(static_cast<char32_t>(std::stoul(columns[0], nullptr, 16)));
        }
    }
    EXPECT_GE(cases, 19000) << "the whole file was read";
    ASSERT_FALSE(listed.empty());
    int unchanged = 0;
    for (char32_t code = 0; code <= 0x10FFFF; ++code) {
        if ((code >= 0xD800 && code <= 0xDFFF) || listed.contains(code)) {
            continue;
        }
        std::string text;
        AppendUtf8(text, code);
        if (ToNfc(text) != text) {
            ADD_FAILURE() << "U+" << std::hex << static_cast<unsigned>(code) << " changed";
            break;
        }
        ++unchanged;
    }
    EXPECT_GT(unchanged, 1000000);
}

TEST(Nfc, OneCardHoweverItWasTyped) {
    EXPECT_EQ(ToNfc("caf"
                    "e\xCC\x81"),
              "caf\xC3\xA9");  // e + U+0301 -> é
    EXPECT_EQ(ToNfc("caf\xC3\xA9"), "caf\xC3\xA9");
    EXPECT_EQ(ToNfc("Haus"), "Haus");
    EXPECT_EQ(ToNfc(""), "");
    // Marks in another order come out in the canonical one: a dot below (220) before a dot
    // above (230), and then the composite that takes the dot below.
    EXPECT_EQ(ToNfc("s\xCC\x87\xCC\xA3"), "\xE1\xB9\xA9");  // ṩ
    // Hangul: leading, vowel and trailing jamo make one syllable.
    EXPECT_EQ(ToNfc("\xE1\x84\x92\xE1\x85\xA1\xE1\x86\xAB"), "\xED\x95\x9C");  // 한
    EXPECT_EQ(ToNfc("a\xFF"), "a\xEF\xBF\xBD") << "a byte that is no UTF-8";
}

// The quick check passes ASCII eight bytes at a time and letters of two bytes below U+0300
// without decoding them: a mark that changes the text is seen behind either, at every place.
TEST(Nfc, AMarkIsSeenBehindLettersOfEveryLength) {
    for (std::size_t before = 0; before < 18; ++before) {
        const std::string ascii(before, 'a');
        EXPECT_FALSE(IsQuickNfc(ascii + "A\u030A")) << before;
        EXPECT_EQ(ToNfc(ascii + "A\u030A"), ascii + "\u00C5") << before;
        std::string latin;
        for (std::size_t i = 0; i < before; ++i) {
            latin += i % 2 == 0 ? "\u00E4" : "\u0161";
        }
        EXPECT_TRUE(IsQuickNfc(latin)) << before;
        EXPECT_EQ(ToNfc(latin + "e\u0301"), latin + "\u00E9") << before;
        EXPECT_FALSE(IsQuickNfc(latin + "\xCC")) << "a lead byte cut short, after " << before;
    }
}

}  // namespace
}  // namespace tallyfold::unicode
