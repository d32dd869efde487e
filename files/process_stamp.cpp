#include "files/process_stamp.h"

// What is the same on every system; process_stamp_posix.cpp and process_stamp_windows.cpp
// ask the system itself, one of them built.

namespace tallyfold {

bool IsRunning(const ProcessStamp& stamp) {
    if (!IsRunning(stamp.pid)) {
        return false;
    }
    const std::optional<unsigned long long> now = StartTimeOf(stamp.pid);
    return !now || *now == stamp.start;
}

}  // namespace tallyfold
