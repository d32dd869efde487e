#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "table/block_writer.h"
#include "table/dbf_error.h"
#include "table/file_io.h"

namespace tallyfold {

/// A dBASE III table file (character and numeric fields, no memo): header, field descriptors,
/// fixed-length records with a deletion flag, and an end-of-file marker.
///
/// The table owns its file, its record buffer (a copy of the current record) and its field
/// table. Changes to the record buffer reach the file with the next `GoTo`, `AppendBlank`,
/// `Flush`, `Pack` or `Close`. Failures show in each operation's result and are recorded with a
/// `DbfError` code by `Report`, which then tells the overridable `OnError`; nothing throws.
///
/// A file is untrusted input: `Open` refuses a header that contradicts itself or the file size
/// (error 9), and no file can make the table read or write outside its buffers.
class tDBF {
  public:
    tDBF() = default;
    /// Closes the table. Failures while closing are recorded but reach no `OnError`: the
    /// object that would hear them is already gone.
    virtual ~tDBF();
    tDBF(const tDBF&) = delete;
    tDBF& operator=(const tDBF&) = delete;

    /// Opens an existing table for reading and writing (for reading only when the file may
    /// not be written; writes then fail with error 4). Closes an open table first. Does not
    /// position the table: start with `GoTo(0)` or `AppendBlank`.
    [[nodiscard]] bool Open(const FilePath& path);
    /// Opens the table that `other` has open, for reading only, at no record; reads of the
    /// two may run on two threads at once. Both see the same file, whatever happened to its
    /// name since `other` opened it.
    [[nodiscard]] bool OpenSame(const tDBF& other);
    /// Writes a changed record back and closes the file; does nothing on a closed table.
    void Close();
    /// Writes the record buffer back to the current record if it was changed.
    void Flush();
    /// Makes record `index` current. `index` equal to the record count is the end (`Eof`);
    /// beyond it, error 5 and false, with the index set all the same. A record the file cannot
    /// give (a read error) is error 10 and false.
    [[nodiscard]] bool GoTo(std::uint32_t index);
    bool Eof() const;
    std::uint32_t RecNo() const { return recNo_; }
    /// Adds a live record of blanks at the end and makes it current. False on error 4, and when
    /// the changed record before it could not be written.
    [[nodiscard]] bool AppendBlank();

    /// The records the table holds: every whole record in the file up to the end marker,
    /// which may be more or fewer than the header counts (see `HeaderRecordCount`).
    std::uint32_t RecordCount() const;
    /// The record count the header gave when the table was opened.
    std::uint32_t HeaderRecordCount() const { return headerCount_; }
    std::uint16_t HeaderLength() const;
    std::uint16_t RecordLength() const;
    /// The header's language driver byte, which names the code page of the texts (0: none).
    std::uint8_t LanguageDriver() const { return languageDriver_; }
    int FieldCount() const;

    /// Index of the field named exactly `name` (the later one of two equal names), or -1;
    /// reports error 6 for a missing name while the last error code is 0.
    int FieldIndex(std::string_view name);
    /// The field's name; empty for an invalid index.
    std::string_view FieldName(int index) const;
    /// The type letter; 'U' for an invalid index.
    char FieldType(int index) const;
    int FieldLength(int index) const;
    int FieldDecimals(int index) const;

    /// Copies the field of the current record, without trailing blanks, into `out` and
    /// terminates it with a zero byte; returns its length. `out` should hold the field length
    /// plus one byte; a shorter buffer gets the field cut. Error 7, an empty text and 0 when
    /// there is no current record or no such field.
    int GetField(int index, std::span<char> out);
    /// The bytes of the current record as they stand, its deletion flag first; empty when there
    /// is no current record. Valid until the table moves.
    std::span<const char> RecordBytes() const;
    /// The bytes of record `index` as `GoTo` would make them current, without moving the
    /// table: where the record lies whole in the read-ahead window, a view into it, so a walk
    /// that only reads copies no record. Empty with error 5 at or beyond the end, and with
    /// error 10 when the file cannot give the record. Valid until the table reads or moves.
    std::span<const char> PeekRecord(std::uint32_t index);
    /// Appends a record of blanks, makes it current and returns its bytes for the caller to
    /// fill: they reach the file as stored fields do. Empty on error 4.
    std::span<char> AppendBlankRecord();
    /// The position of a field within the record (1 for the first field); 0 for no such field.
    int FieldOffset(int index) const;

    /// Stores `text` (up to its end, a zero byte, or the field length) into the field of the
    /// current record, padded with blanks; returns the field length, or 0 when nothing was
    /// stored (no current record or no such field).
    int PutField(int index, std::string_view text);

    void Delete();
    void Recall();
    bool Deleted() const;

    /// Rewrites the file without its deleted records: a new file beside it (the last character
    /// of the path replaced by '_', or a '_' added to a path that ends in one) is written
    /// completely and then renamed over the table in
    /// one step, so an interruption leaves either the old or the packed table. Returns true
    /// when the packed table is open.
    [[nodiscard]] bool Pack();

    /// Collects appended records in memory and writes them in large blocks, with the header
    /// once at the end. Only for a file no one else reads while it is being filled: the bytes
    /// on disk lag behind until `Sync`, `Close`, or switching it off.
    void SetWriteBehind(bool on);
    /// Writes everything pending and forces it to the disk. False (with error 4) on failure,
    /// and false when any write failed since the table was opened.
    [[nodiscard]] bool Sync();

    /// Records `code` as the last error (and a write failure as such), then tells `OnError`.
    /// The table's own operations and its field accessors report through here.
    void Report(DbfError code);
    DbfError LastError() const { return lastError_; }
    /// True when any write failed since the table was opened: a later success does not make
    /// the file whole again.
    bool WriteFailed() const { return writeFailed_; }
    const FilePath& Path() const { return path_; }
    bool IsOpen() const { return file_.IsOpen(); }

  protected:
    /// Hears every error after it was recorded; does nothing unless a subclass overrides it.
    /// Never called while the table is being destroyed.
    virtual void OnError(DbfError /*code*/) {}

  private:
    struct FieldInfo {
        std::array<char, 11> name{};
        char type = 'U';
        std::uint16_t length = 0;
        std::uint16_t decimals = 0;
        std::uint16_t offset = 0;
    };

    bool ValidField(int index) const;
    bool HasCurrentRecord() const;
    std::uint64_t RecordOffset(std::uint64_t index) const;
    bool ReadHeaderAndFields();
    bool CountRecordsInFile(std::uint64_t fileSize);
    /// Makes the read-ahead window hold the record at `offset` as far as the file does;
    /// false when the file could not be read there.
    bool FillWindow(std::uint64_t offset);
    /// Copies the record at `offset` from the window into `out`, blanks where the file ended.
    void CopyFromWindow(std::uint64_t offset, std::span<char> out) const;
    /// Fills the record buffer from the file; false when the file could not be read there.
    bool ReadRecord(std::uint64_t offset);
    bool WriteAt(std::uint64_t offset, std::span<const char> data);
    bool WriteThrough(std::uint64_t offset, std::span<const char> data);
    bool WriteHeader();
    bool WritePending();
    bool WritePendingRecords();
    bool SubmitPendingRecords();
    bool WaitForWriter();
    void KeepWindowInStep(std::uint64_t offset, std::span<const char> data);
    void SetRecordCount(std::uint32_t count);
    bool CopyLiveRecords(File& target, std::uint32_t& kept);
    void Release();

    FilePath path_;
    DbfError lastError_ = DbfError::None;
    std::uint32_t headerCount_ = 0;
    bool writeFailed_ = false;
    bool destroying_ = false;
    File file_;
    std::uint32_t recNo_ = 0;
    std::vector<char> record_;
    std::vector<FieldInfo> fields_;
    // The header's first 16 bytes, which the table writes back when its record count changes;
    // the rest of the header (the language driver among it) stays in the file as it is.
    std::array<unsigned char, 16> header_{};
    std::uint8_t languageDriver_ = 0;
    bool dirty_ = false;

    // Read-ahead: a window of the file that sequential `GoTo`s are served from.
    std::vector<char> window_;
    std::uint64_t windowOffset_ = 0;
    std::uint64_t windowValid_ = 0;
    // A record that `PeekRecord` found cut short by the file's end, blank filled.
    std::vector<char> peeked_;

    // Write-behind: bytes written at the end of the file, not yet on disk.
    bool writeBehind_ = false;
    bool headerPending_ = false;
    std::vector<char> pending_;
    std::uint64_t pendingOffset_ = 0;
    // Writes full buffers of pending bytes while the next one fills; made when first needed.
    std::unique_ptr<BlockWriter> writer_;
};

}  // namespace tallyfold
