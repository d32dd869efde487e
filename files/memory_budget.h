#pragma once

#include <cstdint>

namespace tallyfold {

/// The memory a load may still take: what the system says is available, and no more than the
/// process's own limits (address space, data) leave. Zero when nothing can be told, which
/// callers take as no limit.
std::uint64_t AvailableMemory();

}  // namespace tallyfold
