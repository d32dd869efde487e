#include "text/utf8.h"
#include "text/utf16.h"

#include <gtest/gtest.h>

#include <random>
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

// What the decoder takes a byte at a time is the reference for the checks that go faster.
bool DecodesWhole(std::string_view text) {
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t start = at;
        if (DecodeNext(text, at) == kReplacement && at - start == 1) {
            return false;
        }
    }
    return true;
}

// Every pair of bytes, and random runs of lead, continuation and ASCII bytes, behind ASCII of
// every length up to two words: the checker skips ASCII eight bytes at a time, so a sequence
// falls at every place of a word and across two.
TEST(Utf8, TheCheckAndTheCountAgreeWithTheDecoder) {
    const auto agree = [](const std::string& text) {
        const bool valid = DecodesWhole(text);
        EXPECT_EQ(IsValidUtf8(text), valid) << testing::PrintToString(text);
        if (valid) {
            EXPECT_EQ(CountCodePoints(text), CodesOf(text).size()) << testing::PrintToString(text);
        }
    };
    for (int first = 0; first < 256; ++first) {
        for (int second = 0; second < 256; ++second) {
            agree({static_cast<char>(first), static_cast<char>(second)});
        }
    }
    const std::string pieces[] = {"a",    "\x80", "\xBF", "\xC2", "\xDF", "\xE0", "\xED", "\xEF",
                                  "\xF0", "\xF4", "\xA0", "\x9F", "\x90", "\x8F", "\xF5"};
    std::mt19937 random(31);
    for (int round = 0; round < 20000; ++round) {
        std::string text(random() % 17, 'x');
        const std::size_t count = 1 + random() % 6;
        for (std::size_t i = 0; i < count; ++i) {
            text += pieces[random() % std::size(pieces)];
        }
        text += std::string(random() % 10, 'y');
        agree(text);
    }
}

// What the Windows program hands the system and takes back: characters beyond the basic plane
// as pairs of surrogates; what is no text stands as U+FFFD either way.
TEST(Utf16, CharactersOfEveryPlaneGoThereAndBack) {
    const std::string every = "a\u00E9\u20AC\u0421\u05E9\u0643\u4E2D\uD55C\U0001F44D\U0001F3FD";
    const std::u16string wide = Utf16FromUtf8(every);
    EXPECT_EQ(wide, u"a\u00E9\u20AC\u0421\u05E9\u0643\u4E2D\uD55C\U0001F44D\U0001F3FD");
    EXPECT_EQ(wide.size(), 12u) << "two emoji of two units each";
    EXPECT_EQ(Utf8FromUtf16(wide), every);
    EXPECT_EQ(Utf16FromUtf8("a\xFF"
                            "b"),
              u"a\uFFFDb");
    EXPECT_EQ(Utf16FromUtf8(std::string_view("\0", 1)), std::u16string(1, u'\0'));
    EXPECT_EQ(Utf8FromUtf16(std::u16string(1, u'\xD800') + u"x"), "\uFFFDx");
    EXPECT_EQ(Utf8FromUtf16(std::u16string(1, u'\xDC00')), "\uFFFD");
    EXPECT_EQ(Utf8FromUtf16(u""), "");
}

}  // namespace
}  // namespace tallyfold::unicode
