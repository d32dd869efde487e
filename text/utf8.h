#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tallyfold::unicode {

/// U+FFFD, which stands for what is not a character.
inline constexpr char32_t kReplacement = 0xFFFD;

/// The code point that starts at `at` in `text`, with `at` moved past it. A byte that begins
/// no well-formed sequence (a stray continuation, an overlong form, a surrogate, a value past
/// U+10FFFF, a sequence cut short) is `kReplacement`, and only that byte is passed over.
/// `at` must be before the end.
char32_t DecodeNext(std::string_view text, std::size_t& at);

/// True when `text` is well-formed UTF-8 throughout.
bool IsValidUtf8(std::string_view text);

/// True when every byte of `text` is ASCII (below 0x80).
bool IsAscii(std::string_view text);

/// The number of code points of `text`, which must be well-formed UTF-8.
std::size_t CountCodePoints(std::string_view text);

/// Appends `code` as UTF-8; a surrogate or a value past U+10FFFF goes in as `kReplacement`.
void AppendUtf8(std::string& out, char32_t code);

}  // namespace tallyfold::unicode
