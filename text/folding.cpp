#include "text/folding.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <vector>

#include "text/normalization.h"
#include "text/unicode_tables.h"
#include "text/utf8.h"

namespace tallyfold::unicode {

namespace {

// Letters whose stroke or bar is part of the letter, not a mark that decomposes, folded as a
// reader who ignores accents reads them, in both cases (dotless ı has no capital of its own).
struct StrokeLetter {
    char32_t small;
    char32_t capital;
    char plain;
};
constexpr StrokeLetter kStrokeLetters[] = {
    {0x0111, 0x0110, 'd'},  // đ Đ
    {0x0127, 0x0126, 'h'},  // ħ Ħ
    {0x0131, 0x0131, 'i'},  // ı
    {0x0142, 0x0141, 'l'},  // ł Ł
    {0x0167, 0x0166, 't'},  // ŧ Ŧ
    {0x00F8, 0x00D8, 'o'},  // ø Ø
    {0x0180, 0x0243, 'b'},  // ƀ Ƀ
    {0x01E5, 0x01E4, 'g'},  // ǥ Ǥ
};

// The plain letter of a small stroke letter: case folding comes first.
char32_t PlainLetterOf(char32_t code) {
    for (const StrokeLetter& entry : kStrokeLetters) {
        if (entry.small == code) {
            return static_cast<char32_t>(entry.plain);
        }
    }
    return code;
}

// A letter without its accents, in its case: the stroke letters made plain, and the sharp s,
// which has no accent but is read as "ss" by whoever does not mind accents.
void AppendPlainInCase(char32_t code, std::string& out) {
    if (code == 0x00DF) {
        out += "ss";
        return;
    }
    if (code == 0x1E9E) {
        out += "SS";
        return;
    }
    for (const StrokeLetter& entry : kStrokeLetters) {
        if (entry.capital == code && entry.small != code) {
            out += static_cast<char>(entry.plain - 'a' + 'A');
            return;
        }
    }
    AppendUtf8(out, PlainLetterOf(code));
}

void AppendFolded(char32_t code, std::u32string& out) {
    const std::span<const CaseFold> table = CaseFolds();
    const auto found =
        std::lower_bound(table.begin(), table.end(), code,
                         [](const CaseFold& entry, char32_t value) { return entry.code < value; });
    if (found == table.end() || found->code != code) {
        out.push_back(code);
        return;
    }
    for (const char32_t folded : found->folded) {
        if (folded != 0) {
            out.push_back(folded);
        }
    }
}

}  // namespace

bool IsMark(char32_t code) {
    if (code < 0x300U) {
        return false;
    }
    return RangeHolding(MarkRanges(), code) != nullptr;
}

namespace {

// Calls `take` with each code point of `code` decomposed, each part case folded, decomposed
// again: a folded letter may decompose in its turn ("İ" folds to "i" and a dot above).
template <typename Take>
void ForEachCaseFolded(char32_t code, Take take) {
    std::u32string decomposed;
    std::u32string folded;
    std::u32string again;
    AppendDecomposed(code, decomposed);
    for (const char32_t part : decomposed) {
        folded.clear();
        AppendFolded(part, folded);
        for (const char32_t letter : folded) {
            again.clear();
            AppendDecomposed(letter, again);
            for (const char32_t piece : again) {
                take(piece);
            }
        }
    }
}

// The fold of one code point: decomposed, each part case folded, decomposed again (a folded
// letter may decompose in its turn: "İ" folds to "i" and a dot above), marks left out, letters
// with a stroke made plain. Marks are folded too before they go: the Greek iota subscript folds
// to an iota.
std::string FoldOfCodePoint(char32_t code) {
    std::string out;
    ForEachCaseFolded(code, [&out](char32_t piece) {
        if (!IsMark(piece)) {
            AppendUtf8(out, PlainLetterOf(piece));
        }
    });
    return out;
}

// The folds of the Basic Multilingual Plane, where the letters of nearly every text are, worked
// out once for the process: a search folds a million texts, and a look-up in a table costs less
// than a fold. Built on first use (C++ makes that safe from any thread) and never changed, so
// the threads of a search share it; nothing of it belongs to a thread.
class PlaneFolds {
  public:
    /// A fold, in a fixed number of bytes that a writer copies whole.
    struct Fold {
        static constexpr std::size_t kBytes = 15;
        char bytes[kBytes];
        std::uint8_t size;
    };

    PlaneFolds() : folds_(kPlane) {
        for (char32_t code = 0; code < kPlane; ++code) {
            // The longest fold of the plane, a Hangul syllable's letters, has nine bytes.
            const std::string fold = FoldOfCodePoint(code);
            Fold& entry = folds_[code];
            entry.size = static_cast<std::uint8_t>(std::min(fold.size(), Fold::kBytes));
            std::copy_n(fold.begin(), entry.size, entry.bytes);
        }
    }

    static bool Holds(char32_t code) { return code < kPlane; }
    const Fold& Of(char32_t code) const { return folds_[code]; }

  private:
    static constexpr char32_t kPlane = 0x10000;
    std::vector<Fold> folds_;
};

const PlaneFolds& FoldsOfThePlane() {
    static const PlaneFolds folds;
    return folds;
}

// Room a writer of folds needs past the fold's end: it copies a plane's fold whole.
constexpr std::size_t kFoldSlack = sizeof(PlaneFolds::Fold);

bool Continuation(unsigned char byte) {
    return (byte & 0xC0U) == 0x80U;
}

// Writes the fold of `text` at `out`, which has room for `kFoldGrowth` bytes for each of the
// text's and `kFoldSlack` more, and returns where the fold ends. A search folds a million
// texts: they are written through a pointer, the usual letters of two and three bytes decoded
// here, and a letter's fold copied in one piece.
char* WriteFold(std::string_view text, char* out) {
    const PlaneFolds& plane = FoldsOfThePlane();
    const auto* const bytes = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t size = text.size();
    for (std::size_t at = 0; at < size;) {
        const unsigned char lead = bytes[at];
        // ASCII, most of most texts: nothing decomposes, only A to Z fold.
        if (lead < 0x80) {
            *out++ = static_cast<char>(lead >= 'A' && lead <= 'Z' ? lead - 'A' + 'a' : lead);
            ++at;
            continue;
        }
        char32_t code = 0;
        if (lead >= 0xC2 && lead <= 0xDF && at + 1 < size && Continuation(bytes[at + 1])) {
            code = ((lead & 0x1FU) << 6U) | (bytes[at + 1] & 0x3FU);
            at += 2;
        } else if (lead >= 0xE1 && lead <= 0xEF && lead != 0xED && at + 2 < size &&
                   Continuation(bytes[at + 1]) && Continuation(bytes[at + 2])) {
            code =
                ((lead & 0x0FU) << 12U) | ((bytes[at + 1] & 0x3FU) << 6U) | (bytes[at + 2] & 0x3FU);
            at += 3;
        } else {
            // The rarer forms, and bytes that are no UTF-8, as the decoder has them.
            code = DecodeNext(text, at);
        }
        if (PlaneFolds::Holds(code)) {
            const PlaneFolds::Fold& fold = plane.Of(code);
            std::memcpy(out, fold.bytes, sizeof fold.bytes);
            out += fold.size;
        } else {
            const std::string fold = FoldOfCodePoint(code);
            out = std::copy(fold.begin(), fold.end(), out);
        }
    }
    return out;
}

}  // namespace

namespace {

// A card's text is folded on the stack; a longer one into `scratch`. Calls `use` with the fold.
template <typename Use>
auto WithFold(std::string_view text, std::string& scratch, Use use) {
    constexpr std::size_t kOnStack = 256;
    if (text.size() <= kOnStack) {
        char folded[kFoldGrowth * kOnStack + kFoldSlack];
        return use(
            std::string_view(folded, static_cast<std::size_t>(WriteFold(text, folded) - folded)));
    }
    scratch.resize(kFoldGrowth * text.size() + kFoldSlack);
    char* const begin = scratch.data();
    return use(std::string_view(begin, static_cast<std::size_t>(WriteFold(text, begin) - begin)));
}

}  // namespace

std::string FoldCase(std::string_view text) {
    std::string out;
    for (std::size_t at = 0; at < text.size();) {
        ForEachCaseFolded(DecodeNext(text, at), [&out](char32_t piece) { AppendUtf8(out, piece); });
    }
    return out;
}

namespace {

// Marks that make another word rather than an accent: the vowel signs and viramas of the
// scripts of India and South East Asia and Tibetan, and the kana's voicing marks (が is not
// か). An answer that leaves them out is wrong, whatever the learner overlooks.
constexpr CodeRange kMarksOfOtherWords[] = {
    {0x0900, 0x0DFF},  // Devanagari to Sinhala
    {0x0E00, 0x0FFF},  // Thai, Lao, Tibetan
    {0x1000, 0x109F},  // Myanmar
    {0x1780, 0x17FF},  // Khmer
    {0x3099, 0x309A},  // the kana's voicing marks
};

bool IsAccent(char32_t code) {
    return IsMark(code) &&
           RangeHolding(std::span<const CodeRange>(kMarksOfOtherWords), code) == nullptr;
}

}  // namespace

std::string RemoveAccents(std::string_view text) {
    std::string out;
    std::u32string decomposed;
    for (std::size_t at = 0; at < text.size();) {
        decomposed.clear();
        AppendDecomposed(DecodeNext(text, at), decomposed);
        for (const char32_t part : decomposed) {
            if (!IsAccent(part)) {
                AppendPlainInCase(part, out);
            }
        }
    }
    return out;
}

std::string FoldForSearch(std::string_view text) {
    std::string scratch;
    return WithFold(text, scratch, [](std::string_view fold) { return std::string(fold); });
}

bool FoldedHolds(std::string_view text, std::string_view foldedQuery, std::string& scratch) {
    return foldedQuery.empty() || WithFold(text, scratch, [foldedQuery](std::string_view fold) {
               return fold.find(foldedQuery) != std::string_view::npos;
           });
}

}  // namespace tallyfold::unicode
