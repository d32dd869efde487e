#include "text/card_side.h"

#include "text/graphemes.h"
#include "text/utf8.h"

namespace tallyfold::unicode {

namespace {

bool IsControl(char32_t code) {
    return code < 0x20U || (code >= 0x7FU && code < 0xA0U) || code == 0x2028U || code == 0x2029U;
}

bool IsBlank(char32_t code) {
    return code == U' ' || code == U'\t' || code == 0xA0U || code == 0x3000U ||
           (code >= 0x2000U && code <= 0x200AU) || code == 0x202FU || code == 0x205FU;
}

}  // namespace

SideProblem ProblemOfSide(std::string_view text, bool tabAllowed) {
    // An import asks this of two texts a line: a text of ASCII alone, most of any list, is
    // looked at byte by byte without decoding, and its bytes are its characters.
    bool blank = true;
    std::size_t ascii = 0;
    for (; ascii < text.size(); ++ascii) {
        const auto byte = static_cast<unsigned char>(text[ascii]);
        if (byte >= 0x80U) {
            break;
        }
        if ((byte < 0x20U || byte == 0x7FU) && !(tabAllowed && byte == '\t')) {
            return SideProblem::ControlCharacter;
        }
        blank = blank && (byte == ' ' || byte == '\t');
    }
    std::size_t codePoints = ascii;
    for (std::size_t at = ascii; at < text.size(); ++codePoints) {
        const std::size_t start = at;
        const char32_t code = DecodeNext(text, at);
        if (code == kReplacement && at - start == 1) {
            return SideProblem::NotUtf8;
        }
        if (IsControl(code) && !(tabAllowed && code == U'\t')) {
            return SideProblem::ControlCharacter;
        }
        blank = blank && IsBlank(code);
    }
    if (blank) {
        return SideProblem::Missing;
    }
    // A character as a person counts it is at least one code point: only a text of more code
    // points than a side holds characters needs counting.
    if (text.size() > kMaxSideBytes ||
        (codePoints > kMaxSideCharacters && CountGraphemes(text) > kMaxSideCharacters)) {
        return SideProblem::TooLong;
    }
    return SideProblem::None;
}

std::size_t BytesThatFitASide(std::string_view text) {
    return BytesWithin(text, kMaxSideCharacters, kMaxSideBytes);
}

}  // namespace tallyfold::unicode
