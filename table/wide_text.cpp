#include "table/wide_text.h"

#include <windows.h>

#include <limits>

namespace tallyfold {

std::optional<std::wstring> WideFromUtf8(std::string_view text) {
    if (text.empty()) {
        return std::wstring();
    }
    if (text.size() > static_cast<std::size_t>(std::numeric_limits<int>::max())) {
        return std::nullopt;
    }
    const int bytes = static_cast<int>(text.size());
    const int units =
        ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), bytes, nullptr, 0);
    if (units <= 0) {
        return std::nullopt;
    }
    std::wstring wide(static_cast<std::size_t>(units), L'\0');
    if (::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), bytes, wide.data(),
                              units) != units) {
        return std::nullopt;
    }
    return wide;
}

std::string Utf8FromWide(std::wstring_view text) {
    if (text.empty() ||
        text.size() > static_cast<std::size_t>(std::numeric_limits<int>::max() / 3)) {
        return std::string();
    }
    const int units = static_cast<int>(text.size());
    const int bytes =
        ::WideCharToMultiByte(CP_UTF8, 0, text.data(), units, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) {
        return std::string();
    }
    std::string narrow(static_cast<std::size_t>(bytes), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), units, narrow.data(), bytes, nullptr, nullptr);
    return narrow;
}

std::wstring WidePath(const FilePath& path) {
    return WideFromUtf8(path.Bytes()).value_or(std::wstring());
}

}  // namespace tallyfold
