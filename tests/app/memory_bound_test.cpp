// Files that would make the program take memory out of all proportion, each opened in a child
// process whose address space is limited to a little more than it holds already: the child
// must end normally, with the file refused or read in bounded memory.
//
// POSIX only (left out of the Windows build): the bound is set with fork and setrlimit, which
// Windows lacks. Its counterpart there would be a child in a job object with a memory limit,
// which these tests do not make yet.

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <string>

#include "document/journal_ops.h"
#include "document/recovery.h"
#include "document/text_import.h"
#include "files/vok_file.h"
#include "tests/support/app_fixture.h"
#include "tests/support/dbf_image.h"
#include "tests/support/files.h"

namespace tallyfold {
namespace {

constexpr std::uint64_t kHeadroom = 192ull << 20;

// The address space the process holds now, in bytes.
std::uint64_t AddressSpace() {
    std::ifstream statm("/proc/self/statm");
    std::uint64_t pages = 0;
    statm >> pages;
    return pages * static_cast<std::uint64_t>(::sysconf(_SC_PAGESIZE));
}

// Runs `work` in a child limited to its present address space and `kHeadroom` more; the
// child's exit code is `work`'s result, or -1 when it did not end normally (an abort for
// want of memory).
int RunLimited(const std::function<int()>& work) {
    const pid_t child = ::fork();
    if (child == 0) {
        const rlim_t limit = static_cast<rlim_t>(AddressSpace() + kHeadroom);
        const struct rlimit bound { limit, limit };
        if (::setrlimit(RLIMIT_AS, &bound) != 0) {
            std::_Exit(100);
        }
        ::alarm(60);
        std::_Exit(work());
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool UnderASanitizer() {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    return true;
#else
    return false;
#endif
}

class MemoryBoundTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (UnderASanitizer()) {
            GTEST_SKIP() << "the sanitizers reserve more address space than any limit allows";
        }
    }
    testing::TempDir dir;
};

TEST_F(MemoryBoundTest, RecordsTooSmallForACardAreNoVocabulary) {
    // A header of 33 bytes and records of one byte: once 900,000 empty cards.
    const FilePath path = dir.File("tiny.vok");
    testing::WriteBytes(path, testing::HeaderImage({}, 900000) + std::string(900000, ' ') + "\x1A");
    EXPECT_EQ(RunLimited([&path] {
                  tCardBox box;
                  const LoadResult result = LoadVokFile(path, box);
                  return !result.opened && result.refused == LoadRefusal::NoCardFields &&
                                 box.TotalCards() == 0
                             ? 0
                             : 1;
              }),
              0);
}

TEST_F(MemoryBoundTest, ASparseFileClaimingEveryRecordHoldsNone) {
    const std::vector<testing::FieldLayout> fields = {{"DEUTSCH", 'C', 64},
                                                      {"UEBERSETZT", 'C', 64}};
    const FilePath path = dir.File("sparse.vok");
    testing::WriteBytes(path, testing::HeaderImage(fields, 0xFFFFFFFFu));
    ASSERT_EQ(::truncate(path.CString(), 3ll << 30), 0);  // 3 GB of zeros, on no disk
    EXPECT_EQ(RunLimited([&path] {
                  tCardBox box;
                  const LoadResult result = LoadVokFile(path, box);
                  return result.opened && result.loaded == 0 && result.Damaged() ? 0 : 1;
              }),
              0);
}

TEST_F(MemoryBoundTest, MoreCardsThanTheMemoryTakesAreRefusedWhole) {
    // Four million records of two bytes: a small file, but more cards than the limit holds.
    const std::vector<testing::FieldLayout> fields = {{"DEUTSCH", 'C', 1}};
    const FilePath path = dir.File("many.vok");
    {
        std::string bytes = testing::HeaderImage(fields, 4000000);
        for (int i = 0; i < 4000000; ++i) {
            bytes += " q";
        }
        testing::WriteBytes(path, bytes + "\x1A");
    }
    EXPECT_EQ(RunLimited([&path] {
                  tCardBox box;
                  const LoadResult result = LoadVokFile(path, box);
                  return !result.opened && result.refused == LoadRefusal::TooLarge &&
                                 result.counted == 4000000 && box.TotalCards() == 0
                             ? 0
                             : 1;
              }),
              0);
}

TEST_F(MemoryBoundTest, AnImportFileWithoutLineFeedsIsReadInBoundedMemory) {
    const FilePath path = dir.File("one-line.txt");
    {
        std::ofstream out(path.Bytes(), std::ios::binary);
        const std::string block(1 << 20, 'x');
        for (int i = 0; i < 400; ++i) {  // 400 MB, more than the limit leaves
            out.write(block.data(), static_cast<std::streamsize>(block.size()));
        }
        out << ";answer\nnext;line\n";
    }
    EXPECT_EQ(RunLimited([&path] {
                  ImportFile file;
                  if (!file.Open(path) || file.LineCount() != 2) {
                      return 1;
                  }
                  std::string line;
                  int problem = kImportAccepted;
                  if (!file.NextLine(line, problem) || !file.LineTooLong() ||
                      line.size() != ImportFile::kLineKept) {
                      return 2;
                  }
                  if (!file.NextLine(line, problem) || line != "next;line") {
                      return 3;
                  }
                  return 0;
              }),
              0);
}

// An import of more lines than the memory can take cards for is refused before its first card.
TEST_F(MemoryBoundTest, AnImportOfMoreCardsThanTheMemoryTakesIsRefusedWhole) {
    const FilePath many = dir.File("many.txt");
    const FilePath few = dir.File("few.txt");
    {
        std::ofstream out(many.Bytes(), std::ios::binary);
        const std::string lines = [] {
            std::string block;
            for (int i = 0; i < 1000; ++i) {
                block += "q;a\n";
            }
            return block;
        }();
        for (int i = 0; i < 4000; ++i) {  // four million lines, 16 MB
            out.write(lines.data(), static_cast<std::streamsize>(lines.size()));
        }
        std::ofstream small(few.Bytes(), std::ios::binary);
        small << "Haus;house\nBaum;tree\n";
    }
    EXPECT_EQ(RunLimited([&many, &few] {
                  ImportFile file;
                  if (!file.Open(many) || file.LineCount() != 4000000) {
                      return 1;
                  }
                  if (file.FitsInMemory()) {
                      return 2;
                  }
                  ImportFile small;
                  return small.Open(few) && small.FitsInMemory() ? 0 : 3;
              }),
              0);
}

// The journal of a run that imported two million cards and ended: 54 MB of small entries. It is
// read an entry at a time (whole, its entries once took five times its size), and the cards its
// replay would add are more than the memory takes: the offer is refused with a message, before
// any of them is made, and the journal is kept aside.
class MemoryBoundAppTest : public testing::AppTest {
  protected:
    void SetUp() override {
        if (UnderASanitizer()) {
            GTEST_SKIP() << "the sanitizers reserve more address space than any limit allows";
        }
    }
};

TEST_F(MemoryBoundAppTest, AJournalOfMoreCardsThanTheMemoryTakesIsRefusedBeforeItsReplay) {
    // A run that ended long ago: no process has that number now.
    const FilePath path = journals.Child("untitled-2147480000-1-1.journal");
    {
        JournalWriter writer;
        ASSERT_TRUE(writer.Create(path, JournalBase()));
        writer.Add(EncodeJournalOp(journal_op::Begin{StepName::Import}).Bytes());
        const std::string card =
            EncodeJournalOp(journal_op::AddCard{std::string_view("q"), std::string_view("a"), 0, 0})
                .Bytes();
        for (int i = 0; i < 2000000; ++i) {
            writer.Add(card);
        }
        writer.Add(EncodeJournalOp(journal_op::End{}).Bytes());
        writer.Close();
    }
    EXPECT_EQ(RunLimited([this, &path] {
                  const std::optional<Recovery> recovery = ReadRecovery(path);
                  if (!recovery || recovery->count.cards != 2000000 || FitsInMemory(*recovery)) {
                      return 1;
                  }
                  Start();
                  const std::vector<std::string> texts = MessageTexts();
                  if (texts.size() != 1 || texts[0].rfind("The unsaved changes of", 0) != 0 ||
                      texts[0].find(DamagedJournalPath(path).Bytes()) == std::string::npos) {
                      return 2;
                  }
                  return box.TotalCards() == 0 && !view->Changed() &&
                                 std::filesystem::exists(DamagedJournalPath(path).Bytes())
                             ? 0
                             : 3;
              }),
              0);
}

}  // namespace
}  // namespace tallyfold
