#pragma once

#include <pthread.h>

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "table/file_io.h"

namespace tallyfold {

/// Writes large blocks of a file on a thread of its own, so that the system's copying of one
/// block overlaps the composing of the next. One block is in flight at a time and blocks are
/// written in the order they are given; each finished block is handed to the system's
/// writeback at once. The owner must not use the file itself while a block is in flight: it
/// calls `Wait` first.
class BlockWriter {
  public:
    /// A writer for `file` with its thread running, or nothing when no thread can be started
    /// (the owner then writes its blocks itself).
    static std::unique_ptr<BlockWriter> Start(File& file);
    /// Makes `Start` fail to start its thread, as when the system has none to spare. Tests
    /// only: the program never calls it.
    static void SetThreadsAllowed(bool allowed);

    /// Waits for the block in flight, then ends the thread.
    ~BlockWriter();
    BlockWriter(const BlockWriter&) = delete;
    BlockWriter& operator=(const BlockWriter&) = delete;

    /// Waits for the block in flight, then starts writing `block` at `offset`; `block` gets
    /// back the finished block's buffer, emptied, to be filled again. False when a block given
    /// earlier could not be written (that failure is then reported once).
    [[nodiscard]] bool Submit(std::uint64_t offset, std::vector<char>& block);
    /// Waits until no block is in flight. False when a block given since the last report could
    /// not be written.
    [[nodiscard]] bool Wait();

  private:
    explicit BlockWriter(File& file);
    static void* ThreadMain(void* writer);
    void Run();
    bool WaitLocked(std::unique_lock<std::mutex>& lock);

    File& file_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<char> block_;
    std::uint64_t offset_ = 0;
    bool busy_ = false;
    bool failed_ = false;
    bool stopping_ = false;
    // The block written last, left to the system's writeback; only the thread uses these.
    std::uint64_t releasableOffset_ = 0;
    std::uint64_t releasable_ = 0;
    pthread_t thread_{};
    bool started_ = false;
};

}  // namespace tallyfold
