#pragma once

// Properties of the Unicode Character Database, as tables of sorted, disjoint ranges
// (`unicode_tables.cpp`, written by scripts/make-unicode-tables).

#include <algorithm>
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

/// A range of code points of one canonical combining class other than 0.
struct ClassRange {
    char32_t first;
    char32_t last;
    std::uint8_t value;
};

/// A canonical decomposition, one step of it: into one code point (`second` 0) or two.
struct Decomposition {
    char32_t code;
    char32_t first;
    char32_t second;
};

/// A pair that canonical composition joins (the decompositions into two code points that no
/// exclusion keeps apart), sorted by the pair.
struct Composition {
    char32_t first;
    char32_t second;
    char32_t code;
};

/// A code point's full case folding: one to three code points (the rest 0).
struct CaseFold {
    char32_t code;
    char32_t folded[3];
};

/// The range of sorted, disjoint `ranges` that holds `code`, or null.
template <class Range>
const Range* RangeHolding(std::span<const Range> ranges, char32_t code) {
    const auto found =
        std::upper_bound(ranges.begin(), ranges.end(), code,
                         [](char32_t value, const Range& range) { return value < range.first; });
    if (found == ranges.begin()) {
        return nullptr;
    }
    const Range& range = *(found - 1);
    return code <= range.last ? &range : nullptr;
}

std::span<const BreakRange> GraphemeBreakRanges();
/// The code points with Extended_Pictographic=Yes.
std::span<const CodeRange> ExtendedPictographicRanges();
std::span<const ClassRange> CombiningClassRanges();
/// Sorted by the code point decomposed.
std::span<const Decomposition> CanonicalDecompositions();
std::span<const Composition> CanonicalCompositions();
/// Code points whose NFC quick check is No or Maybe (UAX #15): a text without them, whose
/// marks are in canonical order, is in NFC as it stands.
std::span<const CodeRange> NotQuickNfcRanges();
/// The code points of the general categories Mn and Me: the marks that sit on a letter.
std::span<const CodeRange> MarkRanges();
/// The code points of the general categories P (Pc, Pd, Ps, Pe, Pi, Pf, Po): punctuation.
std::span<const CodeRange> PunctuationRanges();
/// The code points of the general category Zs: the spaces, from U+0020 to the ideographic one.
std::span<const CodeRange> SpaceRanges();
/// Full case folding (CaseFolding.txt, status C and F), sorted by the code point.
std::span<const CaseFold> CaseFolds();

}  // namespace tallyfold::unicode
