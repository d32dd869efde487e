#pragma once

#include <span>

#include "box/card.h"

namespace tallyfold {

// Card texts between the card (Windows-1252, zero-terminated) and a character field of a
// vocabulary record (code page 850, padded with blanks). A load or a save converts two texts
// per card, so both directions work on the 64 bytes of a card text eight at a time, with one
// pass over the bytes and no copy in between.

/// Reads a card text from a field's bytes exactly as the field's accessor and the card read
/// it: the field's trailing blanks removed, then ended at the first zero byte, then cut to 63
/// characters, converted to Windows-1252, zero-terminated. Blanks before a zero byte or at the
/// cut stay. An empty field gives an empty text.
void ReadCardText(std::span<const char> field, char (&text)[kMaxCardText + 1]);

/// Writes a card text into a field: converted to code page 850, cut to the field's length,
/// the rest of the field blanks. Backslashes are stored as they are.
void WriteCardText(const char (&text)[kMaxCardText + 1], std::span<char> field);

}  // namespace tallyfold
