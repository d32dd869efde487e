#pragma once

// The code page file beside a vocabulary file (`words.cpg` beside `words.vok`): one line that
// names the encoding of the table's texts, the declaration other dBASE tools (GDAL, QGIS, ArcGIS,
// pyshp) read. Tallyfold writes it, holding exactly "UTF-8", beside a Unicode vocabulary file;
// it trusts the table's own layout first, since a file copied alone loses the file beside it.

#include <optional>
#include <string>
#include <string_view>

#include "table/file_path.h"

namespace tallyfold {

/// The code page file's path: the vocabulary file's name with the extension ".cpg".
FilePath CodePageFileName(const FilePath& vokPath);

/// The code page file's first line without blanks around it, or nothing when there is no such
/// file (or it cannot be read). A line longer than any code page's name is read only in part.
std::optional<std::string> ReadCodePage(const FilePath& vokPath);

/// True when a code page file's text names UTF-8 ("UTF-8" or "UTF8", in any case).
bool NamesUtf8(std::string_view codePage);

/// Writes the code page file of a Unicode vocabulary file; the old one is replaced only by a
/// complete new one. False when it could not be written.
[[nodiscard]] bool WriteUtf8CodePage(const FilePath& vokPath);

/// Removes the code page file beside a vocabulary file that is classic again, where it names
/// UTF-8; one naming anything else was put there by someone else and stays.
void RemoveUtf8CodePage(const FilePath& vokPath);

}  // namespace tallyfold
