// Any bytes as a card text: normalised to NFC, counted as a person counts characters, and
// folded for a search. NFC is valid UTF-8, stays as it is when normalised again, and is never
// empty for a text that is not; every cut that `BytesOfGraphemes` gives lies between two
// characters; the fold is valid UTF-8, the same when folded again, and the same for the text
// and its NFC.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz/fuzz_files.h"
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
    return 0;
}
