#include "files/text_bytes.h"

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

}  // namespace tallyfold
