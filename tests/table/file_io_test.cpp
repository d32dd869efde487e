#include "table/file_io.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "tests/support/files.h"

namespace tallyfold {
namespace {

// Runs `open` in a child process as a user other than the FIFO's owner (the nobody account
// when the tests run as root), so the FIFO may be read but not written: the case in which a
// plain open waits for a writer. True when the child ended within five seconds and `open`
// gave false.
template <typename Open>
bool RefusedAtOnceByAnotherUser(Open open) {
    const pid_t child = ::fork();
    if (child == 0) {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) {
            std::_Exit(3);
        }
        ::alarm(10);  // a hang ends the child, never the test program
        std::_Exit(open() ? 1 : 0);
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    int status = 0;
    while (::waitpid(child, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            ::kill(child, SIGKILL);
            ::waitpid(child, &status, 0);
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST(FileOpen, AFifoIsRefusedAtOnceEvenWhenItMayOnlyBeRead) {
    testing::TempDir dir;
    ASSERT_EQ(::chmod(dir.Path().c_str(), 0755), 0);  // the other user may look inside
    const FilePath fifo = dir.File("words.vok");
    ASSERT_EQ(::mkfifo(fifo.CString(), 0644), 0);
    EXPECT_TRUE(RefusedAtOnceByAnotherUser([&fifo] {
        File file;
        return file.OpenExisting(fifo);
    }));
    File file;
    EXPECT_FALSE(file.OpenExisting(fifo));  // and for its owner, who may write it
    EXPECT_FALSE(IsRegularFile(fifo));
}

TEST(FileOpen, ARegularFileOpensForBlockingReads) {
    testing::TempDir dir;
    const FilePath path = dir.File("plain.txt");
    testing::WriteBytes(path, "bytes");
    File file;
    ASSERT_TRUE(file.OpenExisting(path));
    char bytes[8];
    EXPECT_EQ(file.ReadAt(0, bytes), 5);
}

}  // namespace
}  // namespace tallyfold
