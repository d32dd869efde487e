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

}  // namespace tallyfold
