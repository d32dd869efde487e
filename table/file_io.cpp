#include "table/file_io.h"

#include <utility>

#include "table/fault_hook.h"

// The parts of the file layer that are the same on every system; file_io_posix.cpp and
// file_io_windows.cpp hold the rest, one of them built.

namespace tallyfold {

namespace {

FaultHook& Hook() {
    static FaultHook hook;
    return hook;
}

}  // namespace

void SetFaultHook(FaultHook hook) {
    Hook() = std::move(hook);
}

bool HookRefuses(FileOperation operation) {
    const FaultHook& hook = Hook();
    return hook && hook(operation);
}

File::~File() {
    Close();
}

File::File(File&& other) noexcept
    : handle_(std::exchange(other.handle_, kNoHandle)),
      writable_(std::exchange(other.writable_, false)) {}

File& File::operator=(File&& other) noexcept {
    if (this != &other) {
        Close();
        handle_ = std::exchange(other.handle_, kNoHandle);
        writable_ = std::exchange(other.writable_, false);
    }
    return *this;
}

bool SameFile(const FilePath& a, const FilePath& b) {
    const std::optional<FileStatus> first = StatusOf(a);
    const std::optional<FileStatus> second = StatusOf(b);
    return first && second && first->volume == second->volume && first->index == second->index;
}

}  // namespace tallyfold
