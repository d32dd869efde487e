#pragma once

// Eight bytes of text looked at as one 64-bit word, for tests on all of them at once. Words
// are taken in little-endian order, so byte i of the text is byte i of its word (bits 8i to
// 8i + 7) wherever the program runs.

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace tallyfold::words {

inline constexpr std::uint64_t kLow7 = 0x7f7f7f7f7f7f7f7fULL;
inline constexpr std::uint64_t kHigh = 0x8080808080808080ULL;
inline constexpr std::uint64_t kBlanks = 0x2020202020202020ULL;

inline std::uint64_t Load(const char* bytes) {
    std::uint64_t word = 0;
    std::memcpy(&word, bytes, 8);
    if constexpr (std::endian::native == std::endian::big) {
        word = __builtin_bswap64(word);
    }
    return word;
}

/// The first `count` bytes at `bytes` (at most 8) as the low bytes of a word, the others zero,
/// read without a byte beyond them and without storing them first.
inline std::uint64_t LoadUpTo8(const char* bytes, std::size_t count) {
    if (count >= 4) {
        // Two four-byte reads that overlap where the count is below eight.
        std::uint32_t low = 0;
        std::uint32_t high = 0;
        std::memcpy(&low, bytes, 4);
        std::memcpy(&high, bytes + count - 4, 4);
        if constexpr (std::endian::native == std::endian::big) {
            low = __builtin_bswap32(low);
            high = __builtin_bswap32(high);
        }
        return low | (static_cast<std::uint64_t>(high) << (8 * (count - 4)));
    }
    std::uint64_t word = 0;
    for (std::size_t i = 0; i < count; ++i) {
        word |= static_cast<std::uint64_t>(static_cast<unsigned char>(bytes[i])) << (8 * i);
    }
    return word;
}

/// The high bit of each byte that is zero (exact per byte: no carry crosses a byte).
inline std::uint64_t ZeroBytes(std::uint64_t word) {
    return ~(((word & kLow7) + kLow7) | word) & kHigh;
}

/// Eight bits, bit i set when byte i of `marks` has its high bit set.
inline std::uint64_t Gather(std::uint64_t marks) {
    return ((marks >> 7) * 0x0102040810204080ULL) >> 56;
}

}  // namespace tallyfold::words
