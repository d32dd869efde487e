#include "files/memory_budget.h"

#include <windows.h>

#include <algorithm>

namespace tallyfold {

// The physical memory available, and, for a 32-bit process, the address space it has left,
// which runs out long before the memory does.
std::uint64_t AvailableMemory() {
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof status;
    if (!::GlobalMemoryStatusEx(&status)) {
        return 0;
    }
    return std::min<std::uint64_t>(status.ullAvailPhys, status.ullAvailVirtual);
}

}  // namespace tallyfold
