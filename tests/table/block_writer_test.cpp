#include "table/block_writer.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/support/faults.h"
#include "tests/support/files.h"

namespace tallyfold {
namespace {

using testing::ReadBytes;
using testing::ScopedFault;
using testing::TempDir;

std::vector<char> Block(char fill, std::size_t size) {
    return std::vector<char>(size, fill);
}

class BlockWriterTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(file.Create(path)); }

    TempDir dir;
    FilePath path = dir.File("blocks.bin");
    File file;
};

TEST_F(BlockWriterTest, BlocksLandAtTheirOffsetsAndBuffersComeBackEmpty) {
    {
        const std::unique_ptr<BlockWriter> started = BlockWriter::Start(file);
        ASSERT_NE(started, nullptr);
        BlockWriter& writer = *started;
        std::vector<char> block = Block('a', 3000);
        EXPECT_TRUE(writer.Submit(0, block));
        EXPECT_TRUE(block.empty());
        block = Block('b', 2000);
        EXPECT_TRUE(writer.Submit(3000, block));
        // The first buffer, written by now, comes back to be filled again.
        EXPECT_TRUE(block.empty());
        EXPECT_GE(block.capacity(), 3000u);
        block = Block('c', 10);
        EXPECT_TRUE(writer.Submit(1000, block));  // over bytes written before
        EXPECT_TRUE(writer.Wait());
        EXPECT_EQ(ReadBytes(path), std::string(1000, 'a') + std::string(10, 'c') +
                                       std::string(1990, 'a') + std::string(2000, 'b'));
        block = Block('d', 5);
        EXPECT_TRUE(writer.Submit(5000, block));
    }
    // Going away waits for the block in flight.
    EXPECT_EQ(ReadBytes(path).substr(5000), "ddddd");
}

TEST_F(BlockWriterTest, AFailedBlockIsReportedOnceAtTheNextCall) {
    ScopedFault fault(FileOperation::Write, 2);
    const std::unique_ptr<BlockWriter> started = BlockWriter::Start(file);
    ASSERT_NE(started, nullptr);
    BlockWriter& writer = *started;
    std::vector<char> block = Block('a', 100);
    EXPECT_TRUE(writer.Submit(0, block));
    block = Block('b', 100);
    EXPECT_TRUE(writer.Submit(100, block));  // the first block was written
    block = Block('c', 100);
    EXPECT_FALSE(writer.Submit(200, block));  // the second was not
    EXPECT_TRUE(writer.Wait());               // reported once; the third was written
    EXPECT_TRUE(fault.Failed());
    EXPECT_EQ(ReadBytes(path),
              std::string(100, 'a') + std::string(100, '\0') + std::string(100, 'c'));
}

TEST_F(BlockWriterTest, WaitReportsAFailureOfTheLastBlock) {
    ScopedFault fault(FileOperation::Write, 1);
    const std::unique_ptr<BlockWriter> started = BlockWriter::Start(file);
    ASSERT_NE(started, nullptr);
    BlockWriter& writer = *started;
    std::vector<char> block = Block('a', 100);
    EXPECT_TRUE(writer.Submit(0, block));
    EXPECT_FALSE(writer.Wait());
    EXPECT_TRUE(writer.Wait());
}

TEST_F(BlockWriterTest, NoWriterWhenNoThreadCanBeHad) {
    BlockWriter::SetThreadsAllowed(false);
    EXPECT_EQ(BlockWriter::Start(file), nullptr);
    BlockWriter::SetThreadsAllowed(true);
    EXPECT_NE(BlockWriter::Start(file), nullptr);
}

}  // namespace
}  // namespace tallyfold
