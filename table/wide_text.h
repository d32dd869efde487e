#pragma once

// UTF-8, the program's encoding of paths, and UTF-16, the encoding of the Windows API. Built on
// Windows only: the conversions are the Windows API's own.

#include <optional>
#include <string>
#include <string_view>

#include "table/file_path.h"

namespace tallyfold {

/// The UTF-16 form of UTF-8 text, or nothing when `text` is no valid UTF-8 (a name that
/// cannot be spelt is not to be guessed at).
std::optional<std::wstring> WideFromUtf8(std::string_view text);
/// The UTF-8 form of UTF-16 text; an unpaired surrogate becomes U+FFFD.
std::string Utf8FromWide(std::wstring_view text);
/// A path for the Windows API, in the extended form when it is too long for the plain one; an
/// empty string (which no call accepts) when it cannot be spelt.
std::wstring WidePath(const FilePath& path);

}  // namespace tallyfold
