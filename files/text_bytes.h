#pragma once

#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tallyfold {

/// Which of the 64 bytes of a card text are zero, blank, or 0x80 and above: bit i stands for
/// byte i. A load or a save looks at two texts per card, so this is done on all 64 bytes at
/// once.
struct TextBytes {
    std::uint64_t zeros = 0;
    std::uint64_t blanks = 0;
    std::uint64_t high = 0;
};

/// The same as `ClassifyTextBytes`, eight bytes at a time in ordinary integers, on any
/// processor.
TextBytes ClassifyTextBytesPortable(const char* bytes);

/// Classifies the 64 bytes at `bytes` with the processor's vector instructions where the build
/// has them (SSE2 on x86-64), else as `ClassifyTextBytesPortable` does. Inline: a load calls it
/// twice per card.
inline TextBytes ClassifyTextBytes(const char* bytes) {
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
