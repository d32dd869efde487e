#pragma once

// Makes one chosen file operation fail, for as long as the object lives.

#include <map>
#include <memory>
#include <mutex>

#include "table/file_io.h"

namespace tallyfold::testing {

class ScopedFault {
  public:
    /// The `failAt`-th operation of kind `operation` (counted from 1) fails; with `sticky`,
    /// every later one of that kind fails too. `failAt` 0 fails nothing and only counts.
    ScopedFault(FileOperation operation, int failAt, bool sticky = false)
        : state_(std::make_shared<State>()) {
        std::shared_ptr<State> state = state_;
        SetFaultHook([state, operation, failAt, sticky](FileOperation seen) {
            const std::lock_guard<std::mutex> hold(state->mutex);
            const int count = ++state->counts[seen];
            if (seen != operation || failAt == 0) {
                return false;
            }
            const bool fail = sticky ? count >= failAt : count == failAt;
            state->failed = state->failed || fail;
            return fail;
        });
    }
    ~ScopedFault() { SetFaultHook(nullptr); }
    ScopedFault(const ScopedFault&) = delete;
    ScopedFault& operator=(const ScopedFault&) = delete;

    /// How many operations of this kind were asked for so far.
    int Count(FileOperation operation) const {
        const std::lock_guard<std::mutex> hold(state_->mutex);
        auto found = state_->counts.find(operation);
        return found == state_->counts.end() ? 0 : found->second;
    }
    /// True once the chosen operation was made to fail.
    bool Failed() const {
        const std::lock_guard<std::mutex> hold(state_->mutex);
        return state_->failed;
    }

  private:
    // Asked from every thread that reads or writes files (a load reads with two).
    struct State {
        std::mutex mutex;
        std::map<FileOperation, int> counts;
        bool failed = false;
    };
    std::shared_ptr<State> state_;
};

}  // namespace tallyfold::testing
