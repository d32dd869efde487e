// Any bytes loaded as a vocabulary file; the box saved and loaded again must give the same
// cards in the same places. A text may end in blanks when it was read (blanks before a zero
// byte, or a blank as its 63rd character); a field cannot hold trailing blanks, so those are
// the one thing a save drops.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "box/card_box.h"
#include "files/vok_file.h"
#include "fuzz/fuzz_files.h"

namespace {

struct Placed {
    int number;
    tallyfold::tVokabel card;
};

std::vector<Placed> CardsOf(tallyfold::tCardBox& box) {
    std::vector<Placed> cards;
    tallyfold::tVokabel card;
    for (int number = box.FirstCard(card); number != 0; number = box.NextCard(card)) {
        cards.push_back({number, card});
    }
    return cards;
}

std::string_view WithoutTrailingBlanks(std::string_view text) {
    const std::size_t end = text.find_last_not_of(' ');
    return end == std::string_view::npos ? std::string_view() : text.substr(0, end + 1);
}

bool Same(const std::vector<Placed>& a, const std::vector<Placed>& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i].number != b[i].number ||
            WithoutTrailingBlanks(a[i].card.Question()) != b[i].card.Question() ||
            WithoutTrailingBlanks(a[i].card.Answer()) != b[i].card.Answer()) {
            return false;
        }
        // A counter beyond the five digits of its field is stored as the nearest that fits.
        for (const auto& [x, y] : {std::pair{a[i].card.knownCount, b[i].card.knownCount},
                                   std::pair{a[i].card.unknownCount, b[i].card.unknownCount}}) {
            if (std::clamp(x, -9999, 99999) != y) {
                return false;
            }
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tallyfold;
    const FilePath path = fuzz::WriteScratch("words.vok", data, size);
    tCardBox first;
    if (LoadVokFile(path, first).opened && first.TotalCards() <= 5000) {
        const std::vector<Placed> before = CardsOf(first);
        const FilePath saved(fuzz::ScratchFolder() + "/saved.vok");
        if (!SaveVokFile(saved, first)) {
            std::abort();
        }
        tCardBox second;
        if (!LoadVokFile(saved, second).opened || !Same(before, CardsOf(second))) {
            std::abort();
        }
    }
    fuzz::ClearScratch({"words.vok", "words.kas", "saved.vok", "saved.kas"});
    return 0;
}
