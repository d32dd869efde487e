#pragma once

#include <string>
#include <string_view>

namespace tallyfold::unicode {

/// `utf8` as UTF-16, the form of the Windows API: a character beyond the basic plane becomes a
/// pair of surrogates, a byte that is no UTF-8 U+FFFD. Portable, so that what the Windows
/// program hands the system is tested everywhere.
std::u16string Utf16FromUtf8(std::string_view utf8);

/// `utf16` as UTF-8; a surrogate without its other half becomes U+FFFD.
std::string Utf8FromUtf16(std::u16string_view utf16);

}  // namespace tallyfold::unicode
