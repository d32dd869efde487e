#pragma once

namespace tallyfold {

/// The table engine's error codes, as `tDBF::Report` records them. Each names the one condition
/// that reports it; the numbers are the engine's documented error numbers.
enum class DbfError {
    None = 0,
    /// `Open`: the first 16 header bytes cannot be read.
    HeaderUnreadable = 1,
    /// `Open`: no memory for the record buffer or the field table. Kept for the numbering; the
    /// buffers are bounded by 16-bit header fields, so no file makes the engine report it.
    OutOfMemory = 2,
    /// `Open`: the table file cannot be opened; `Pack`: the temporary file cannot be created.
    CannotOpen = 3,
    /// `Flush`, `AppendBlank`, `Pack`, `Close`, `Sync`: a record or the header cannot be written.
    WriteFailed = 4,
    /// `GoTo`: the index is greater than the record count.
    RecordOutOfRange = 5,
    /// `FieldIndex`: no field has that name (reported while the last error code is 0).
    NoSuchField = 6,
    /// `GetField`: invalid field index, or no current record.
    NoCurrentField = 7,
    /// `Pack`: the header cannot be read again.
    HeaderReadFailed = 8,
    /// `Open`: the header contradicts itself or the file's size.
    InconsistentHeader = 9,
    /// `GoTo`: the record could not be read from the file.
    RecordUnreadable = 10,
    /// Numeric assignment to a field whose type letter is not "N".
    NotNumeric = 20,
};

}  // namespace tallyfold
