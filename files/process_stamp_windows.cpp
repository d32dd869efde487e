#include "files/process_stamp.h"

#include <windows.h>

// Processes on Windows: the id, and the creation time that GetProcessTimes reports, which
// keeps a reused id apart from the process that had it before.

namespace tallyfold {

namespace {

// A handle that may only ask; closed on leaving the scope.
class ProcessQuery {
  public:
    // Waiting needs the right to synchronise, which a process of another user may not give;
    // then the query alone is asked for.
    explicit ProcessQuery(long pid) {
        if (pid <= 0) {
            return;
        }
        const auto id = static_cast<DWORD>(pid);
        handle_ = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE, FALSE, id);
        if (handle_ == nullptr && ::GetLastError() == ERROR_ACCESS_DENIED) {
            handle_ = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id);
        }
        error_ = handle_ == nullptr ? ::GetLastError() : ERROR_SUCCESS;
    }
    ~ProcessQuery() {
        if (handle_ != nullptr) {
            ::CloseHandle(handle_);
        }
    }
    ProcessQuery(const ProcessQuery&) = delete;
    ProcessQuery& operator=(const ProcessQuery&) = delete;

    HANDLE Handle() const { return handle_; }
    DWORD Error() const { return error_; }

  private:
    HANDLE handle_ = nullptr;
    DWORD error_ = ERROR_INVALID_PARAMETER;
};

bool HasEnded(HANDLE process) {
    const DWORD waited = ::WaitForSingleObject(process, 0);
    if (waited != WAIT_FAILED) {
        return waited == WAIT_OBJECT_0;
    }
    // Without the right to wait: a process that runs has no exit code yet.
    DWORD code = 0;
    return ::GetExitCodeProcess(process, &code) && code != STILL_ACTIVE;
}

}  // namespace

std::optional<unsigned long long> StartTimeOf(long pid) {
    const ProcessQuery process(pid);
    FILETIME created{};
    FILETIME exited{};
    FILETIME kernel{};
    FILETIME user{};
    if (process.Handle() == nullptr || HasEnded(process.Handle()) ||
        !::GetProcessTimes(process.Handle(), &created, &exited, &kernel, &user)) {
        return std::nullopt;
    }
    return (static_cast<unsigned long long>(created.dwHighDateTime) << 32) | created.dwLowDateTime;
}

ProcessStamp ThisProcess() {
    const long pid = static_cast<long>(::GetCurrentProcessId());
    return {pid, StartTimeOf(pid).value_or(0)};
}

bool IsRunning(long pid) {
    if (pid <= 0) {
        return false;
    }
    const ProcessQuery process(pid);
    if (process.Handle() == nullptr) {
        // A process of another user may not be asked, but it is there; an id that names no
        // process is refused as an invalid parameter.
        return process.Error() == ERROR_ACCESS_DENIED;
    }
    return !HasEnded(process.Handle());
}

}  // namespace tallyfold
