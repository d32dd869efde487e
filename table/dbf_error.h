#pragma once

namespace tallyfold {

/// The table engine's error codes, as passed to `tDBF::Error`. Each names the one condition
/// that reports it.
enum DbfError : int {
    kDbfNoError = 0,
    /// `Open`: the first 16 header bytes cannot be read.
    kDbfHeaderUnreadable = 1,
    /// `Open`: no memory for the record buffer or the field table. Kept for the numbering; the
    /// buffers are bounded by 16-bit header fields, so no file makes the engine report it.
    kDbfOutOfMemory = 2,
    /// `Open`: the table file cannot be opened; `Pack`: the temporary file cannot be created.
    kDbfCannotOpen = 3,
    /// `Flush`, `AppendBlank`, `Pack`, `Close`, `Sync`: a record or the header cannot be written.
    kDbfWriteFailed = 4,
    /// `GoTo`: the index is greater than the record count.
    kDbfRecordOutOfRange = 5,
    /// `FieldIndex`: no field has that name (reported while the last error code is 0).
    kDbfNoSuchField = 6,
    /// `GetField`: invalid field index, or no current record.
    kDbfNoCurrentField = 7,
    /// `Pack`: the header cannot be read again.
    kDbfHeaderReadFailed = 8,
    /// `Open`: the header contradicts itself or the file's size.
    kDbfInconsistentHeader = 9,
    /// Numeric assignment to a field whose type letter is not "N".
    kDbfNotNumeric = 20,
};

}  // namespace tallyfold
