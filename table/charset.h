#pragma once

// Card texts are Windows-1252 in memory and code page 850 ("OEM") in table files. One table of
// 80 characters converts between the two and names the backslash escapes that let a user type
// accented letters without a keyboard for them ("\"a" gives ä). Every search takes the first
// matching entry, so the order of the table matters.

#include <array>
#include <cstddef>
#include <span>
#include <string>
#include <string_view>

namespace tallyfold {

struct CharEntry {
    unsigned char oem;
    unsigned char ansi;
    /// One or two bytes typed after a backslash; unused bytes are zero.
    std::array<char, 2> name;
};

inline constexpr int kCharTableSize = 80;
extern const std::array<CharEntry, kCharTableSize> kCharTable;

/// The OEM code of the first entry with this ANSI code, or the program's own code for a
/// character the table leaves out; `c` itself otherwise. Every defined Windows-1252 byte comes
/// back from `OemToAnsiChar` unchanged.
unsigned char AnsiToOemChar(unsigned char c);
/// The ANSI code of the first entry with this OEM code, or the character of one of the
/// program's own codes; `c` itself otherwise.
unsigned char OemToAnsiChar(unsigned char c);
/// False for the five bytes Windows-1252 leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D): they
/// are no character, and a card never holds one.
bool IsDefinedAnsi(unsigned char c);
/// True when every byte of `text` is `IsDefinedAnsi`. An import asks it of every line: a run
/// without a byte of 0x80 to 0x9F, most of any text, is passed over many bytes at a time.
bool AllDefinedAnsi(std::string_view text);
/// The two conversions as byte-indexed maps (identity below 0x80), for converters that walk
/// texts in their own way.
const std::array<unsigned char, 256>& AnsiToOemMap();
const std::array<unsigned char, 256>& OemToAnsiMap();
/// Position (0 to 79) of the first entry whose escape name begins `text`, or -1.
int FindEscape(std::string_view text);

// The text operations below work in place on the text in `text`, which ends at its first zero
// byte or at the end of the span. They never grow it: an escape is at least two bytes and
// yields one. Each returns the new length and writes a terminating zero when there is room.

/// Converts every byte of 0x80 or above from OEM to ANSI.
std::size_t TextOemToAnsi(std::span<char> text);
/// Converts every byte of 0x80 or above from ANSI to OEM; backslashes stay as they are.
std::size_t TextAnsiToOem(std::span<char> text);
/// Converts every byte of 0x80 or above from ANSI to OEM and expands escapes to OEM codes.
std::size_t TextAnsiToOemEscaped(std::span<char> text);
/// Expands escapes to ANSI codes; other bytes stay as they are.
std::size_t ExpandEscapesAnsi(std::span<char> text);
/// Expands the escapes of a UTF-8 text (up to its first zero byte) to the UTF-8 of their
/// characters, by the same rules; other bytes stay as they are. The escape of code 0 ends the
/// text where it stands.
std::string ExpandEscapesUtf8(std::string_view text);

}  // namespace tallyfold
