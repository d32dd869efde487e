#pragma once

#include <ctime>
#include <optional>

namespace tallyfold {

/// `seconds` on the local clock, safe on any thread (the C library's localtime is not);
/// nothing for a time the clock cannot show.
inline std::optional<std::tm> LocalTime(std::time_t seconds) {
    std::tm local{};
#if defined(_WIN32)
    const bool converted = localtime_s(&local, &seconds) == 0;
#else
    const bool converted = localtime_r(&seconds, &local) != nullptr;
#endif
    return converted ? std::optional<std::tm>(local) : std::nullopt;
}

/// `seconds` in UTC, as `LocalTime` does it on the local clock.
inline std::optional<std::tm> UtcTime(std::time_t seconds) {
    std::tm utc{};
#if defined(_WIN32)
    const bool converted = gmtime_s(&utc, &seconds) == 0;
#else
    const bool converted = gmtime_r(&seconds, &utc) != nullptr;
#endif
    return converted ? std::optional<std::tm>(utc) : std::nullopt;
}

}  // namespace tallyfold
