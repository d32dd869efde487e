#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "files/file_identity.h"
#include "files/process_stamp.h"
#include "table/file_io.h"
#include "table/file_path.h"

namespace tallyfold {

/// What a journal's changes apply to: the vocabulary file as it was when it was loaded or last
/// saved (or no file, for a box never saved), and who wrote the journal when.
struct JournalBase {
    /// The file's canonical name; empty for a box without a file.
    std::string file;
    FileIdentity identity;
    ProcessStamp owner;
    std::int64_t created = 0;  ///< seconds since 1970
};

/// Reads a journal an entry at a time, so that a journal of any size takes no more memory than
/// its largest entry. A last entry that was cut short (the power went during its write) or
/// whose checksum fails ends the journal there; `ValidBytes` is how far it holds.
/// How the entries of a journal hold card texts: UTF-8, or Windows-1252 in the journals of
/// versions before Unicode.
enum class JournalTexts { Utf8, Windows1252 };

class JournalReader {
  public:
    /// Opens the journal at `path` and reads its base; false when it is none (no header, a bad
    /// base entry).
    [[nodiscard]] bool Open(const FilePath& path);
    /// Reads journal bytes held in memory, as `Open` reads a file.
    [[nodiscard]] bool OpenBytes(std::string_view bytes);
    const JournalBase& Base() const { return base_; }
    /// How the journal's entries hold card texts.
    JournalTexts Texts() const { return texts_; }
    /// Reads the next whole entry into `payload`; false at the journal's end.
    [[nodiscard]] bool Next(std::string& payload);
    /// The end of the last entry read.
    std::uint64_t ValidBytes() const { return at_; }
    /// The size of the whole journal, entries not yet read included.
    std::uint64_t Size() const { return size_; }

  private:
    bool ReadHeader();
    bool ReadFrame(std::string& payload);
    bool ReadAt(std::uint64_t offset, std::size_t count, std::string& out);
    bool ReadFile(std::uint64_t offset, std::size_t count, std::string& out);

    File file_;
    std::string block_;
    std::uint64_t blockStart_ = 0;
    std::string_view bytes_;
    bool fromFile_ = false;
    JournalTexts texts_ = JournalTexts::Utf8;
    std::uint64_t size_ = 0;
    std::uint64_t at_ = 0;
    bool ended_ = false;
    JournalBase base_;
};

/// CRC-32 (the polynomial of zip and PNG) of `bytes`.
std::uint32_t Crc32(std::string_view bytes);

/// Writes a journal: a header, the base, then one entry per change, each framed by its length
/// and checksum. Entries are handed to the system as each step ends, so they survive the end
/// of the process at any moment; a thread of the writer forces them to the disk within a
/// second, so they survive the end of the machine too, without a learning step waiting for
/// the disk.
class JournalWriter {
  public:
    JournalWriter() = default;
    ~JournalWriter();
    JournalWriter(const JournalWriter&) = delete;
    JournalWriter& operator=(const JournalWriter&) = delete;

    /// Creates the journal at `path` with `base` and forces it to the disk.
    [[nodiscard]] bool Create(const FilePath& path, const JournalBase& base);
    /// Goes on writing an existing journal after its first `validBytes` (what was read back),
    /// cutting off a torn end.
    [[nodiscard]] bool Continue(const FilePath& path, std::uint64_t validBytes);
    /// Adds an entry; it is written at the next `Write`.
    void Add(std::string_view payload);
    /// Hands the entries added so far to the system, and wakes the thread that forces them to
    /// the disk.
    void Write();
    /// Writes, forces everything to the disk, and closes.
    void Close();
    /// Closes and deletes the journal.
    void Remove();
    const FilePath& Path() const { return path_; }
    bool Failed() const { return failed_; }

  private:
    void StartSyncing();
    void StopSyncing();
    void SyncLoop();

    FilePath path_;
    File file_;
    std::uint64_t end_ = 0;
    std::string pending_;
    bool failed_ = false;

    std::mutex mutex_;
    std::condition_variable wake_;
    bool dirty_ = false;
    bool stopping_ = false;
    std::thread syncer_;
};

/// Building an entry: numbers little endian, texts with their length before them.
class JournalEntry {
  public:
    explicit JournalEntry(std::uint8_t op) { bytes_.push_back(static_cast<char>(op)); }
    JournalEntry& U8(std::uint8_t value);
    JournalEntry& I32(std::int32_t value);
    JournalEntry& U64(std::uint64_t value);
    JournalEntry& Text(std::string_view text);
    /// Bytes as they are, without a length.
    JournalEntry& Raw(std::string_view bytes);
    const std::string& Bytes() const { return bytes_; }

  private:
    std::string bytes_;
};

/// Reading an entry back; every read is checked against the entry's end, and a read past it
/// makes `Ok` false.
class JournalEntryReader {
  public:
    explicit JournalEntryReader(std::string_view bytes) : bytes_(bytes) {}
    std::uint8_t U8();
    std::int32_t I32();
    std::uint64_t U64();
    std::string_view Text();
    /// The bytes after what was read; what a count read from the entry can stand for.
    std::string_view Rest() const { return bytes_.substr(position_); }
    /// Marks the entry as bad, for a value that was read whole but means nothing.
    void Fail() { ok_ = false; }
    /// Reads the rest of the entry as it is.
    std::string_view TakeRest();
    bool Ok() const { return ok_; }
    bool AtEnd() const { return position_ == bytes_.size(); }

  private:
    bool Take(std::size_t count);
    std::string_view bytes_;
    std::size_t position_ = 0;
    bool ok_ = true;
};

}  // namespace tallyfold
