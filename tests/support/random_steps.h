#pragma once

// Changes of every kind the commands make, chosen at random, for tests and seeds that need a
// history and a journal like a learner's.

#include <random>
#include <string>
#include <vector>

#include "document/document.h"
#include "tests/support/cards.h"

namespace tallyfold::testing {

// One change of every kind the commands make, chosen by `random`, as the window would make it.
inline void RandomStep(Document& document, std::mt19937& random) {
    int number = 0;
    const auto step = random() % 13;
    switch (step) {
        case 0:
        case 1:
        case 2: {
            const Document::Step known(document, StepName::Known);
            document.Known();
            static_cast<void>(document.ChooseNext(false, number));
            break;
        }
        case 3: {
            const Document::Step unknown(document, StepName::Unknown);
            document.SetUnknownToInput(random() % 2 == 0);
            document.Unknown();
            static_cast<void>(document.ChooseNext(true, number));
            break;
        }
        case 4: {
            const Document::Step added(document, StepName::NewCard);
            document.AddCard(Card("new" + std::to_string(random() % 100), "card", 2, 1));
            static_cast<void>(document.ChooseNext(false, number));
            break;
        }
        case 5: {
            const Document::Step changed(document, StepName::ChangeCard);
            if (tVokabel* card = document.HeadOf(document.Box().CurrentPartition())) {
                document.SetTexts(*card, "changed " + std::to_string(random() % 10), "c");
            }
            break;
        }
        case 6: {
            const Document::Step removed(document, StepName::DeleteCards);
            const std::vector<int> lines = {0, 2, 3};
            document.RemoveLines(static_cast<int>(1 + random() % 8), lines);
            static_cast<void>(document.ChooseNext(false, number));
            break;
        }
        case 7: {
            const Document::Step moved(document, StepName::MoveCards);
            const std::vector<int> lines = {1, 2};
            document.MoveLines(static_cast<int>(1 + random() % 8), lines,
                               static_cast<int>(1 + random() % 8));
            static_cast<void>(document.ChooseNext(false, number));
            break;
        }
        case 8: {
            const Document::Step mixed(document, StepName::MixAll);
            document.Mix(0);
            static_cast<void>(document.ChooseNext(false, number));
            break;
        }
        case 9:
            document.Undo();
            break;
        case 10:
            document.Redo();
            break;
        case 11: {
            const Document::Step reset(document, StepName::ResetCounters);
            const std::vector<int> lines = {0, 1};
            document.ResetCounters(static_cast<int>(1 + random() % 8), lines);
            break;
        }
        default: {
            const Document::Step deleted(document, StepName::DeleteCard);
            number = document.Box().CurrentPartition();
            document.DeleteCurrent(number);
            break;
        }
    }
}

}  // namespace tallyfold::testing
