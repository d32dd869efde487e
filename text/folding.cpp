#include "text/folding.h"

#include <algorithm>
#include <span>

#include "text/normalization.h"
#include "text/unicode_tables.h"
#include "text/utf8.h"

namespace tallyfold::unicode {

namespace {

// Letters whose stroke or bar is part of the letter, not a mark that decomposes, folded as a
// reader who ignores accents reads them. Lowercase: case folding comes first.
struct PlainLetter {
    char32_t letter;
    char32_t plain;
};
constexpr PlainLetter kPlainLetters[] = {
    {0x0111, U'd'},  // đ
    {0x0127, U'h'},  // ħ
    {0x0131, U'i'},  // ı
    {0x0142, U'l'},  // ł
    {0x0167, U't'},  // ŧ
    {0x00F8, U'o'},  // ø
    {0x0180, U'b'},  // ƀ
    {0x01E5, U'g'},  // ǥ
};

char32_t PlainLetterOf(char32_t code) {
    for (const PlainLetter& entry : kPlainLetters) {
        if (entry.letter == code) {
            return entry.plain;
        }
    }
    return code;
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

std::string FoldForSearch(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    std::u32string decomposed;
    std::u32string folded;
    std::u32string again;
    for (std::size_t at = 0; at < text.size();) {
        decomposed.clear();
        AppendDecomposed(DecodeNext(text, at), decomposed);
        for (const char32_t code : decomposed) {
            // Marks are folded too before they go: the Greek iota subscript folds to an iota.
            // A folded letter may decompose in its turn ("İ" folds to "i" and a dot above).
            folded.clear();
            AppendFolded(code, folded);
            for (const char32_t letter : folded) {
                again.clear();
                AppendDecomposed(letter, again);
                for (const char32_t part : again) {
                    if (!IsMark(part)) {
                        AppendUtf8(out, PlainLetterOf(part));
                    }
                }
            }
        }
    }
    return out;
}

}  // namespace tallyfold::unicode
