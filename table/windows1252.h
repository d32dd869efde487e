#pragma once

// Windows-1252, the character set of every card text, against Unicode. Bytes 0x81, 0x8D, 0x8F,
// 0x90 and 0x9D have no character of their own; they map to the control characters of the same
// number, as the Windows conversion does, so every byte value crosses both ways unchanged.

#include <optional>
#include <string>
#include <string_view>

namespace tallyfold {

/// The Unicode code point of a Windows-1252 byte.
char32_t CodePointOfWindows1252(unsigned char byte);
/// The Windows-1252 byte of a code point, or nothing when the set has no such character (the
/// control codes U+0080 to U+009F included: the set's undefined bytes are no characters).
std::optional<unsigned char> Windows1252OfCodePoint(char32_t codePoint);

/// The byte that `CodePointOfWindows1252` turns into `codePoint`, the five undefined bytes
/// included, or nothing: the inverse for texts that cross a file that holds every byte.
std::optional<unsigned char> Windows1252ByteOf(char32_t codePoint);

/// The `Windows1252ByteOf` of the character at `at` in well-formed UTF-8, `at` moved past it;
/// nothing for a character the set lacks. Latin-1 characters are found without a search.
std::optional<unsigned char> NextWindows1252Byte(std::string_view utf8, std::size_t& at);

/// Appends the UTF-8 form of code point `c` (at most U+10FFFF).
void AppendUtf8(std::string& out, char32_t c);
/// Windows-1252 bytes as UTF-8.
std::string Windows1252ToUtf8(std::string_view text);

/// UTF-8 as Windows-1252 bytes; nothing when the text is not valid UTF-8 or holds a character
/// that Windows-1252 cannot represent.
std::optional<std::string> Utf8ToWindows1252(std::string_view text);

}  // namespace tallyfold
