#pragma once

#include <cstddef>
#include <string_view>

namespace tallyfold::unicode {

/// The most a side of a card holds: characters as a person counts them, and bytes of UTF-8.
inline constexpr std::size_t kMaxSideCharacters = 63;
inline constexpr std::size_t kMaxSideBytes = 254;

/// What keeps a text from being a side of a card.
enum class SideProblem {
    None,
    Missing,           ///< nothing but blanks
    TooLong,           ///< more than `kMaxSideCharacters` characters or `kMaxSideBytes` bytes
    NotUtf8,           ///< bytes that are no UTF-8
    ControlCharacter,  ///< a line break or another control character (a tab, where not allowed)
};

/// Checks a text typed or imported (normalised already) as a side of a card.
SideProblem ProblemOfSide(std::string_view text, bool tabAllowed = false);

/// The bytes of `text` that a side keeps of a text too long for it, from a file written by
/// another tool: as many whole characters as both limits allow.
std::size_t BytesThatFitASide(std::string_view text);

}  // namespace tallyfold::unicode
