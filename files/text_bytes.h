#pragma once

#include <cstdint>

namespace tallyfold {

/// Which of the 64 bytes of a card text are zero, blank, or 0x80 and above: bit i stands for
/// byte i. A load or a save looks at two texts per card, so this is done on all 64 bytes at
/// once.
struct TextBytes {
    std::uint64_t zeros = 0;
    std::uint64_t blanks = 0;
    std::uint64_t high = 0;
};

/// Classifies the 64 bytes at `bytes` with the processor's vector instructions where the build
/// has them (SSE2 on x86-64), else as `ClassifyTextBytesPortable` does.
TextBytes ClassifyTextBytes(const char* bytes);
/// The same, eight bytes at a time in ordinary integers, on any processor.
TextBytes ClassifyTextBytesPortable(const char* bytes);

}  // namespace tallyfold
