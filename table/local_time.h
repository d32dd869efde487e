#pragma once

#include <ctime>

namespace tallyfold {

/// `seconds` on the local clock, safe on any thread (the C library's localtime is not).
inline std::tm LocalTime(std::time_t seconds) {
    std::tm local{};
#if defined(_WIN32)
    localtime_s(&local, &seconds);
#else
    localtime_r(&seconds, &local);
#endif
    return local;
}

}  // namespace tallyfold
