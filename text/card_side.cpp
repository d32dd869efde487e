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
    if (!IsValidUtf8(text)) {
        return SideProblem::NotUtf8;
    }
    bool blank = true;
    for (std::size_t at = 0; at < text.size();) {
        const char32_t code = DecodeNext(text, at);
        if (IsControl(code) && !(tabAllowed && code == U'\t')) {
            return SideProblem::ControlCharacter;
        }
        blank = blank && IsBlank(code);
    }
    if (blank) {
        return SideProblem::Missing;
    }
    if (text.size() > kMaxSideBytes || CountGraphemes(text) > kMaxSideCharacters) {
        return SideProblem::TooLong;
    }
    return SideProblem::None;
}

std::size_t BytesThatFitASide(std::string_view text) {
    return BytesWithin(text, kMaxSideCharacters, kMaxSideBytes);
}

}  // namespace tallyfold::unicode
