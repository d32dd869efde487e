#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "table/dbf.h"

namespace tallyfold {

/// Writes `value` right-aligned into exactly `width` characters followed by a zero byte; `out`
/// must hold `width` + 1 bytes. A value that does not fit, sign included, gives `width`
/// asterisks and false. `width` must be at least 1.
bool FormatInt(std::int64_t value, int width, std::span<char> out);

/// The number at the start of a numeric field's text: leading white space skipped, an optional
/// sign, then digits up to the first other character; 0 without digits. Values beyond the
/// 32-bit range give its nearest end.
std::int32_t ParseFieldNumber(std::string_view text);

/// Access to one field of a table by name. The accessor is bound once, after the table is
/// opened, and then reads and stores the field of the table's current record by index, so the
/// order of fields in a file does not matter.
///
/// The table is not owned and must outlive the accessor. An accessor whose name the table lacks
/// (or that was never bound) has no field: reads give empty texts or 0, and stores change nothing.
class tFeld {
  public:
    tFeld() = default;
    tFeld(tDBF& table, std::string_view name) { Bind(table, name); }

    /// Looks the name up in `table` (error 6 through the table when it is missing) and sizes
    /// the value buffer for the field.
    void Bind(tDBF& table, std::string_view name);
    int Length() const;
    char Type() const;
    bool HasField() const { return index_ >= 0 && table_ != nullptr; }
    /// The field's index in the bound table, or -1.
    int Index() const { return HasField() ? index_ : -1; }

  protected:
    int index_ = -1;
    tDBF* table_ = nullptr;
    std::vector<char> value_;
    char type_ = 'U';  ///< the field's type letter, fixed while the table is open
};

/// A character field: Windows-1252 text in memory, code page 850 in the file.
class tCharField : public tFeld {
  public:
    using tFeld::tFeld;

    /// The field of the current record, trailing blanks removed, converted to Windows-1252.
    /// Valid until the accessor's next operation. Empty (error 7) past the last record.
    std::string_view Text();
    /// Stores `text`, converted to code page 850 with backslash escapes expanded and then cut
    /// to the field length, padded with blanks.
    void Assign(std::string_view text);
    /// Stores `text` exactly: converted to code page 850, backslashes kept, cut to the field
    /// length, so that `Text` reads back what was stored.
    void AssignLiteral(std::string_view text);
};

/// A numeric field: an integer as right-aligned decimal text.
class tNumField : public tFeld {
  public:
    using tFeld::tFeld;

    /// The number in the field of the current record: leading blanks skipped, an optional sign,
    /// then digits up to the first other character; 0 without digits or for a non-numeric field.
    /// Values beyond the 32-bit range read as its nearest end.
    std::int32_t Value();
    /// Stores `value` right-aligned, or asterisks when it does not fit; error 20 and nothing
    /// stored when the field is not numeric.
    void Assign(std::int64_t value);
};

}  // namespace tallyfold
