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
    // An import asks this of two texts a line: ASCII, most of many lists and between the
    // letters of many scripts, is looked at byte by byte without decoding.
    bool blank = true;
    std::size_t codePoints = 0;
    for (std::size_t at = 0; at < text.size(); ++codePoints) {
        const auto byte = static_cast<unsigned char>(text[at]);
        if (byte < 0x80U) {
            if ((byte < 0x20U || byte == 0x7FU) && !(tabAllowed && byte == '\t')) {
                return SideProblem::ControlCharacter;
            }
            blank = blank && (byte == ' ' || byte == '\t');
            ++at;
            continue;
        }
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
