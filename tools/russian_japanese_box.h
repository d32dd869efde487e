#pragma once

// A box of Russian words with their Japanese, as a learner of both would keep it: the box the
// screenshots of every script show.

#include <utility>

#include "box/card_box.h"

namespace tallyfold::tools {

inline constexpr std::pair<const char*, const char*> kRussianJapanese[] = {
    {"\u043A\u043D\u0438\u0433\u0430", "\u672C"},                                      // book
    {"\u0432\u043E\u0434\u0430", "\u6C34"},                                            // water
    {"\u0448\u043A\u043E\u043B\u0430", "\u5B66\u6821"},                                // school
    {"\u0441\u043F\u0430\u0441\u0438\u0431\u043E", "\u3042\u308A\u304C\u3068\u3046"},  // thanks
    {"\u0434\u0440\u0443\u0433", "\u53CB\u9054"},                                      // friend
    {"\u0443\u0442\u0440\u043E", "\u671D"},                                            // morning
    {"\u043A\u043E\u0448\u043A\u0430", "\u732B"},                                      // cat
};

/// The words of `kRussianJapanese`, all in partition 1.
inline void FillRussianJapaneseBox(tCardBox& box) {
    for (const auto& [russian, japanese] : kRussianJapanese) {
        tVokabel card;
        card.SetTexts(russian, japanese);
        box.AddToPartition(card, 1);
    }
}

}  // namespace tallyfold::tools
