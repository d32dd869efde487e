#include "table/block_writer.h"

#include <atomic>
#include <cerrno>
#include <utility>

namespace tallyfold {

namespace {

std::atomic<bool>& ThreadsAllowed() {
    static std::atomic<bool> allowed{true};
    return allowed;
}

}  // namespace

void BlockWriter::SetThreadsAllowed(bool allowed) {
    ThreadsAllowed() = allowed;
}

BlockWriter::BlockWriter(File& file) : file_(file) {}

std::unique_ptr<BlockWriter> BlockWriter::Start(File& file) {
    std::unique_ptr<BlockWriter> writer(new BlockWriter(file));
    const int created = ThreadsAllowed() ? ::pthread_create(&writer->thread_, nullptr,
                                                            &BlockWriter::ThreadMain, writer.get())
                                         : EAGAIN;
    if (created != 0) {
        return nullptr;  // the writer goes without a thread to end
    }
    writer->started_ = true;
    return writer;
}

void* BlockWriter::ThreadMain(void* writer) {
    static_cast<BlockWriter*>(writer)->Run();
    return nullptr;
}

BlockWriter::~BlockWriter() {
    if (!started_) {
        return;
    }
    {
        std::unique_lock<std::mutex> lock(mutex_);
        changed_.wait(lock, [this] { return !busy_; });
        stopping_ = true;
    }
    changed_.notify_all();
    ::pthread_join(thread_, nullptr);
}

bool BlockWriter::Submit(std::uint64_t offset, std::vector<char>& block) {
    bool earlier = true;
    {
        std::unique_lock<std::mutex> lock(mutex_);
        earlier = WaitLocked(lock);
        std::swap(block_, block);
        offset_ = offset;
        busy_ = true;
    }
    changed_.notify_all();
    block.clear();
    return earlier;
}

bool BlockWriter::Wait() {
    std::unique_lock<std::mutex> lock(mutex_);
    return WaitLocked(lock);
}

bool BlockWriter::WaitLocked(std::unique_lock<std::mutex>& lock) {
    changed_.wait(lock, [this] { return !busy_; });
    return !std::exchange(failed_, false);
}

void BlockWriter::Run() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return busy_ || stopping_; });
        if (!busy_) {
            return;  // stopping, with nothing in flight
        }
        // The block and its offset stay untouched while busy: the owner waits before it
        // changes them, so they are used here without the lock.
        lock.unlock();
        const bool written = file_.WriteAt(offset_, block_);
        if (written) {
            file_.StartWriteback(offset_, block_.size());
            // The block before has had its time to reach the disk; its memory serves the
            // blocks to come.
            if (releasable_ > 0) {
                file_.ReleaseWritten(releasableOffset_, releasable_);
            }
            releasableOffset_ = offset_;
            releasable_ = block_.size();
        }
        lock.lock();
        failed_ = failed_ || !written;
        busy_ = false;
        changed_.notify_all();
    }
}

}  // namespace tallyfold
