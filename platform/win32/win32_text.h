#pragma once

// Texts between the program (UTF-8, paths too) and the Windows API (UTF-16).

#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "table/file_path.h"
#include "table/wide_text.h"
#include "text/utf8.h"

namespace tallyfold::platform::win32 {

/// A text of the program (UTF-8) for the Windows API; a byte that is no UTF-8 becomes U+FFFD.
inline std::wstring Wide(std::string_view utf8) {
    if (std::optional<std::wstring> wide = WideFromUtf8(utf8)) {
        return *std::move(wide);
    }
    std::string valid;
    for (std::size_t at = 0; at < utf8.size();) {
        unicode::AppendUtf8(valid, unicode::DecodeNext(utf8, at));
    }
    return WideFromUtf8(valid).value_or(std::wstring());
}

/// A text the user typed or the system gives, as UTF-8.
inline std::string Narrow(std::wstring_view wide) {
    return Utf8FromWide(wide);
}

/// A file name as the system spells it, for showing.
inline std::wstring WideName(const FilePath& path) {
    return WideFromUtf8(path.Bytes()).value_or(std::wstring());
}

}  // namespace tallyfold::platform::win32
