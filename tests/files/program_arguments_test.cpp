#include "files/program_arguments.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "tests/support/files.h"
#include "tests/support/test_child.h"

namespace tallyfold {
namespace {

#if defined(_WIN32)

// "C:\Übungen\wörter.vok" and a name in Japanese, with a blank: what the child is started with.
const std::string kSpelt =
    "C:\\\xC3\x9C"
    "bungen\\w\xC3\xB6rter \xE5\x8D\x98\xE8\xAA\x9E.vok";

// Started with the name on its command line (and gtest's own options before it).
TEST(StartedWithAName, DISABLED_ReadsIt) {
    const std::vector<std::string> arguments = ProgramArguments(__argc, __argv);
    ASSERT_FALSE(arguments.empty());
    EXPECT_EQ(arguments.back(), kSpelt);
}

TEST(ProgramArguments, ANameInAnyScriptArrivesAsUtf8) {
    testing::TestChild child("StartedWithAName.DISABLED_ReadsIt", kSpelt);
    ASSERT_TRUE(child.Started());
    EXPECT_EQ(child.Wait(), 0u);
}

#else

TEST(ProgramArguments, TheBytesAfterTheProgramsNameAsGiven) {
    std::string name = "w\xF6rter.vok";  // not even UTF-8: a POSIX name is bytes
    std::string program = "tallyfold";
    char* argv[] = {program.data(), name.data(), nullptr};
    EXPECT_EQ(ProgramArguments(2, argv), std::vector<std::string>{name});
    EXPECT_EQ(ProgramArguments(1, argv), std::vector<std::string>{});
}

#endif

}  // namespace
}  // namespace tallyfold
