#include "text/normalization.h"

#include <algorithm>
#include <cstring>
#include <span>

#include "text/unicode_tables.h"
#include "text/utf8.h"

namespace tallyfold::unicode {

namespace {

// Hangul syllables decompose and compose by arithmetic, not by the tables.
constexpr char32_t kSBase = 0xAC00;
constexpr char32_t kLBase = 0x1100;
constexpr char32_t kVBase = 0x1161;
constexpr char32_t kTBase = 0x11A7;
constexpr char32_t kLCount = 19;
constexpr char32_t kVCount = 21;
constexpr char32_t kTCount = 28;
constexpr char32_t kNCount = kVCount * kTCount;
constexpr char32_t kSCount = kLCount * kNCount;

// Below this no code point decomposes into anything else or combines: such text is in NFC.
constexpr char32_t kFirstChanging = 0x300;

void DecomposeInto(char32_t code, std::u32string& out) {
    if (code >= kSBase && code < kSBase + kSCount) {
        const char32_t index = code - kSBase;
        out.push_back(kLBase + index / kNCount);
        out.push_back(kVBase + (index % kNCount) / kTCount);
        if (index % kTCount != 0) {
            out.push_back(kTBase + index % kTCount);
        }
        return;
    }
    const std::span<const Decomposition> table = CanonicalDecompositions();
    const auto found = std::lower_bound(
        table.begin(), table.end(), code,
        [](const Decomposition& entry, char32_t value) { return entry.code < value; });
    if (found == table.end() || found->code != code) {
        out.push_back(code);
        return;
    }
    DecomposeInto(found->first, out);
    if (found->second != 0) {
        DecomposeInto(found->second, out);
    }
}

// Canonical ordering: each run of marks (classes other than 0) sorted by class, stably.
void Order(std::u32string& codes) {
    for (std::size_t i = 1; i < codes.size(); ++i) {
        const std::uint8_t value = CombiningClassOf(codes[i]);
        if (value == 0) {
            continue;
        }
        std::size_t j = i;
        while (j > 0) {
            const std::uint8_t before = CombiningClassOf(codes[j - 1]);
            if (before <= value) {
                break;
            }
            std::swap(codes[j - 1], codes[j]);
            --j;
        }
    }
}

// The primary composite of the pair, or 0.
char32_t Compose(char32_t first, char32_t second) {
    if (first >= kLBase && first < kLBase + kLCount && second >= kVBase &&
        second < kVBase + kVCount) {
        return kSBase + ((first - kLBase) * kVCount + (second - kVBase)) * kTCount;
    }
    if (first >= kSBase && first < kSBase + kSCount && (first - kSBase) % kTCount == 0 &&
        second > kTBase && second < kTBase + kTCount) {
        return first + (second - kTBase);
    }
    const std::span<const Composition> table = CanonicalCompositions();
    const auto found =
        std::lower_bound(table.begin(), table.end(), std::pair{first, second},
                         [](const Composition& entry, std::pair<char32_t, char32_t> pair) {
                             return std::pair{entry.first, entry.second} < pair;
                         });
    return found != table.end() && found->first == first && found->second == second ? found->code
                                                                                    : 0;
}

// Canonical composition: each mark joins the last starter before it unless a mark of the
// same or a higher class stands between them (it is blocked).
void ComposeAll(std::u32string& codes) {
    if (codes.empty()) {
        return;
    }
    std::size_t starter = 0;
    int lastClass = CombiningClassOf(codes[0]) == 0 ? 0 : 256;
    std::size_t written = 1;
    for (std::size_t i = 1; i < codes.size(); ++i) {
        const char32_t code = codes[i];
        const int value = CombiningClassOf(code);
        const char32_t composite = Compose(codes[starter], code);
        if (composite != 0 && (lastClass < value || lastClass == 0)) {
            codes[starter] = composite;
            continue;
        }
        if (value == 0) {
            starter = written;
        }
        lastClass = value;
        codes[written++] = code;
    }
    codes.resize(written);
}

}  // namespace

void AppendDecomposed(char32_t code, std::u32string& out) {
    DecomposeInto(code, out);
}

std::uint8_t CombiningClassOf(char32_t code) {
    if (code < kFirstChanging) {
        return 0;
    }
    const ClassRange* range = RangeHolding(CombiningClassRanges(), code);
    return range != nullptr ? range->value : 0;
}

bool IsQuickNfc(std::string_view text) {
    std::uint8_t lastClass = 0;
    for (std::size_t at = 0; at < text.size();) {
        // ASCII, between the letters of most scripts too, needs no decoding; nor do the
        // letters of two bytes below the first combining mark (U+0300, whose lead byte is CC).
        if (at + 8 <= text.size()) {
            std::uint64_t word = 0;
            std::memcpy(&word, text.data() + at, 8);
            if ((word & 0x8080808080808080ULL) == 0) {
                lastClass = 0;
                at += 8;
                continue;
            }
        }
        const auto lead = static_cast<unsigned char>(text[at]);
        if (lead < 0x80U) {
            lastClass = 0;
            ++at;
            continue;
        }
        if (lead >= 0xC2U && lead < 0xCCU && at + 1 < text.size() &&
            (static_cast<unsigned char>(text[at + 1]) & 0xC0U) == 0x80U) {
            lastClass = 0;
            at += 2;
            continue;
        }
        const std::size_t start = at;
        const char32_t code = DecodeNext(text, at);
        if (code < kFirstChanging) {
            lastClass = 0;
            continue;
        }
        if (code == kReplacement && at - start == 1) {
            return false;  // a byte that is no UTF-8 becomes U+FFFD
        }
        const std::uint8_t combiningClass = CombiningClassOf(code);
        if ((combiningClass != 0 && lastClass > combiningClass) ||
            RangeHolding(NotQuickNfcRanges(), code) != nullptr) {
            return false;
        }
        lastClass = combiningClass;
    }
    return true;
}

std::string ToNfc(std::string_view text) {
    // Most texts of any script are in NFC already, which the quick check tells without
    // decomposing them.
    if (IsQuickNfc(text)) {
        return std::string(text);
    }
    std::u32string codes;
    bool changing = false;
    for (std::size_t at = 0; at < text.size();) {
        const char32_t code = DecodeNext(text, at);
        // A bad byte becomes U+FFFD, above the bound too: the text changes.
        changing = changing || code >= kFirstChanging;
        DecomposeInto(code, codes);
    }
    if (!changing) {
        return std::string(text);
    }
    Order(codes);
    ComposeAll(codes);
    std::string out;
    out.reserve(text.size());
    for (const char32_t code : codes) {
        AppendUtf8(out, code);
    }
    return out;
}

}  // namespace tallyfold::unicode
