#pragma once

// Windows has no fork: a test that needs a second process starts this test program once more
// and has it run one disabled test alone, named by `TestChild`. The child learns what to do
// from environment variables that the parent sets before it starts it.

#if defined(_WIN32)

#include <windows.h>

#include <chrono>
#include <string>
#include <thread>

#include "table/file_io.h"
#include "table/wide_text.h"

namespace tallyfold::testing {

class TestChild {
  public:
    /// Starts this program running the test `name` ("Suite.DISABLED_Case") alone, with
    /// `argument` (UTF-8), quoted, last on its command line when it is not empty.
    explicit TestChild(const std::string& name, const std::string& argument = "") {
        wchar_t program[MAX_PATH] = {};
        ::GetModuleFileNameW(nullptr, program, MAX_PATH);
        std::wstring command = L"\"" + std::wstring(program) + L"\" --gtest_filter=" +
                               std::wstring(name.begin(), name.end()) +
                               L" --gtest_also_run_disabled_tests";
        if (!argument.empty()) {
            command += L" \"" + WideFromUtf8(argument).value_or(L"?") + L"\"";
        }
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        started_ = ::CreateProcessW(program, command.data(), nullptr, nullptr, FALSE,
                                    CREATE_NO_WINDOW, nullptr, nullptr, &startup, &process_) != 0;
    }
    ~TestChild() {
        if (started_) {
            Kill();
            ::CloseHandle(process_.hProcess);
            ::CloseHandle(process_.hThread);
        }
    }
    TestChild(const TestChild&) = delete;
    TestChild& operator=(const TestChild&) = delete;

    bool Started() const { return started_; }
    long Pid() const { return static_cast<long>(process_.dwProcessId); }
    /// Ends the child at once, wherever it is, as the task manager does.
    void Kill() {
        if (started_) {
            ::TerminateProcess(process_.hProcess, 9);
            ::WaitForSingleObject(process_.hProcess, INFINITE);
        }
    }
    /// Waits for the child's end; its exit code (0 when its test passed).
    unsigned long Wait() {
        DWORD code = 1;
        if (started_) {
            ::WaitForSingleObject(process_.hProcess, INFINITE);
            ::GetExitCodeProcess(process_.hProcess, &code);
        }
        return code;
    }

  private:
    PROCESS_INFORMATION process_{};
    bool started_ = false;
};

/// Waits until `marker` exists (a child made it), for at most a minute.
inline bool WaitForFile(const FilePath& marker) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(1);
    while (!IsRegularFile(marker)) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::yield();
    }
    return true;
}

}  // namespace tallyfold::testing

#endif
