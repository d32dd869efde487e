#include "text/card_side.h"

#include <cstdint>
#include <cstring>

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

constexpr std::uint64_t kEveryByte = 0x0101010101010101ULL;
constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;

// Whether the eight bytes of `word` are ASCII characters that are no control characters and
// not all blank: what most of the words of a text are. A byte below 0x20 borrows when 0x20 is
// taken from it; DEL is a zero byte once the word is xored with DEL in every byte.
bool IsPrintableAsciiWord(std::uint64_t word) {
    const std::uint64_t below20 = (word - 0x20 * kEveryByte) & ~word & kHighBits;
    const std::uint64_t del = word ^ (0x7F * kEveryByte);
    const std::uint64_t dels = (del - kEveryByte) & ~del & kHighBits;
    return (word & kHighBits) == 0 && below20 == 0 && dels == 0;
}

}  // namespace

SideProblem ProblemOfSide(std::string_view text, bool tabAllowed) {
    // An import asks this of two texts a line: ASCII, most of many lists and between the
    // letters of many scripts, is looked at without decoding, eight bytes at a time where it
    // can be.
    bool blank = true;
    std::size_t codePoints = 0;
    for (std::size_t at = 0; at < text.size(); ++codePoints) {
        // Eight characters at once where they are plain ASCII, once a letter was seen.
        if (!blank && at + 8 <= text.size()) {
            std::uint64_t word = 0;
            std::memcpy(&word, text.data() + at, 8);
            if (IsPrintableAsciiWord(word)) {
                at += 8;
                codePoints += 7;
                continue;
            }
        }
        const auto byte = static_cast<unsigned char>(text[at]);
        if (byte < 0x80U) {
            if ((byte < 0x20U || byte == 0x7FU) && !(tabAllowed && byte == '\t')) {
                return SideProblem::ControlCharacter;
            }
            blank = blank && (byte == ' ' || byte == '\t');
            ++at;
            continue;
        }
        // Letters of two bytes, most of the Latin, Greek, Cyrillic, Hebrew and Arabic scripts,
        // are decoded here; longer ones by the decoder.
        char32_t code = 0;
        if (byte >= 0xC2U && byte <= 0xDFU && at + 1 < text.size() &&
            (static_cast<unsigned char>(text[at + 1]) & 0xC0U) == 0x80U) {
            code = ((byte & 0x1FU) << 6U) | (static_cast<unsigned char>(text[at + 1]) & 0x3FU);
            at += 2;
        } else {
            const std::size_t start = at;
            code = DecodeNext(text, at);
            if (code == kReplacement && at - start == 1) {
                return SideProblem::NotUtf8;
            }
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
