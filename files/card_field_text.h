#pragma once

#include <array>
#include <span>
#include <string_view>

#include "box/card.h"

namespace tallyfold {

// Card texts between the card (UTF-8) and a character field of a classic vocabulary record
// (code page 850 with the program's own codes for the Windows-1252 characters it lacks, padded
// with blanks). A load or a save converts two texts per card, so both directions look at the 64
// bytes of a field eight or sixteen at a time, and a text of ASCII alone (most of any box)
// crosses as it is.

/// Reads a card text from a field's bytes exactly as the field's accessor and the card read
/// it: the field's trailing blanks removed, then ended at the first zero byte, then cut to 63
/// characters, converted to Windows-1252 and so to Unicode. Blanks before a zero byte or at
/// the cut stay. An empty field gives an empty text.
void ReadCardText(std::span<const char> field, CardText& text);

/// True when a classic field holds `text` exactly: at most 63 characters, each one that
/// Windows-1252 has (its five undefined bytes included, which a classic file may hold).
bool FitsClassicField(const CardText& text);

/// Reads a card text from a field of a Unicode vocabulary record: the field's trailing blanks
/// removed, then ended at the first zero byte, then, when it holds more than a side may (a file
/// another tool wrote), cut at the end of the last character that fits (`cut` set). False, and
/// `text` as it was, when the bytes are no UTF-8.
[[nodiscard]] bool ReadUtf8CardText(std::span<const char> field, CardText& text, bool& cut);

/// Writes a card text into a field of a Unicode vocabulary record, padded with blanks; a text
/// longer than the field (which the save makes as wide as the longest) is cut there (false).
bool WriteUtf8CardText(const CardText& text, std::span<char> field);

/// The Windows-1252 bytes of a text that `FitsClassicField` (as the classic text file holds
/// it), in `buffer`.
std::string_view ClassicTextBytes(const CardText& text, std::array<char, 80>& buffer);

/// Writes a card text into a classic field: converted to code page 850, cut to the field's
/// length, the rest of the field blanks. Backslashes are stored as they are. False, and the
/// field blank, for a text that does not `FitsClassicField`.
bool WriteCardText(const CardText& text, std::span<char> field);

}  // namespace tallyfold
