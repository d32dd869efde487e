#include "files/memory_budget.h"

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace tallyfold {

namespace {

// "MemAvailable" of /proc/meminfo: free memory and what the cache gives back, in bytes.
std::uint64_t SystemAvailable() {
    std::FILE* info = std::fopen("/proc/meminfo", "r");
    if (info == nullptr) {
        const long pages = ::sysconf(_SC_AVPHYS_PAGES);
        const long size = ::sysconf(_SC_PAGESIZE);
        return pages > 0 && size > 0
                   ? static_cast<std::uint64_t>(pages) * static_cast<std::uint64_t>(size)
                   : 0;
    }
    char line[256];
    std::uint64_t available = 0;
    while (std::fgets(line, sizeof line, info) != nullptr) {
        unsigned long long kib = 0;
        if (std::sscanf(line, "MemAvailable: %llu kB", &kib) == 1) {
            available = static_cast<std::uint64_t>(kib) * 1024;
            break;
        }
    }
    std::fclose(info);
    return available;
}

// What a limit of the process leaves beyond the memory it holds already is not known here;
// the limit itself bounds what one load may take.
std::uint64_t Limit(int resource) {
    struct rlimit limit {};
    if (::getrlimit(resource, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) {
        return 0;
    }
    return static_cast<std::uint64_t>(limit.rlim_cur);
}

}  // namespace

std::uint64_t AvailableMemory() {
    std::uint64_t budget = SystemAvailable();
    for (const int resource : {RLIMIT_AS, RLIMIT_DATA}) {
        const std::uint64_t limit = Limit(resource);
        if (limit != 0) {
            budget = budget == 0 ? limit : std::min(budget, limit);
        }
    }
    return budget;
}

}  // namespace tallyfold
