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
    std::optional<std::wstring> wide = WideFromUtf8(path.Bytes());
    if (!wide) {
        return std::wstring();
    }
    // A path of MAX_PATH (260) units or more is refused by the plain forms of the API; the
    // extended form ("\\?\C:\...", "\\?\UNC\server\share\...") takes any length, but
    // only as a full path with backslashes, which GetFullPathNameW makes. The margin keeps a
    // folder's path, whose limit is lower, clear of it as well.
    constexpr std::size_t kPlainLimit = MAX_PATH - 20;
    const std::wstring_view extended = L"\\\\?\\";
    if (wide->size() < kPlainLimit || wide->starts_with(extended)) {
        return *wide;
    }
    const DWORD needed = ::GetFullPathNameW(wide->c_str(), 0, nullptr, nullptr);
    if (needed == 0) {
        return *wide;
    }
    std::wstring full(needed, L'\0');
    const DWORD length = ::GetFullPathNameW(wide->c_str(), needed, full.data(), nullptr);
    if (length == 0 || length >= needed) {
        return *wide;
    }
    full.resize(length);
    if (full.starts_with(L"\\\\")) {
        return std::wstring(extended) + L"UNC\\" + full.substr(2);
    }
    return std::wstring(extended) + full;
}

}  // namespace tallyfold
