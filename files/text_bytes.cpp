#include "files/text_bytes.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "table/byte_words.h"

namespace tallyfold {

using words::Gather;
using words::kBlanks;
using words::kHigh;
using words::ZeroBytes;

TextBytes ClassifyTextBytesPortable(const char* bytes) {
    TextBytes result;
    for (int w = 0; w < 8; ++w) {
        const std::uint64_t word = words::Load(bytes + 8 * w);
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
