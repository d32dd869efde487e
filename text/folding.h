#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tallyfold::unicode {

/// `text` as a search compares it when neither case nor accents count, in every script: each
/// character decomposed, the marks on it removed (`IsMark`), its case folded (Unicode's full case
/// folding: "ß" and "SS" fold alike, final sigma as sigma), and the letters that carry a stroke or
/// a bar instead of a mark ("ł", "ø", "đ", "ħ", "ŧ", dotless "ı") written as the plain letter. Two
/// texts match when one's fold holds the other's. A byte that is no UTF-8 becomes U+FFFD.
std::string FoldForSearch(std::string_view text);
/// A fold has at most this many bytes for each byte of its text (a Hangul syllable of three
/// bytes is three letters of three): folds are written into room made for this many.
inline constexpr std::size_t kFoldGrowth = 3;

/// Whether `FoldForSearch(text)` holds `foldedQuery` (a text already folded so). A card's text
/// is folded on the stack, a longer one into `scratch`.
bool FoldedHolds(std::string_view text, std::string_view foldedQuery, std::string& scratch);

/// `text` with its case folded (Unicode's full case folding, after and before a canonical
/// decomposition) and its accents kept: a comparison that overlooks capitals alone.
std::string FoldCase(std::string_view text);
/// `text` decomposed, without its accents, its letters with a stroke plain ("Ł" as "L") and the
/// sharp s as "ss", in their case: a comparison that overlooks accents alone. Accents are the
/// marks of `IsMark` but those that make another word: the vowel signs of the scripts of India
/// and South East Asia, and the voicing marks of the kana.
std::string RemoveAccents(std::string_view text);

/// True for a mark that sits on a letter (general categories Mn and Me). Spacing marks (Mc)
/// are mostly vowel signs of Indic scripts, which make other words: they are kept.
bool IsMark(char32_t code);

}  // namespace tallyfold::unicode
