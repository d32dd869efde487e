#include "platform/geometry.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

namespace tallyfold::platform {
namespace {

// A kept window place is taken only where a screen shows enough of it to take hold of; what a
// damaged settings file may hold is not.
TEST(ShowsOnAScreen, AKeptPlaceMustBeSeenAndSane) {
    const std::vector<Rect> one = {{0, 0, 1920, 1040}};
    const std::vector<Rect> two = {{0, 0, 1920, 1040}, {1920, -200, 1280, 1024}};
    EXPECT_TRUE(ShowsOnAScreen({100, 100, 640, 300}, one));
    EXPECT_TRUE(ShowsOnAScreen({-580, -240, 640, 300}, one)) << "a corner is enough to drag";
    EXPECT_FALSE(ShowsOnAScreen({-620, -280, 640, 300}, one)) << "a sliver is not";
    EXPECT_TRUE(ShowsOnAScreen({2500, -100, 640, 300}, two)) << "on the second screen";
    EXPECT_FALSE(ShowsOnAScreen({2500, -100, 640, 300}, one)) << "that screen is gone";
    EXPECT_FALSE(ShowsOnAScreen({INT_MAX - 10, INT_MAX - 10, 640, 300}, one));
    EXPECT_FALSE(ShowsOnAScreen({INT_MIN, INT_MIN, 640, 300}, one));
    EXPECT_FALSE(ShowsOnAScreen({100, 100, -400, 300}, one)) << "right of it left of its left";
    EXPECT_FALSE(ShowsOnAScreen({100, 100, 0, 0}, one));
    EXPECT_FALSE(ShowsOnAScreen({0, 0, 1 << 20, 1 << 20}, one)) << "larger than any screen";
    EXPECT_FALSE(ShowsOnAScreen({100, 100, 640, 300}, {})) << "no screen at all";
    EXPECT_EQ(RectFromEdges(100, 50, 740, 350), (Rect{100, 50, 640, 300}));
    EXPECT_FALSE(ShowsOnAScreen(RectFromEdges(500, 200, 100, 100), one)) << "inside out";
    EXPECT_FALSE(ShowsOnAScreen(RectFromEdges(INT_MIN, INT_MIN, INT_MAX, INT_MAX), one));
}

}  // namespace
}  // namespace tallyfold::platform
