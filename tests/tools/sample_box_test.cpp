// The sample box that `make run` opens is what the sample program writes today.

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "tests/support/files.h"

namespace tallyfold {
namespace {

TEST(SampleBox, IsUpToDate) {
    testing::TempDir dir;
    const FilePath fresh = dir.File("sample.vok");
    const std::string command =
        std::string(TALLYFOLD_MAKE_SAMPLE) + " " + fresh.Bytes() + " > /dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0);
    const FilePath shipped(std::string(TALLYFOLD_SOURCE_DIR) + "/examples/sample.vok");
    std::string expected = testing::ReadBytes(fresh);
    std::string actual = testing::ReadBytes(shipped);
    ASSERT_GT(expected.size(), 4u);
    ASSERT_EQ(actual.size(), expected.size());
    // The date of the last save differs; everything else must not.
    actual.replace(1, 3, expected.substr(1, 3));
    EXPECT_EQ(actual, expected) << "run: make_sample examples/sample.vok";
}

}  // namespace
}  // namespace tallyfold
