// Any bytes as a card text: normalised to NFC, counted as a person counts characters, and
// folded for a search. NFC is valid UTF-8, stays as it is when normalised again, and is never
// empty for a text that is not; every cut that `BytesOfGraphemes` gives lies between two
// characters; the fold is valid UTF-8, the same when folded again, and the same for the text
// and its NFC. Split at its first tab, the bytes are a typed answer and an expected one: a text
// is right as its own answer under every tolerance, an answer right with none is right with
// any, a wrong one has a mark that says so, and the marks keep every character typed.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz/fuzz_files.h"
#include "text/answer_comparison.h"
#include "text/folding.h"
#include "text/graphemes.h"
#include "text/normalization.h"
#include "text/utf8.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tallyfold;
    const std::string text = fuzz::BytesOf(data, size);
    const std::string nfc = unicode::ToNfc(text);
    if (!unicode::IsValidUtf8(nfc) || unicode::ToNfc(nfc) != nfc || nfc.empty() != text.empty()) {
        std::abort();
    }
    if (unicode::IsValidUtf8(text) &&
        unicode::CountGraphemes(nfc) > unicode::CountGraphemes(text)) {
        std::abort();  // composing never splits a character
    }
    const std::size_t count = unicode::CountGraphemes(nfc);
    std::size_t previous = 0;
    for (std::size_t i = 1; i <= count; ++i) {
        const std::size_t cut = unicode::BytesOfGraphemes(nfc, i);
        if (cut <= previous || cut > nfc.size() ||
            unicode::CountGraphemes(std::string_view(nfc).substr(0, cut)) != i) {
            std::abort();
        }
        previous = cut;
    }
    if (previous != nfc.size()) {
        std::abort();
    }
    const std::string folded = unicode::FoldForSearch(text);
    if (!unicode::IsValidUtf8(folded) || unicode::FoldForSearch(folded) != folded ||
        unicode::FoldForSearch(nfc) != folded) {
        std::abort();
    }
    // Answers are a card's length or an edit field's (63 characters); longer ones only slow the
    // search down, the comparison taking the product of both lengths.
    constexpr std::size_t kLongestAnswer = 96;
    const std::size_t tab = text.find('\t');
    const std::string typed = text.substr(0, std::min(tab, kLongestAnswer));
    const std::string expected =
        tab == std::string::npos ? typed : text.substr(tab + 1, kLongestAnswer);
    // The tolerances come from the input too, so that the fuzzer tries each of them.
    const unsigned bits = size > 0 ? data[0] : 0U;
    const AnswerTolerances tolerances{.capitals = (bits & 1U) != 0,
                                      .accents = (bits & 2U) != 0,
                                      .punctuation = (bits & 4U) != 0,
                                      .alternatives = (bits & 8U) != 0};
    if (!CompareAnswer(expected, expected, tolerances).right) {
        std::abort();
    }
    const AnswerComparison comparison = CompareAnswer(typed, expected, tolerances);
    if ((!comparison.right && CompareAnswer(typed, expected, {}).right) ||
        (!comparison.right && comparison.wrong + comparison.extra + comparison.missing == 0)) {
        std::abort();
    }
    std::string marked;
    for (const MarkedCharacter& character : comparison.marks) {
        if (character.mark != CharacterMark::Missing) {
            marked += character.text;
        }
    }
    if (marked != comparison.typed) {
        std::abort();
    }
    return 0;
}
