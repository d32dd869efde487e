#include "box/box_step.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "box/card_box.h"
#include "box/node_pool.h"
#include "tests/support/box_state.h"
#include "tests/support/cards.h"

namespace tallyfold {
namespace {

using testing::Card;
using testing::Fill;
using testing::StateOf;
using State = testing::BoxState;

constexpr int kInput = tCardBox::kInputStack;

// Runs `change` as one recorded step and checks that undo and redo give each state back.
template <typename Change>
BoxStep Recorded(tCardBox& box, Change change) {
    BoxStep step;
    box.BeginStep(step);
    change();
    box.EndStep();
    return step;
}

class BoxStepTest : public ::testing::Test {
  protected:
    void SetUp() override {
        Fill(box, 1, 12, "a");
        Fill(box, 2, 5, "b");
        Fill(box, 5, 3, "e");
        Fill(box, 7, 4, "g");
        Fill(box, kInput, 30, "i");
        int number = 0;
        box.ChooseNext(number);
    }

    template <typename Change>
    void ExpectUndoable(Change change) {
        const State before = StateOf(box);
        BoxStep step = Recorded(box, change);
        const State after = StateOf(box);
        box.UndoStep(step);
        EXPECT_TRUE(StateOf(box).SameCardsAs(before));
        box.RedoStep(step);
        EXPECT_TRUE(StateOf(box).SameCardsAs(after));
        box.UndoStep(step);
        EXPECT_TRUE(StateOf(box).SameCardsAs(before));
    }

    tCardBox box;
};

TEST_F(BoxStepTest, EveryKindOfChangeIsTakenBackAndMadeAgain) {
    ExpectUndoable([this] { box.Known(); });
    ExpectUndoable([this] { box.Unknown(); });
    ExpectUndoable([this] {
        int number = 0;
        box.ChooseNext(number);
        box.Known();
        box.ChooseNext(number);
        box.Unknown();
    });
    ExpectUndoable([this] { box.AddToInput(Card("new", "card")); });
    ExpectUndoable([this] {
        for (int i = 0; i < 100; ++i) {
            box.AddToInput(Card("n" + std::to_string(i)));
        }
    });
    ExpectUndoable([this] {
        int number = 2;
        box.DeleteCurrent(&number);
    });
    ExpectUndoable([this] { box.AllToInput(); });
    ExpectUndoable([this] { box.ClearPartition(7); });
    ExpectUndoable([this] { box.ClearAll(); });
    ExpectUndoable([this] { box.Mix(0, 7); });
    ExpectUndoable([this] { box.Mix(1, 99); });
    ExpectUndoable([this] { box.Compact(); });
    ExpectUndoable([this] {
        tVokabel copy;
        box.SetTexts(*box.FirstInPartition(5, copy), "changed", "texts");
    });
    ExpectUndoable([this] {
        tVokabel copy;
        std::vector<const tVokabel*> doomed;
        for (tVokabel* card = box.FirstInPartition(1, copy); card != nullptr;
             card = box.NextInPartition(1, copy)) {
            if (card->Question().back() % 2 == 0 || card->Question() == "a1") {
                doomed.push_back(card);
            }
        }
        box.RemoveAllFromPartition(doomed, 1);
    });
    ExpectUndoable([this] {
        tVokabel copy;
        box.RemoveFromPartition(box.FirstInPartition(7, copy), 7);
        box.ClearPartition(7);
        box.AddToPartition(Card("fresh"), 7);
    });
}

TEST_F(BoxStepTest, RingsEmptiedAndRefilledComeBackWhole) {
    // A lone card, an emptied ring, and cards added then deleted within one step.
    tCardBox small;
    small.AddToPartition(Card("alone"), 3);
    const State before = StateOf(small);
    BoxStep step = Recorded(small, [&small] {
        tVokabel copy;
        small.RemoveFromPartition(small.FirstInPartition(3, copy), 3);
        small.AddToPartition(Card("x"), 3);
        small.AddToPartition(Card("y"), 3);
        small.RemoveFromPartition(small.FirstInPartition(3, copy), 3);
        small.Mix(3, 1);
        small.AllToInput();
    });
    const State after = StateOf(small);
    small.UndoStep(step);
    EXPECT_TRUE(StateOf(small).SameCardsAs(before));
    small.RedoStep(step);
    EXPECT_TRUE(StateOf(small).SameCardsAs(after));
}

TEST_F(BoxStepTest, ManyStepsUndoneAndRedoneInOrder) {
    std::mt19937 random(5);
    std::vector<BoxStep> steps;
    std::vector<State> states{StateOf(box)};
    for (int i = 0; i < 300; ++i) {
        steps.push_back(Recorded(box, [this, &random] {
            int number = 0;
            switch (random() % 9) {
                case 0:
                case 1:
                case 2:
                    box.Known();
                    break;
                case 3:
                case 4:
                    box.Unknown();
                    break;
                case 5:
                    box.AddToInput(Card("r" + std::to_string(random() % 1000)));
                    break;
                case 6:
                    number = static_cast<int>(1 + random() % 8);
                    box.DeleteCurrent(&number);
                    break;
                case 7:
                    box.Mix(0, random());
                    break;
                default:
                    box.Compact();
                    break;
            }
            box.ChooseNext(number);
        }));
        states.push_back(StateOf(box));
    }
    for (std::size_t i = steps.size(); i-- > 0;) {
        box.UndoStep(steps[i]);
        ASSERT_TRUE(StateOf(box).SameCardsAs(states[i])) << "after undoing step " << i;
    }
    for (std::size_t i = 0; i < steps.size(); ++i) {
        box.RedoStep(steps[i]);
        ASSERT_TRUE(StateOf(box).SameCardsAs(states[i + 1])) << "after redoing step " << i;
    }
}

TEST(BoxStepMemory, DroppedStepsFreeExactlyTheCardsTheyKept) {
    if (!NodePool::UsesSlabs()) {
        GTEST_SKIP() << "the sanitizer checks frees itself";
    }
    tCardBox box;
    Fill(box, 1, 50);
    {
        BoxStep deleted = Recorded(box, [&box] { box.ClearPartition(1); });
        EXPECT_EQ(box.TotalCards(), 0);
        // The 50 deleted cards live on in the step until it is dropped.
        box.UndoStep(deleted);
        EXPECT_EQ(box.TotalCards(), 50);
        box.RedoStep(deleted);
    }
    {
        BoxStep added = Recorded(box, [&box] { Fill(box, 2, 20); });
        box.UndoStep(added);
        added.Discard(added.Done());
        EXPECT_EQ(box.TotalCards(), 0);
    }
    // A verdict step costs a few records, not a card.
    Fill(box, 1, 10);
    int number = 0;
    box.ChooseNext(number);
    BoxStep verdict = Recorded(box, [&box] { box.Known(); });
    EXPECT_LT(verdict.Bytes(), 1024U);
}

#ifndef NDEBUG
// A step undone twice would move nodes that are no longer where the step left them.
TEST_F(BoxStepTest, UndoingAStepTwiceStops) {
    BoxStep step = Recorded(box, [this] { box.Known(); });
    box.UndoStep(step);
    EXPECT_DEATH(box.UndoStep(step), "the step is undone already");
    box.RedoStep(step);
    EXPECT_DEATH(box.RedoStep(step), "the step is done already");
}
#endif

}  // namespace
}  // namespace tallyfold
