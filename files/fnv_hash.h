#pragma once

// FNV-1a, the hash behind the names the program gives its files (journals, locks, the folder
// tags of backups). Those names are on disk: the 64-bit and the 32-bit form each stay as they
// are.

#include <cstdint>
#include <string_view>
#include <type_traits>

namespace tallyfold {

template <class Word>
struct FnvParameters;
template <>
struct FnvParameters<std::uint32_t> {
    static constexpr std::uint32_t kBasis = 2166136261U;
    static constexpr std::uint32_t kPrime = 16777619U;
};
template <>
struct FnvParameters<std::uint64_t> {
    static constexpr std::uint64_t kBasis = 14695981039346656037ULL;
    static constexpr std::uint64_t kPrime = 1099511628211ULL;
};

/// FNV-1a of `bytes` in 32 or 64 bits, going on from `hash` (a new hash starts at the basis).
template <class Word>
constexpr Word Fnv1a(std::string_view bytes, Word hash = FnvParameters<Word>::kBasis) {
    static_assert(std::is_same_v<Word, std::uint32_t> || std::is_same_v<Word, std::uint64_t>);
    for (const char c : bytes) {
        hash =
            static_cast<Word>((hash ^ static_cast<unsigned char>(c)) * FnvParameters<Word>::kPrime);
    }
    return hash;
}

}  // namespace tallyfold
