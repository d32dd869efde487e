#pragma once

// What the learning view says of a typed answer once it is checked: a verdict for the eye and
// the whole comparison in words for a screen reader.

#include <string>

#include "text/answer_comparison.h"

namespace tallyfold {

/// "Right", "Right, but for the capital letters and the accents" (the slips a tolerance
/// forgave), or "Not right"; an answer right as one of several adds "(one of the answers)".
std::string VerdictText(const AnswerComparison& comparison);

/// The comparison in words, for those who do not see the marks: "typed: hous, expected: house,
/// 1 letter missing", or with the verdict of a right answer: "typed: House, expected: house,
/// Right, but for the capital letters".
std::string SpokenComparison(const AnswerComparison& comparison);

}  // namespace tallyfold
