#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "box/card_box.h"
#include "table/dbf.h"
#include "table/field.h"

namespace tallyfold {

/// How a vocabulary file holds its texts.
enum class VokLayout {
    /// The classic file: `DEUTSCH` and `UEBERSETZT`, code page 850 with the program's own codes.
    Classic,
    /// `FRAGE` and `ANTWORT`, UTF-8: a box with texts the classic file cannot hold. Readers of
    /// the classic file find no card fields in it and refuse it rather than misread it.
    Unicode,
};

/// What became of the texts of one record.
struct CardTextsRead {
    /// False when a text of a Unicode file is no UTF-8: the record gives no card.
    bool utf8 = true;
    /// Texts cut to what a side holds (files another tool wrote).
    int cut = 0;
};

/// A vocabulary file: one record per card with its texts, its partition letter ("A" to "F",
/// "Z" for the last partition, "X" for the input stack), its position within the partition and
/// its two counters. Lives for one load or save.
class tVokDB : public tDBF {
  public:
    tVokDB() = default;

    /// Opens the table and binds the six accessors by name; a missing field leaves its
    /// accessor without a field, and the open still succeeds. A table with `FRAGE` or `ANTWORT`
    /// and neither `DEUTSCH` nor `UEBERSETZT` is a Unicode file; `Deutsch` and `Uebersetzt` are
    /// then bound to those.
    [[nodiscard]] bool Open(const FilePath& path);
    /// Opens the table that `other` has open, for reading beside it (see `tDBF::OpenSame`).
    [[nodiscard]] bool OpenSame(const tVokDB& other);

    VokLayout Layout() const { return layout_; }

    /// Reads the card of a record of this table (`RecordBytes` or `PeekRecord`) in one pass
    /// over the record: a classic file's texts exactly as the accessors give them, converted to
    /// UTF-8. `letter` receives the partition letter, or 0 when the field is empty or missing.
    CardTextsRead ReadCard(std::span<const char> record, tVokabel& card, char& letter) const;
    /// Appends a record for `card`: in a classic file byte for byte what storing each field
    /// through its accessor gives, with the texts stored literally (backslashes are not
    /// escapes). A text the field cannot hold is stored blank, and `TextsFit` is false from
    /// then on. False when the record could not be appended.
    [[nodiscard]] bool AppendCard(const tVokabel& card, char letter, int position);
    bool TextsFit() const { return textsFit_; }

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

    VokLayout layout_ = VokLayout::Classic;
    bool textsFit_ = true;
    Slice question_;
    Slice answer_;
    Slice letter_;
    Slice position_;
    Slice known_;
    Slice unknown_;
};

/// True when every text of `box` fits a classic vocabulary file (`FitsClassicField`): then the
/// box is saved, and exported as card lines, exactly as the classic program did.
bool FitsClassicFile(const tCardBox& box);

/// Writes an empty vocabulary file at `path`, replacing any file of that name.
[[nodiscard]] bool CreateVokFile(const FilePath& path);
/// Writes an empty Unicode vocabulary file whose text fields are this many bytes wide (1 to
/// 254).
[[nodiscard]] bool CreateUnicodeVokFile(const FilePath& path, int questionBytes, int answerBytes);

/// Why a file that opened as a table was not loaded.
enum class LoadRefusal {
    None,
    /// The table has neither a `DEUTSCH` nor an `UEBERSETZT` field: it holds no cards.
    NoCardFields,
    /// The file holds more cards than the memory can take (`counted` of them).
    TooLarge,
    /// A text of a Unicode file is no UTF-8 (in record `badRecord`).
    NotUtf8,
    /// A Unicode file whose code page file names another encoding (`codePage`).
    OtherCodePage,
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
    /// The record, from 1, whose text is no UTF-8.
    std::int64_t badRecord = 0;
    /// What the code page file beside a Unicode file names, when it is not UTF-8.
    std::string codePage;
    VokLayout layout = VokLayout::Classic;
    /// Texts of a Unicode file cut to what a side holds.
    int cut = 0;
    bool Damaged() const { return opened && counted != loaded; }
};

/// Adds every record of the vocabulary file at `path` to `box`, in file order, without
/// emptying the box first. Texts longer than a card holds are cut to 63 characters (and, in a
/// Unicode file, 254 bytes) at the end of a character. A Unicode file whose texts are not all
/// UTF-8, or whose code page file names another encoding, adds nothing.
[[nodiscard]] LoadResult LoadVokFile(const FilePath& path, tCardBox& box);

/// What a loaded card takes in memory, with room to spare: its node of about 145 bytes, and the
/// box's and the window's share beside it. A load of more cards than `AvailableMemory` holds at
/// this rate is refused whole.
inline constexpr std::uint64_t kMemoryPerLoadedCard = 256;

/// Replaces the file at `path` with a vocabulary file of every card of `box` (partitions 1 to
/// N, then the input stack), then writes the box file beside it: a classic file when the box
/// `FitsClassicFile` (and a code page file beside it that names UTF-8 goes), else a Unicode
/// one with its code page file. The old file is replaced only
/// by a complete new one: on any failure it stays as it was and the result is false. A failure
/// of the box file alone does not count. With a `backup` path, the old file is kept there
/// before it is replaced.
[[nodiscard]] bool SaveVokFile(const FilePath& path, tCardBox& box,
                               const FilePath& backup = FilePath());

}  // namespace tallyfold
