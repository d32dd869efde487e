#pragma once

// The boxes and text files the benchmarks work on: varied text lengths, umlauts (or Russian and
// Japanese), cards in every partition and the input stack, and about 1% duplicate lines in the
// text files, which are UTF-8.

#include <string>

#include "box/card_box.h"

namespace tallyfold::bench {

/// Fills `box` with `count` cards spread over partitions 1 to 7 and the input stack.
void FillBox(tCardBox& box, int count);

/// Fills `box` with `count` cards of Russian questions and Japanese answers (a Unicode box):
/// mostly a word or two, one in ten a phrase too long for a card's own bytes.
void FillUnicodeBox(tCardBox& box, int count);

/// Fills `box` with `count` cards as a box looks after long learning: partitions 1 to 6 full
/// (630 cards), the rest split between partition 7 and the input stack.
void FillLearnedBox(tCardBox& box, int count);

/// Writes an import file of `lines` distinct "question;answer" lines, none refused.
void WriteCleanTextFile(const std::string& path, int lines);

/// Fills `box` with `count` cards in partitions 3 and 7 only, so `Compact` has work.
void FillSparseBox(tCardBox& box, int count);

/// Writes an import file of `lines` lines ("question;answer", CR LF), about 1% of them
/// repeating an earlier line and one in a thousand without a separator. Returns the number of
/// lines without a separator, repeats included: the messages the import shows.
int WriteTextFile(const std::string& path, int lines);

}  // namespace tallyfold::bench
