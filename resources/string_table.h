#pragma once

#include <span>
#include <string_view>

namespace tallyfold {

/// The text of string `id`, or an empty text for an id the table lacks.
std::string_view StringResource(int id);

/// Copies string `id` into `buffer`, at most `buffer.size() - 1` characters and a zero byte,
/// as the program's fixed-size text buffers hold them; returns the number of characters.
int LoadString(int id, std::span<char> buffer);

}  // namespace tallyfold
