#include "text/graphemes.h"

#include "text/utf8.h"

namespace tallyfold::unicode {

namespace {

bool IsControl(GraphemeBreak value) {
    return value == GraphemeBreak::Control || value == GraphemeBreak::CR ||
           value == GraphemeBreak::LF;
}

}  // namespace

GraphemeBreak GraphemeBreakOf(char32_t code) {
    // Most text is ASCII: letters, digits and punctuation are Other.
    if (code >= 0x20U && code < 0x7FU) {
        return GraphemeBreak::Other;
    }
    const BreakRange* range = RangeHolding(GraphemeBreakRanges(), code);
    return range != nullptr ? range->value : GraphemeBreak::Other;
}

bool IsExtendedPictographic(char32_t code) {
    return code >= 0xA9U && RangeHolding(ExtendedPictographicRanges(), code) != nullptr;
}

bool GraphemeBreaker::BreakBefore(char32_t code) {
    using enum GraphemeBreak;
    const GraphemeBreak next = GraphemeBreakOf(code);
    const bool pictographic = IsExtendedPictographic(code);
    const GraphemeBreak before = previous_;
    const bool first = !started_;
    const bool joinsEmoji = pictographicZwj_ && pictographic;
    const std::size_t indicatorsBefore = regionalIndicators_;

    // What follows `code` sees it as the one before.
    started_ = true;
    previous_ = next;
    if (pictographic) {
        inPictographic_ = true;
        pictographicZwj_ = false;
    } else if (next == Extend && inPictographic_ && !pictographicZwj_) {
        // GB11: Extend* between the pictograph and its ZWJ.
    } else if (next == Zwj && inPictographic_ && !pictographicZwj_) {
        pictographicZwj_ = true;
    } else {
        inPictographic_ = false;
        pictographicZwj_ = false;
    }
    regionalIndicators_ = next == RegionalIndicator ? regionalIndicators_ + 1 : 0;

    if (first) {
        return true;  // GB1
    }
    if (before == CR && next == LF) {
        return false;  // GB3
    }
    if (IsControl(before) || IsControl(next)) {
        return true;  // GB4, GB5
    }
    if (before == L && (next == L || next == V || next == LV || next == LVT)) {
        return false;  // GB6
    }
    if ((before == LV || before == V) && (next == V || next == T)) {
        return false;  // GB7
    }
    if ((before == LVT || before == T) && next == T) {
        return false;  // GB8
    }
    if (next == Extend || next == Zwj || next == SpacingMark || before == Prepend) {
        return false;  // GB9, GB9a, GB9b
    }
    if (before == Zwj && joinsEmoji) {
        return false;  // GB11
    }
    if (before == RegionalIndicator && next == RegionalIndicator) {
        return indicatorsBefore % 2 == 0;  // GB12, GB13: flags are pairs
    }
    return true;  // GB999
}

std::size_t CountGraphemes(std::string_view text) {
    GraphemeBreaker breaker;
    std::size_t count = 0;
    for (std::size_t at = 0; at < text.size();) {
        if (breaker.BreakBefore(DecodeNext(text, at))) {
            ++count;
        }
    }
    return count;
}

std::size_t BytesWithin(std::string_view text, std::size_t characters, std::size_t bytes) {
    GraphemeBreaker breaker;
    std::size_t counted = 0;
    std::size_t fits = 0;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t start = at;
        if (breaker.BreakBefore(DecodeNext(text, at))) {
            // The character before this one is whole: it stays where it fits.
            fits = start;
            if (++counted > characters) {
                return fits;
            }
        }
        if (at > bytes) {
            return fits;
        }
    }
    return text.size();
}

std::vector<std::string_view> SplitGraphemes(std::string_view text) {
    std::vector<std::string_view> graphemes;
    GraphemeBreaker breaker;
    std::size_t start = 0;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t here = at;
        if (breaker.BreakBefore(DecodeNext(text, at)) && here > start) {
            graphemes.push_back(text.substr(start, here - start));
            start = here;
        }
    }
    if (start < text.size()) {
        graphemes.push_back(text.substr(start));
    }
    return graphemes;
}

std::size_t BytesOfGraphemes(std::string_view text, std::size_t count) {
    GraphemeBreaker breaker;
    std::size_t seen = 0;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t start = at;
        if (breaker.BreakBefore(DecodeNext(text, at)) && seen++ == count) {
            return start;
        }
    }
    return text.size();
}

}  // namespace tallyfold::unicode
