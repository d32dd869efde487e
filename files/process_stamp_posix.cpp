#include "files/process_stamp.h"

#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>

namespace tallyfold {

std::optional<unsigned long long> StartTimeOf(long pid) {
    std::FILE* stat = std::fopen(("/proc/" + std::to_string(pid) + "/stat").c_str(), "r");
    if (stat == nullptr) {
        return std::nullopt;
    }
    char line[1024];
    const bool read = std::fgets(line, sizeof line, stat) != nullptr;
    std::fclose(stat);
    // The name in parentheses may hold blanks; the fields after it are plain numbers, the
    // start time the 20th of them.
    const char* close = read ? std::strrchr(line, ')') : nullptr;
    if (close == nullptr) {
        return std::nullopt;
    }
    unsigned long long start = 0;
    if (std::sscanf(close + 1,
                    " %*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %*u %*u %*d %*d %*d "
                    "%*d %*d %*d %llu",
                    &start) != 1) {
        return std::nullopt;
    }
    return start;
}

ProcessStamp ThisProcess() {
    const long pid = static_cast<long>(::getpid());
    return {pid, StartTimeOf(pid).value_or(0)};
}

bool IsRunning(long pid) {
    // An id beyond the system's range names no process; cut down to a pid_t it could become
    // -1, for which kill() asks about every process there is.
    if (pid <= 0 || pid > std::numeric_limits<pid_t>::max()) {
        return false;
    }
    return !(::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH);
}

}  // namespace tallyfold
