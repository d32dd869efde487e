#pragma once

#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

namespace tallyfold {

/// The text of string `id`, or an empty text for an id the table lacks.
std::string_view StringResource(int id);

/// Copies string `id` into `buffer`, at most `buffer.size() - 1` characters and a zero byte,
/// as the program's fixed-size text buffers hold them; returns the number of characters.
int LoadString(int id, std::span<char> buffer);

/// `format` with each "%d" replaced by the next of `numbers` in decimal ("%%" gives "%"), cut to
/// `limit` characters as a fixed-size buffer of `limit + 1` bytes would hold it. A "%d" without a
/// number left, and any other "%" sequence, stand as they are: a text from a table or a template
/// never decides what is read.
std::string FormatNumbers(std::string_view format, std::initializer_list<std::int64_t> numbers,
                          std::size_t limit);

/// `format` with each "%s" replaced by the next of `texts`; not cut, for the texts of message
/// boxes that name files and times.
std::string FormatTexts(std::string_view format, std::initializer_list<std::string_view> texts);

/// "1 card" or "7 cards": `count` with the string for one or for many.
std::string CountOf(std::int64_t count, int oneId, int manyId);

/// String `id` formatted with `numbers`, cut as an 80-byte text buffer holds it.
std::string FormatString(int id, std::initializer_list<std::int64_t> numbers);

}  // namespace tallyfold
