#pragma once

// Properties of the Unicode Character Database, as tables of sorted, disjoint ranges
// (`unicode_tables.cpp`, written by scripts/make-unicode-tables).

#include <cstdint>
#include <span>

namespace tallyfold::unicode {

/// The Grapheme_Cluster_Break property; `Other` for every code point the tables leave out.
enum class GraphemeBreak : std::uint8_t {
    Other,
    CR,
    LF,
    Control,
    Extend,
    Zwj,
    RegionalIndicator,
    Prepend,
    SpacingMark,
    L,
    V,
    T,
    LV,
    LVT,
};

struct CodeRange {
    char32_t first;
    char32_t last;
};

struct BreakRange {
    char32_t first;
    char32_t last;
    GraphemeBreak value;
};

std::span<const BreakRange> GraphemeBreakRanges();
/// The code points with Extended_Pictographic=Yes.
std::span<const CodeRange> ExtendedPictographicRanges();

}  // namespace tallyfold::unicode
