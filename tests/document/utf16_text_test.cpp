#include "document/utf16_text.h"

#include <gtest/gtest.h>

#include <string>

namespace tallyfold {
namespace {

using namespace std::string_literals;

TEST(ByteOrderMarkTest, Utf16MarksAndEverythingElse) {
    EXPECT_EQ(EncodingOfByteOrderMark("\xFF\xFE"
                                      "a\0"s),
              TextEncoding::Utf16LittleEndian);
    EXPECT_EQ(EncodingOfByteOrderMark("\xFE\xFF\0a"s), TextEncoding::Utf16BigEndian);
    EXPECT_EQ(EncodingOfByteOrderMark("\xEF\xBB\xBF"
                                      "a"),
              TextEncoding::Bytes);
    EXPECT_EQ(EncodingOfByteOrderMark("\xFF"), TextEncoding::Bytes);
    EXPECT_EQ(EncodingOfByteOrderMark(""), TextEncoding::Bytes);
    EXPECT_EQ(EncodingOfByteOrderMark("Haus;house"), TextEncoding::Bytes);
}

std::string Decoded(const std::string& bytes, bool bigEndian, std::size_t piece) {
    Utf16Decoder decoder(bigEndian);
    std::string out;
    for (std::size_t at = 0; at < bytes.size(); at += piece) {
        decoder.Decode(std::string_view(bytes).substr(at, piece), out);
    }
    decoder.Finish(out);
    return out;
}

// "Hé€𝄞": one, two, three and four bytes of UTF-8; the last a surrogate pair in UTF-16.
const std::string kLittle = "H\0\xE9\0\xAC\x20\x34\xD8\x1E\xDD"s;
const std::string kBig = "\0H\0\xE9\x20\xAC\xD8\x34\xDD\x1E"s;
const std::string kUtf8 = "H\xC3\xA9\xE2\x82\xAC\xF0\x9D\x84\x9E";

TEST(Utf16DecoderTest, BothByteOrdersInPiecesOfAnyLength) {
    for (std::size_t piece = 1; piece <= kLittle.size(); ++piece) {
        SCOPED_TRACE(piece);
        EXPECT_EQ(Decoded(kLittle, false, piece), kUtf8);
        EXPECT_EQ(Decoded(kBig, true, piece), kUtf8);
    }
}

// What no text can hold becomes a byte that no UTF-8 holds, so that its line is refused.
TEST(Utf16DecoderTest, WhatNoTextCanHoldBecomesAByteThatIsNoUtf8) {
    const std::string replacement = "\xFF";
    // A high surrogate before a plain unit, a low surrogate alone, a high one at the end.
    EXPECT_EQ(Decoded("\x34\xD8"
                      "a\0"s,
                      false, 2),
              replacement + "a");
    EXPECT_EQ(Decoded("\x1E\xDD"
                      "a\0"s,
                      false, 2),
              replacement + "a");
    EXPECT_EQ(Decoded("a\0\x34\xD8"s, false, 4), "a" + replacement);
    // An odd last byte.
    EXPECT_EQ(Decoded("a\0b"s, false, 3), "a" + replacement);
    EXPECT_EQ(Decoded("", false, 1), "");
}

}  // namespace
}  // namespace tallyfold
