#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "text/unicode_tables.h"

namespace tallyfold::unicode {

/// The Grapheme_Cluster_Break property of `code`.
GraphemeBreak GraphemeBreakOf(char32_t code);
/// True for a code point with Extended_Pictographic=Yes (most emoji).
bool IsExtendedPictographic(char32_t code);

/// Finds the boundaries of extended grapheme clusters, the characters as a person counts them
/// ("é" written with a combining accent, "中", "👍🏽", a flag are one each), by the rules of
/// Unicode's text segmentation (UAX #29), fed one code point at a time.
class GraphemeBreaker {
  public:
    /// True when a cluster ends before `code`, which follows the code points fed so far; the
    /// first code point of a text always starts one.
    bool BreakBefore(char32_t code);

  private:
    bool started_ = false;
    GraphemeBreak previous_ = GraphemeBreak::Other;
    // An Extended_Pictographic followed by Extend* so far, and then a ZWJ: an emoji sequence
    // that joins the next pictograph.
    bool inPictographic_ = false;
    bool pictographicZwj_ = false;
    // Regional indicators in a row just before: pairs of them make one flag.
    std::size_t regionalIndicators_ = 0;
};

/// The number of characters in the UTF-8 `text` as a person counts them; a byte that is no
/// UTF-8 counts as one.
std::size_t CountGraphemes(std::string_view text);

/// The bytes of the longest start of `text` that has at most `characters` characters and
/// `bytes` bytes, whole characters only: what an edit control limited so keeps of a text.
std::size_t BytesWithin(std::string_view text, std::size_t characters, std::size_t bytes);

/// The characters of `text`, each as the bytes it takes, in order.
std::vector<std::string_view> SplitGraphemes(std::string_view text);

/// The bytes of the first `count` characters of `text` (all of it when it has no more): where
/// a text can be cut without cutting a character.
std::size_t BytesOfGraphemes(std::string_view text, std::size_t count);

}  // namespace tallyfold::unicode
