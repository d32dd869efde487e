#include "files/text_bytes.h"

#include <bit>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tallyfold {

namespace {

constexpr std::uint64_t kLow7 = 0x7f7f7f7f7f7f7f7fULL;
constexpr std::uint64_t kHigh = 0x8080808080808080ULL;
constexpr std::uint64_t kBlanks = 0x2020202020202020ULL;

// Words are taken in little-endian order, so byte i of the text is byte i % 8 of its word
// wherever the program runs.
std::uint64_t LoadWord(const char* bytes) {
    std::uint64_t word = 0;
    std::memcpy(&word, bytes, 8);
    if constexpr (std::endian::native == std::endian::big) {
        word = __builtin_bswap64(word);
    }
    return word;
}

// The high bit of each byte that is zero (exact per byte: no carry crosses a byte).
std::uint64_t ZeroBytes(std::uint64_t word) {
    return ~(((word & kLow7) + kLow7) | word) & kHigh;
}

// Eight bits, bit i set when byte i of `marks` has its high bit set.
std::uint64_t Gather(std::uint64_t marks) {
    return ((marks >> 7) * 0x0102040810204080ULL) >> 56;
}

}  // namespace

TextBytes ClassifyTextBytesPortable(const char* bytes) {
    TextBytes result;
    for (int w = 0; w < 8; ++w) {
        const std::uint64_t word = LoadWord(bytes + 8 * w);
        result.zeros |= Gather(ZeroBytes(word)) << (8 * w);
        result.blanks |= Gather(ZeroBytes(word ^ kBlanks)) << (8 * w);
        result.high |= Gather(word & kHigh) << (8 * w);
    }
    return result;
}

TextBytes ClassifyTextBytes(const char* bytes) {
#if defined(__SSE2__)
    TextBytes result;
    const __m128i zero = _mm_setzero_si128();
    const __m128i blank = _mm_set1_epi8(' ');
    for (int i = 0; i < 4; ++i) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + 16 * i));
        const auto bits = [](__m128i marks) {
            return static_cast<std::uint64_t>(static_cast<std::uint32_t>(_mm_movemask_epi8(marks)));
        };
        result.zeros |= bits(_mm_cmpeq_epi8(chunk, zero)) << (16 * i);
        result.blanks |= bits(_mm_cmpeq_epi8(chunk, blank)) << (16 * i);
        result.high |= bits(chunk) << (16 * i);
    }
    return result;
#else
    return ClassifyTextBytesPortable(bytes);
#endif
}

}  // namespace tallyfold
