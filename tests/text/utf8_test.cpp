#include "text/utf8.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tallyfold::unicode {
namespace {

std::vector<char32_t> CodesOf(std::string_view text) {
    std::vector<char32_t> codes;
    for (std::size_t at = 0; at < text.size();) {
        codes.push_back(DecodeNext(text, at));
    }
    return codes;
}

TEST(Utf8, WellFormedSequencesOfEveryLength) {
    EXPECT_EQ(CodesOf("A\xC3\xA9\xE4\xB8\xAD\xF0\x9F\x91\x8D"),
              (std::vector<char32_t>{0x41, 0xE9, 0x4E2D, 0x1F44D}));
    EXPECT_TRUE(IsValidUtf8("A\xC3\xA9\xE4\xB8\xAD\xF0\x9F\x91\x8D"));
    EXPECT_TRUE(IsValidUtf8("\xEF\xBF\xBD")) << "U+FFFD written out is a character";
    for (const char32_t code :
         {0x0U, 0x7FU, 0x80U, 0x7FFU, 0x800U, 0xD7FFU, 0xE000U, 0xFFFFU, 0x10000U, 0x10FFFFU}) {
        std::string text;
        AppendUtf8(text, code);
        EXPECT_EQ(CodesOf(text), std::vector<char32_t>{code}) << std::hex << unsigned{code};
        EXPECT_TRUE(IsValidUtf8(text));
    }
}

// What is not UTF-8 gives U+FFFD for one byte at a time, so nothing after it is lost.
TEST(Utf8, IllFormedBytesStandForOneReplacementEach) {
    const std::vector<std::string> bad = {
        "\x80",              // a continuation alone
        "\xC0\xAF",          // overlong "/"
        "\xE0\x80\xAF",      // overlong, three bytes
        "\xED\xA0\x80",      // a surrogate
        "\xF4\x90\x80\x80",  // past U+10FFFF
        "\xF5\x80\x80\x80",  // no lead byte at all
        "\xE4\xB8",          // cut short
        "\xFF",
    };
    for (const std::string& bytes : bad) {
        EXPECT_FALSE(IsValidUtf8(bytes)) << bytes;
        const std::vector<char32_t> codes = CodesOf(bytes + "z");
        EXPECT_TRUE(codes.front() == kReplacement) << bytes;
        EXPECT_TRUE(codes.back() == U'z') << bytes;
        EXPECT_LE(codes.size(), bytes.size() + 1);
    }
    std::string text;
    AppendUtf8(text, 0xD800);
    AppendUtf8(text, 0x110000);
    EXPECT_EQ(text, "\xEF\xBF\xBD\xEF\xBF\xBD");
}

}  // namespace
}  // namespace tallyfold::unicode
