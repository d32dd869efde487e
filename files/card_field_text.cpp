#include "files/card_field_text.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

#include "table/charset.h"

namespace tallyfold {

namespace {

constexpr std::size_t kTextBytes = kMaxCardText + 1;
constexpr std::size_t kWords = kTextBytes / 8;
static_assert(kTextBytes % 8 == 0, "a card text is a whole number of words");

constexpr std::uint64_t kLow7 = 0x7f7f7f7f7f7f7f7fULL;
constexpr std::uint64_t kHigh = 0x8080808080808080ULL;
constexpr std::uint64_t kBlanks = 0x2020202020202020ULL;

// Words are taken in little-endian order, so byte i of a text is byte i % 8 of its word
// wherever the program runs.
std::uint64_t LoadWord(const char* bytes) {
    std::uint64_t word = 0;
    std::memcpy(&word, bytes, 8);
    if constexpr (std::endian::native == std::endian::big) {
        word = __builtin_bswap64(word);
    }
    return word;
}

void StoreWord(char* bytes, std::uint64_t word) {
    if constexpr (std::endian::native == std::endian::big) {
        word = __builtin_bswap64(word);
    }
    std::memcpy(bytes, &word, 8);
}

// The high bit of each byte that is zero (exact per byte: no carry crosses a byte).
std::uint64_t ZeroBytes(std::uint64_t word) {
    return ~(((word & kLow7) + kLow7) | word) & kHigh;
}

// Eight bits, bit i set when byte i of `marks` has its high bit set.
std::uint64_t Gather(std::uint64_t marks) {
    return ((marks >> 7) * 0x0102040810204080ULL) >> 56;
}

// A mask of the lowest `count` bits, for count from 0 to 64.
std::uint64_t LowBits(std::size_t count) {
    return count >= 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << count) - 1;
}

}  // namespace

void ReadCardText(std::span<const char> field, char (&text)[kMaxCardText + 1]) {
    // Only the first 64 bytes can matter: a card holds 63. A shorter field is padded with
    // zeros, which end the text where the field ends.
    if (field.size() >= kTextBytes) {
        std::memcpy(text, field.data(), kTextBytes);
    } else {
        std::copy_n(field.data(), field.size(), text);
        std::fill(text + field.size(), text + kTextBytes, '\0');
    }
    std::uint64_t zeros = 0;
    std::uint64_t blanks = 0;
    std::uint64_t high = 0;
    for (std::size_t w = 0; w < kWords; ++w) {
        const std::uint64_t word = LoadWord(text + 8 * w);
        zeros |= Gather(ZeroBytes(word)) << (8 * w);
        blanks |= Gather(ZeroBytes(word ^ kBlanks)) << (8 * w);
        high |= Gather(word & kHigh) << (8 * w);
    }
    const std::size_t limit =
        std::min<std::size_t>(static_cast<std::size_t>(std::countr_zero(zeros)), kMaxCardText);
    const std::uint64_t kept = ~blanks & LowBits(limit);
    const std::size_t length =
        kept == 0 ? 0 : 64 - static_cast<std::size_t>(std::countl_zero(kept));
    text[length] = '\0';
    const std::array<unsigned char, 256>& map = OemToAnsiMap();
    for (std::uint64_t marks = high & LowBits(length); marks != 0; marks &= marks - 1) {
        const auto i = static_cast<std::size_t>(std::countr_zero(marks));
        text[i] = static_cast<char>(map[static_cast<unsigned char>(text[i])]);
    }
}

void WriteCardText(const char (&text)[kMaxCardText + 1], std::span<char> field) {
    std::array<char, kTextBytes> converted;
    std::uint64_t zeros = 0;
    for (std::size_t w = 0; w < kWords; ++w) {
        zeros |= Gather(ZeroBytes(LoadWord(text + 8 * w))) << (8 * w);
    }
    const std::size_t length =
        std::min<std::size_t>(static_cast<std::size_t>(std::countr_zero(zeros)), kMaxCardText);
    std::uint64_t high = 0;
    for (std::size_t w = 0; w < kWords; ++w) {
        // The text is a prefix: the word keeps its first `inWord` bytes, the rest become blanks.
        const std::size_t inWord = length > 8 * w ? std::min<std::size_t>(length - 8 * w, 8) : 0;
        const std::uint64_t keep = LowBits(8 * inWord);
        const std::uint64_t word = LoadWord(text + 8 * w);
        const std::uint64_t padded = (word & keep) | (kBlanks & ~keep);
        high |= Gather(padded & kHigh) << (8 * w);
        StoreWord(converted.data() + 8 * w, padded);
    }
    const std::array<unsigned char, 256>& map = AnsiToOemMap();
    for (std::uint64_t marks = high; marks != 0; marks &= marks - 1) {
        const auto i = static_cast<std::size_t>(std::countr_zero(marks));
        converted[i] = static_cast<char>(map[static_cast<unsigned char>(converted[i])]);
    }
    const std::size_t copied = std::min(field.size(), kTextBytes);
    std::copy_n(converted.data(), copied, field.data());
    std::fill(field.begin() + static_cast<std::ptrdiff_t>(copied), field.end(), ' ');
}

}  // namespace tallyfold
