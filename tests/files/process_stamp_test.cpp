#include "files/process_stamp.h"

#include <gtest/gtest.h>

#include <limits>

namespace tallyfold {
namespace {

TEST(ProcessStampTest, ThisProcessRuns) {
    const ProcessStamp self = ThisProcess();
    EXPECT_GT(self.pid, 0);
    EXPECT_TRUE(IsRunning(self));
    EXPECT_TRUE(IsRunning(self.pid));
}

// A damaged lock or journal name can carry any number: one that names no process of this
// system is never taken for a live one.
TEST(ProcessStampTest, IdsNoProcessCanHaveDoNotRun) {
    EXPECT_FALSE(IsRunning(0L));
    EXPECT_FALSE(IsRunning(-1L));
    EXPECT_FALSE(IsRunning(std::numeric_limits<long>::min()));
    EXPECT_FALSE(IsRunning(ProcessStamp{-1, 0}));
    if constexpr (sizeof(long) > 4) {
        // Cut down to 32 bits these are -1 and this process's own id.
        const long minusOne = (1L << 32) - 1;
        EXPECT_FALSE(IsRunning(minusOne));
        EXPECT_FALSE(IsRunning((1L << 32) + ThisProcess().pid));
        EXPECT_FALSE(IsRunning(std::numeric_limits<long>::max()));
    }
}

TEST(ProcessStampTest, AnotherStartTimeIsAnotherProcess) {
    const ProcessStamp self = ThisProcess();
    if (!StartTimeOf(self.pid)) {
        GTEST_SKIP() << "this system does not tell when a process started";
    }
    EXPECT_FALSE(IsRunning(ProcessStamp{self.pid, self.start + 1}));
}

}  // namespace
}  // namespace tallyfold
