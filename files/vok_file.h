#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "box/card_box.h"
#include "table/dbf.h"
#include "table/field.h"

namespace tallyfold {

/// A vocabulary file: one record per card with its texts (code page 850), its partition letter
/// ("A" to "F", "Z" for the last partition, "X" for the input stack), its position within the
/// partition and its two counters. Lives for one load or save.
class tVokDB : public tDBF {
  public:
    tVokDB() = default;

    /// Opens the table and binds the six accessors by name; a missing field leaves its
    /// accessor without a field, and the open still succeeds.
    [[nodiscard]] bool Open(const FilePath& path);
    /// Opens the table that `other` has open, for reading beside it (see `tDBF::OpenSame`).
    [[nodiscard]] bool OpenSame(const tVokDB& other);

    /// Reads the card of a record of this table (`RecordBytes` or `PeekRecord`) exactly as the
    /// accessors and `tVokabel::SetTexts` would, in one pass over the record. `letter`
    /// receives the partition letter, or 0 when the field is empty or missing.
    void ReadCard(std::span<const char> record, tVokabel& card, char& letter) const;
    /// Appends a record for `card`, byte for byte what storing each field through its accessor
    /// gives, with the texts stored literally (backslashes are not escapes).
    [[nodiscard]] bool AppendCard(const tVokabel& card, char letter, int position);

    tCharField Deutsch;     ///< the question
    tCharField Uebersetzt;  ///< the answer
    tCharField Kasten;      ///< the partition letter
    tNumField Alter;        ///< position within the partition, from 1
    tNumField Gewusst;      ///< knownCount
    tNumField Unbekannt;    ///< unknownCount

  private:
    // Where a bound field lies in the record; length 0 for a field that is missing (or, for
    // the counters, not numeric), which reads as empty and is not written.
    struct Slice {
        std::size_t offset = 0;
        std::size_t length = 0;
    };
    Slice SliceOf(const tFeld& field, bool numeric) const;
    void BindFields();

    Slice question_;
    Slice answer_;
    Slice letter_;
    Slice position_;
    Slice known_;
    Slice unknown_;
};

/// Writes an empty vocabulary file at `path`, replacing any file of that name.
[[nodiscard]] bool CreateVokFile(const FilePath& path);

/// Why a file that opened as a table was not loaded.
enum class LoadRefusal {
    None,
    /// The table has neither a `DEUTSCH` nor an `UEBERSETZT` field: it holds no cards.
    NoCardFields,
    /// The file holds more cards than the memory can take (`counted` of them).
    TooLarge,
};

struct LoadResult {
    /// False when the file could not be opened as a table or read to its end; then no card
    /// was added.
    bool opened = false;
    /// Cards added to the box.
    int loaded = 0;
    /// Of those, cards whose partition letter named no partition: they were put at the end of
    /// the input stack.
    int misplaced = 0;
    /// The number of records the file's header counts. When it is not `loaded`, the file was
    /// damaged (an interrupted save, a header that lies) and `loaded` is what it still held.
    std::int64_t counted = 0;
    /// Set (with `opened` false) when the file is a table but was not loaded.
    LoadRefusal refused = LoadRefusal::None;
    bool Damaged() const { return opened && counted != loaded; }
};

/// Adds every record of the vocabulary file at `path` to `box`, in file order, without
/// emptying the box first. Texts longer than a card holds are cut to 63 characters.
[[nodiscard]] LoadResult LoadVokFile(const FilePath& path, tCardBox& box);

/// What a loaded card takes in memory, with room to spare: its node of about 145 bytes, and the
/// box's and the window's share beside it. A load of more cards than `AvailableMemory` holds at
/// this rate is refused whole.
inline constexpr std::uint64_t kMemoryPerLoadedCard = 256;

/// Replaces the file at `path` with a vocabulary file of every card of `box` (partitions 1 to
/// N, then the input stack), then writes the box file beside it. The old file is replaced only
/// by a complete new one: on any failure it stays as it was and the result is false. A failure
/// of the box file alone does not count. With a `backup` path, the old file is kept there
/// before it is replaced.
[[nodiscard]] bool SaveVokFile(const FilePath& path, tCardBox& box,
                               const FilePath& backup = FilePath());

}  // namespace tallyfold
