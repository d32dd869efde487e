#pragma once

#include <optional>

namespace tallyfold {

/// A process as other processes can recognise it later: its id and its start time. A process
/// id alone is handed out again once its process is gone; the pair is not.
struct ProcessStamp {
    long pid = 0;
    unsigned long long start = 0;
    friend bool operator==(const ProcessStamp&, const ProcessStamp&) = default;
};

/// This process.
ProcessStamp ThisProcess();

/// When the process `pid` started (clock ticks after boot on Linux, 100 ns units since 1601 on
/// Windows: only ever compared with itself); nothing when it runs no more or
/// it cannot be told.
std::optional<unsigned long long> StartTimeOf(long pid);

/// True while the stamped process runs. Where the start time cannot be read, a live process id
/// is taken as the stamped process.
bool IsRunning(const ProcessStamp& stamp);

/// True when the process with this id alone runs (for stamps that carry no start time).
bool IsRunning(long pid);

}  // namespace tallyfold
