#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tallyfold::unicode {

/// The canonical combining class of `code` (0 for a starter).
std::uint8_t CombiningClassOf(char32_t code);

/// Appends the full canonical decomposition of `code` (the code point itself where it has
/// none), its marks in the order the mappings give them.
void AppendDecomposed(char32_t code, std::u32string& out);

/// True when `text` is UTF-8 in NFC by the quick check of UAX #15: no code point that may
/// change or combine, and marks in canonical order. False may still be NFC.
bool IsQuickNfc(std::string_view text);

/// `text` in Normalization Form C (UAX #15): what is written with combining marks and what is
/// written precomposed become the same bytes ("é" as U+00E9, or as "e" and U+0301). A byte that
/// is no UTF-8 becomes U+FFFD.
std::string ToNfc(std::string_view text);

}  // namespace tallyfold::unicode
