#pragma once

// Texts between the program (Windows-1252 bytes; paths as UTF-8) and the Windows API (UTF-16).

#include <string>
#include <string_view>

#include "table/file_path.h"
#include "table/wide_text.h"
#include "table/windows1252.h"

namespace tallyfold::platform::win32 {

inline std::wstring Wide(std::string_view windows1252) {
    const std::u16string units = Windows1252ToUtf16(windows1252);
    return std::wstring(units.begin(), units.end());
}

/// A text the user typed or the system gives, as Windows-1252; a character the set lacks
/// becomes "?" (the edit controls refuse such characters, so it shows only in texts that the
/// program did not take from the user).
inline std::string Narrow(std::wstring_view wide) {
    std::string bytes;
    bytes.reserve(wide.size());
    for (const wchar_t unit : wide) {
        const std::optional<unsigned char> byte =
            Windows1252OfCodePoint(static_cast<char32_t>(unit));
        bytes.push_back(byte ? static_cast<char>(*byte) : '?');
    }
    return bytes;
}

/// A file name as the system spells it, for showing.
inline std::wstring WideName(const FilePath& path) {
    return WideFromUtf8(path.Bytes()).value_or(std::wstring());
}

}  // namespace tallyfold::platform::win32
