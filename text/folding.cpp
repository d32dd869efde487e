#include "text/folding.h"

#include <algorithm>
#include <span>
#include <string>
#include <unordered_map>

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
    AppendFoldForSearch(text, out);
    return out;
}

namespace {

// The fold of one code point: decomposed, each part case folded, decomposed again (a folded
// letter may decompose in its turn: "İ" folds to "i" and a dot above), marks left out, letters
// with a stroke made plain. Marks are folded too before they go: the Greek iota subscript folds
// to an iota.
std::string FoldOfCodePoint(char32_t code) {
    std::string out;
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
                if (!IsMark(piece)) {
                    AppendUtf8(out, PlainLetterOf(piece));
                }
            }
        }
    }
    return out;
}

}  // namespace

void AppendFoldForSearch(std::string_view text, std::string& out) {
    // A text's fold is its code points' folds in a row: each is worked out once per thread and
    // kept, since a search folds a million texts of the same few hundred letters.
    // Enough for the letters of many scripts; a text of every character there is folds slower.
    constexpr std::size_t kKeptFolds = 1 << 16;
    thread_local std::unordered_map<char32_t, std::string> known;
    for (std::size_t at = 0; at < text.size();) {
        // ASCII, most of most texts: nothing decomposes, only A to Z fold.
        const auto byte = static_cast<unsigned char>(text[at]);
        if (byte < 0x80) {
            out += static_cast<char>(byte >= 'A' && byte <= 'Z' ? byte - 'A' + 'a' : byte);
            ++at;
            continue;
        }
        const char32_t code = DecodeNext(text, at);
        if (const auto found = known.find(code); found != known.end()) {
            out += found->second;
        } else if (known.size() < kKeptFolds) {
            out += known.emplace(code, FoldOfCodePoint(code)).first->second;
        } else {
            out += FoldOfCodePoint(code);
        }
    }
}

namespace {

char LowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Whether ASCII `text`, A to Z taken small, holds `query` (not empty): the text is compared
// where it lies, without a folded copy.
bool HoldsTakenSmall(std::string_view text, std::string_view query) {
    if (query.size() > text.size()) {
        return false;
    }
    const char first = query.front();
    const std::size_t last = text.size() - query.size();
    for (std::size_t at = 0; at <= last; ++at) {
        if (LowerAscii(text[at]) != first) {
            continue;
        }
        std::size_t matched = 1;
        while (matched < query.size() && LowerAscii(text[at + matched]) == query[matched]) {
            ++matched;
        }
        if (matched == query.size()) {
            return true;
        }
    }
    return false;
}

}  // namespace

bool FoldedHolds(std::string_view text, std::string_view foldedQuery, std::string& scratch) {
    if (foldedQuery.empty()) {
        return true;
    }
    if (!IsAscii(text)) {
        scratch.clear();
        AppendFoldForSearch(text, scratch);
        return scratch.find(foldedQuery) != std::string::npos;
    }
    // An ASCII text folds to ASCII by taking A to Z small: it holds no other query, and it is
    // compared as it lies, without a copy.
    return IsAscii(foldedQuery) && HoldsTakenSmall(text, foldedQuery);
}

}  // namespace tallyfold::unicode
