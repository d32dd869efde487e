#include "platform/line_selection.h"

#include <gtest/gtest.h>

#include <vector>

namespace tallyfold::platform {
namespace {

TEST(LineSelection, RangesMergeWhenTheyOverlapOrTouch) {
    LineSelection selection;
    EXPECT_TRUE(selection.Empty());
    EXPECT_EQ(selection.First(), -1);
    selection.Add(5, 3);
    selection.Add(10, 12);
    EXPECT_EQ(selection.Lines(), (std::vector<int>{3, 4, 5, 10, 11, 12}));
    selection.Add(6, 9);  // touches both neighbours
    EXPECT_EQ(selection.Lines().size(), 10u);
    EXPECT_TRUE(selection.Contains(7));
    selection.Add(0, 0);
    selection.Add(20, 25);
    selection.Add(2, 22);  // swallows a range and meets two
    EXPECT_EQ(selection.First(), 0);
    EXPECT_FALSE(selection.Contains(1));
    EXPECT_TRUE(selection.Contains(2));
    EXPECT_TRUE(selection.Contains(25));
    EXPECT_FALSE(selection.Contains(26));
    EXPECT_EQ(selection.Lines().size(), 1u + 24u);
}

TEST(LineSelection, ToggleSplitsAndJoins) {
    LineSelection selection;
    selection.Add(0, 9);
    selection.Toggle(4);
    EXPECT_FALSE(selection.Contains(4));
    EXPECT_EQ(selection.Lines(), (std::vector<int>{0, 1, 2, 3, 5, 6, 7, 8, 9}));
    selection.Toggle(0);
    selection.Toggle(9);
    EXPECT_EQ(selection.Lines(), (std::vector<int>{1, 2, 3, 5, 6, 7, 8}));
    selection.Toggle(4);
    EXPECT_EQ(selection.Lines(), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8}));
    selection.Toggle(30);
    EXPECT_TRUE(selection.Contains(30));
    selection.Clear();
    EXPECT_TRUE(selection.Empty());
}

TEST(LineSelection, AMillionLinesAreOneRange) {
    LineSelection selection;
    for (int line = 0; line < 1000000; line += 1000) {
        selection.Add(line, line + 999);
    }
    EXPECT_TRUE(selection.Contains(999999));
    const std::vector<int> lines = selection.Lines();
    ASSERT_EQ(lines.size(), 1000000u);
    EXPECT_EQ(lines.front(), 0);
    EXPECT_EQ(lines.back(), 999999);
}

}  // namespace
}  // namespace tallyfold::platform
