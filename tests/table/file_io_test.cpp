#include "table/file_io.h"

#include <gtest/gtest.h>

#if defined(_WIN32)
#include <windows.h>
#else
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "table/native_path.h"
#include "tests/support/files.h"

namespace tallyfold {
namespace {

std::string ReadWhole(File& file) {
    std::string bytes(static_cast<std::size_t>(file.Size()), '\0');
    const std::int64_t got = file.ReadAt(0, {bytes.data(), bytes.size()});
    bytes.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    return bytes;
}

TEST(FileRename, ReplacesAFileInTheWayAndMovesWhereThereIsNone) {
    testing::TempDir dir;
    const FilePath target = dir.File("words.vok");
    const FilePath temp = dir.File("words.vok.tmp");
    testing::WriteBytes(temp, "first");
    ASSERT_TRUE(RenameFile(temp, target));
    EXPECT_EQ(testing::ReadBytes(target), "first");
    EXPECT_FALSE(IsRegularFile(temp));
    testing::WriteBytes(temp, "second");
    ASSERT_TRUE(RenameFile(temp, target));
    EXPECT_EQ(testing::ReadBytes(target), "second");
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"words.vok"});
}

TEST(FileRename, AFileStillOpenIsReplacedOnlyWhereTheSystemAllowsIt) {
    testing::TempDir dir;
    const FilePath target = dir.File("words.vok");
    testing::WriteBytes(target, "old bytes");
    File old;
    ASSERT_TRUE(old.OpenExisting(target));
    File same;
    ASSERT_TRUE(same.OpenSame(old));
    testing::WriteBytes(dir.File("new"), "new");
#if defined(_WIN32)
    // Windows keeps the name of a file that is open: the replacement waits for the close.
    EXPECT_FALSE(RenameFile(dir.File("new"), target));
    EXPECT_EQ(testing::ReadBytes(target), "old bytes");
    same.Close();
    old.Close();
    EXPECT_TRUE(RenameFile(dir.File("new"), target));
#else
    ASSERT_TRUE(RenameFile(dir.File("new"), target));
    EXPECT_EQ(ReadWhole(same), "old bytes");
    EXPECT_EQ(ReadWhole(old), "old bytes");
#endif
    EXPECT_EQ(testing::ReadBytes(target), "new");
}

TEST(FileStatus, TellsSizeTimeAndKindWithoutOpening) {
    testing::TempDir dir;
    const FilePath path = dir.File("words.vok");
    EXPECT_FALSE(StatusOf(path).has_value());
    testing::WriteBytes(path, "12345");
    const std::optional<FileStatus> status = StatusOf(path);
    ASSERT_TRUE(status.has_value());
    EXPECT_TRUE(status->regular);
    EXPECT_EQ(status->size, 5u);
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    const std::int64_t nowNs = std::chrono::duration_cast<std::chrono::nanoseconds>(now).count();
    EXPECT_LT(std::abs(nowNs - status->modifiedNs), std::int64_t{600} * 1000000000LL);
    const std::optional<FileStatus> folder = StatusOf(FilePath(dir.Path()));
    ASSERT_TRUE(folder.has_value());
    EXPECT_FALSE(folder->regular);
    File file;
    EXPECT_FALSE(file.OpenExisting(FilePath(dir.Path())));
}

TEST(FileLink, ASecondNameCountsAsALink) {
    testing::TempDir dir;
    const FilePath path = dir.File("words.vok");
    testing::WriteBytes(path, "bytes");
    EXPECT_EQ(LinkCount(path), 1u);
    ASSERT_TRUE(LinkFile(path, dir.File("other.vok")));
    EXPECT_EQ(LinkCount(path), 2u);
    EXPECT_FALSE(LinkFile(path, dir.File("other.vok")));  // the name is taken
    EXPECT_EQ(testing::ReadBytes(dir.File("other.vok")), "bytes");
}

TEST(FileNames, NamesInAnyScriptAreCreatedReadRenamedAndListed) {
    testing::TempDir dir;
    const FilePath folder = dir.File(
        "\xc3\x9c"
        "bungen");  // Übungen
    ASSERT_TRUE(std::filesystem::create_directory(NativePath(folder)));
    // wörter, λέξεις, 単語
    for (const std::string name :
         {"w\xc3\xb6rter.vok", "\xce\xbb\xce\xad\xce\xbe\xce\xb5\xce\xb9\xcf\x82.vok",
          "\xe5\x8d\x98\xe8\xaa\x9e.vok"}) {
        const FilePath path = folder.Child(name);
        File file;
        ASSERT_TRUE(file.CreateNew(path)) << name;
        ASSERT_TRUE(file.WriteAt(0, {name.data(), name.size()}));
        ASSERT_TRUE(file.Close());
        EXPECT_TRUE(IsRegularFile(path));
        EXPECT_EQ(testing::ReadBytes(path), name);
        ASSERT_TRUE(RenameFile(path, path.WithExtension(".kas")));
        EXPECT_EQ(testing::ReadBytes(path.WithExtension(".kas")), name);
    }
    std::vector<std::string> listed;
    for (const auto& entry : std::filesystem::directory_iterator(NativePath(folder))) {
        listed.push_back(PathFromNative(entry.path().filename()).Bytes());
    }
    std::sort(listed.begin(), listed.end());
    EXPECT_EQ(listed,
              (std::vector<std::string>{"w\xc3\xb6rter.kas",
                                        "\xce\xbb\xce\xad\xce\xbe\xce\xb5\xce\xb9\xcf\x82.kas",
                                        "\xe5\x8d\x98\xe8\xaa\x9e.kas"}));
}

#if defined(_WIN32)

// A handle as another program would hold the file: sharing nothing, or reads alone.
HANDLE HoldOpen(const FilePath& path, DWORD share) {
    return ::CreateFileW(NativePath(path).c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
}

TEST(WindowsFiles, AReplaceOfAFileAnotherProgramHoldsOpenFailsAndKeepsIt) {
    testing::TempDir dir;
    const FilePath target = dir.File("words.vok");
    testing::WriteBytes(target, "old");
    testing::WriteBytes(dir.File("new"), "new");
    const HANDLE held = HoldOpen(target, FILE_SHARE_READ);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(RenameFile(dir.File("new"), target));
    ::CloseHandle(held);
    EXPECT_EQ(testing::ReadBytes(target), "old");
    EXPECT_EQ(testing::ReadBytes(dir.File("new")), "new");
    EXPECT_TRUE(RenameFile(dir.File("new"), target));
    EXPECT_EQ(testing::ReadBytes(target), "new");
}

TEST(WindowsFiles, AReadOnlyFileOpensForReadingOnly) {
    testing::TempDir dir;
    const FilePath path = dir.File("words.vok");
    testing::WriteBytes(path, "bytes");
    ASSERT_TRUE(::SetFileAttributesW(NativePath(path).c_str(), FILE_ATTRIBUTE_READONLY));
    // Wine keeps the attribute as the file's write permission bits, which do not stop root.
    const HANDLE writer = ::CreateFileW(NativePath(path).c_str(), GENERIC_WRITE, 0, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (writer != INVALID_HANDLE_VALUE) {
        ::CloseHandle(writer);
        GTEST_SKIP() << "this user may write read-only files (Wine run by root)";
    }
    File file;
    ASSERT_TRUE(file.OpenExisting(path));
    EXPECT_FALSE(file.IsWritable());
    EXPECT_FALSE(file.WriteAt(0, {"x", 1}));
    EXPECT_EQ(ReadWhole(file), "bytes");
    EXPECT_NE(PermissionsOf(path).value_or(0) & FILE_ATTRIBUTE_READONLY, 0u);
    ::SetFileAttributesW(NativePath(path).c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(WindowsFiles, ACreateOverAHiddenFileEmptiesItAndKeepsItHidden) {
    testing::TempDir dir;
    const FilePath path = dir.File("list.txt");
    testing::WriteBytes(path, "old lines");
    ASSERT_TRUE(::SetFileAttributesW(NativePath(path).c_str(), FILE_ATTRIBUTE_HIDDEN));
    File file;
    ASSERT_TRUE(file.Create(path));
    EXPECT_EQ(file.Size(), 0u);
    ASSERT_TRUE(file.WriteAt(0, {"new", 3}));
    ASSERT_TRUE(file.Close());
    EXPECT_EQ(testing::ReadBytes(path), "new");
    EXPECT_NE(::GetFileAttributesW(NativePath(path).c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
}

TEST(WindowsFiles, PathsLongerThanMaxPathWork) {
    testing::TempDir dir;
    const FilePath path = dir.File(std::string(200, 'w') + ".vok");
    const FilePath longer = path.Folder().Child(std::string(240, 'x') + ".vok");
    ASSERT_GT(longer.Bytes().size(), 260u);
    File file;
    ASSERT_TRUE(file.CreateNew(longer));
    ASSERT_TRUE(file.WriteAt(0, {"bytes", 5}));
    ASSERT_TRUE(file.Close());
    EXPECT_TRUE(IsRegularFile(longer));
    EXPECT_EQ(StatusOf(longer)->size, 5u);
    ASSERT_TRUE(RenameFile(longer, path));
    EXPECT_TRUE(IsRegularFile(path));
    EXPECT_FALSE(IsRegularFile(longer));
    EXPECT_TRUE(RemoveFile(path));
}

TEST(WindowsFiles, AFolderThatTakesNoFilesIsToldApart) {
    testing::TempDir dir;
    EXPECT_TRUE(FolderIsWritable(FilePath(dir.Path())));
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{});  // the probe leaves nothing
    EXPECT_FALSE(FolderIsWritable(dir.File("missing")));
}

#else

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

#endif  // FIFOs, users and fork are POSIX matters.

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
