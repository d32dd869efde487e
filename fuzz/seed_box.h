#pragma once

// The box the journal seeds were written on, which the journal fuzzer restores them into: the
// seeds then replay whole, and the fuzzer starts from journals that reach every change.

#include <string>

#include "box/card_box.h"

namespace tallyfold::fuzz {

inline void FillSeedBox(tCardBox& box) {
    auto fill = [&box](int number, int count, const std::string& prefix) {
        for (int i = 1; i <= count; ++i) {
            tVokabel card;
            const std::string text = prefix + std::to_string(i);
            card.SetTexts(text, text);
            box.AddToPartition(card, number);
        }
    };
    fill(1, 6, "a");
    fill(2, 4, "b");
    fill(tCardBox::kInputStack, 12, "i");
}

}  // namespace tallyfold::fuzz
