#pragma once

#include <span>
#include <string>

#include "table/dbf.h"
#include "table/field.h"

namespace tallyfold {

/// The box file written beside every vocabulary file: one row per partition ("1. Fach" ...)
/// with its card count and capacity, then "Ablage" and "Eingabe". Tallyfold never reads it back;
/// it is there for other dBASE tools.
class tKastenDB : public tDBF {
  public:
    tKastenDB() = default;

    /// Opens the table and binds the five accessors by name.
    [[nodiscard]] bool Open(const FilePath& path);

    tCharField Bez;
    tCharField Name;
    tNumField Max;
    tNumField Anzahl;
    tNumField MaxAlter;
};

/// The box file's path, always in the vocabulary file's folder: the file name with everything
/// from its last "." (not counting a "." as the name's first character) replaced by ".kas", or
/// with ".kas" appended when the name has no such ".".
FilePath KasFileName(const FilePath& vokPath);

/// Writes an empty box file with the fields BEZ, ANZAHL, NAME, MAX and MAXALTER.
[[nodiscard]] bool CreateKasFile(const FilePath& path);

/// Writes the box file beside `vokPath` from the card counts of partitions 1 to N
/// (`partitionCounts[n - 1]`). The old box file is replaced only by a complete new one.
/// Refuses (false) when the box file's path would be the vocabulary file's own.
[[nodiscard]] bool WriteKasFile(const FilePath& vokPath, std::span<const int> partitionCounts);

}  // namespace tallyfold
