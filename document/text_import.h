#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "box/card.h"
#include "box/card_box.h"
#include "document/utf16_text.h"
#include "files/vok_file.h"
#include "table/file_io.h"

namespace tallyfold {

/// What became of one import line.
enum ImportCode : int {
    kImportAccepted = 0,                  ///< a card was added, or an equal card was already there
    kImportSeparatorMissing = 1301,       ///< no ";" in the line
    kImportQuestionMissing = 1302,        ///< nothing before the ";" but blanks
    kImportAnswerMissing = 1303,          ///< nothing after the ";" but blanks
    kImportTextTooLong = 1304,            ///< a side longer than 63 characters or 254 bytes
    kImportCharacterNotSupported = 1305,  ///< a byte Windows-1252 leaves undefined
    kImportNotUtf8 = 1306,                ///< bytes that are no UTF-8, in a UTF-8 file
    kImportControlCharacter = 1307,       ///< a line break or another control character
};

/// The string id of the message for a code that is not `kImportAccepted`.
int ImportMessageId(int code);

/// The box's cards by question and answer, so the import finds an equal card in constant
/// time; it finds exactly what `FindSameCard` would. Cards added through it are indexed too.
/// The box must not change otherwise while the index is in use.
class ImportTarget {
  public:
    /// Stores a card that is new to the box and returns the stored card.
    using Adder = std::function<tVokabel*(const tVokabel&)>;

    /// Indexes every card of `box`, with room for `expectedCards` more; new cards go to its
    /// input stack.
    explicit ImportTarget(tCardBox& box, std::size_t expectedCards = 0);
    /// The same, with new cards stored by `add` (into the input stack of `box`, through the
    /// document that records the change).
    ImportTarget(const tCardBox& box, std::size_t expectedCards, Adder add);
    /// Adds the card still waiting.
    ~ImportTarget();
    ImportTarget(const ImportTarget&) = delete;
    ImportTarget& operator=(const ImportTarget&) = delete;

    /// Appends `card` to the input stack unless the box, or an earlier card of this import,
    /// holds one with the same texts. The card goes in at the next `Add` or at `Flush`: its
    /// place in the index is fetched from memory meanwhile, which on a large box is most of
    /// what a line costs.
    void Add(const tVokabel& card);
    /// Adds the card still waiting. Call it before the box is looked at.
    void Flush();
    /// Cards added so far; a card still waiting is not counted.
    int Added() const { return added_; }
    /// Cards passed over because the box, or an earlier line, held them.
    int Duplicates() const { return duplicates_; }

    /// Working space for the parser, kept between lines so that parsing does not allocate.
    std::string& QuestionScratch() { return questionScratch_; }
    std::string& AnswerScratch() { return answerScratch_; }

  private:
    // Open addressing, four bytes a slot, so that the index of a large box stays within
    // reach of the processor's caches: the low bits hold 1 + the card's place in `cards_`
    // (0 for an empty slot), as many as the table has slots; the bits above hold as much of
    // the upper half of the card's hash, so most probes never touch a card.
    static std::uint64_t HashOf(const tVokabel& card);
    std::uint32_t SlotOf(std::uint64_t hash, std::size_t card) const;
    std::uint32_t CardBits() const { return static_cast<std::uint32_t>(slots_.size() - 1); }
    void Place(std::uint64_t hash, std::size_t card);
    bool AddIfNew(const tVokabel& card, std::uint64_t hash);
    void Insert(const tVokabel* card, std::uint64_t hash);
    void Grow(std::size_t cards);

    Adder add_;
    std::vector<std::uint32_t> slots_;
    int cardBitCount_ = 0;
    std::vector<const tVokabel*> cards_;
    int added_ = 0;
    int duplicates_ = 0;
    // Cards taken but not yet looked up, oldest first, in a ring.
    struct Waiting {
        tVokabel card;
        std::uint64_t hash = 0;
    };
    static constexpr std::size_t kLookahead = 4;
    std::array<Waiting, kLookahead> waiting_;
    std::size_t firstWaiting_ = 0;
    std::size_t waitingCount_ = 0;
    std::string questionScratch_;
    std::string answerScratch_;
};

/// Parses one UTF-8 line (without its line end): the question before the first ";", the answer
/// after it, each without trailing blanks, with backslash escapes expanded, in NFC. An accepted
/// line's card is added through `target`. On a refusal `line` is left as the user should see
/// it: whole without a separator or with a text too long, else the trimmed question.
[[nodiscard]] int ParseImportLine(std::string& line, ImportTarget& target);

/// How the lines of a text file give their cards.
enum class ImportFormat {
    /// "question;answer", with backslash escapes: the program's own text files.
    CardLines,
    /// Question and answer separated by a tab, as spreadsheets and other trainers write them.
    TabSeparated,
    /// Comma- or semicolon-separated values, fields optionally in double quotes ("a;b", a
    /// doubled quote for a quote in it).
    Csv,
};

/// The format a file's name tells: ".tsv" and ".tab" files are tab-separated, ".csv" files
/// comma-separated; every other file (".txt") holds card lines.
ImportFormat ImportFormatOf(const FilePath& path);

/// The separator of a CSV file, told by its first line: the first comma or semicolon outside
/// quotes; a comma when there is none.
char CsvSeparatorOf(std::string_view firstLine);

/// Which columns of a separated line hold the question and the answer (from 0), and whether
/// their texts are HTML.
struct FieldLayout {
    int question = 0;
    int answer = 1;
    bool html = false;
};

/// Parses a line of a tab-separated or CSV file (`separator` '\t', ',' or ';'; fields in
/// quotes where `quoted`): the columns `fields` names are the question and the answer (the
/// first two unless it names others), further fields are left out.
/// Texts keep their backslashes; trailing blanks go; NFC. A tab inside a quoted field is
/// refused as any control character is. Refusals as `ParseImportLine`'s, `line` left whole.
[[nodiscard]] int ParseSeparatedLine(std::string& line, char separator, bool quoted,
                                     ImportTarget& target, const FieldLayout& fields = {});

/// Follows the quotes of a CSV record across its lines, as `ParseSeparatedLine` reads them: a
/// line break inside a quoted field belongs to the field, and the record goes on in the next
/// line.
class CsvQuotes {
  public:
    explicit CsvQuotes(char separator) : separator_(separator) {}
    /// Takes the next line of the record; true when the record goes on after it.
    bool Take(std::string_view line);

  private:
    char separator_;
    bool inQuotes_ = false;
    bool startOfField_ = true;
};

/// The lines of a text file to import. A file that starts with a UTF-8 byte-order mark, or
/// whose bytes are valid UTF-8 with multi-byte characters, is read as UTF-8 and converted; one
/// with a UTF-16 byte-order mark (little or big endian) likewise, through UTF-8; any other
/// file is taken as Windows-1252 bytes. A file of plain bytes with a zero byte near its start
/// is no text file (`IsText`).
///
/// A file is read twice, a piece at a time: once by `Open`, which counts the lines and tells
/// the encoding, and once line by line. A large file is never held whole in memory.
class ImportFile {
  public:
    /// Opens the file and reads it through once; false if it cannot be opened or read.
    [[nodiscard]] bool Open(const FilePath& path);
    /// Takes `bytes` as the file's content.
    void Assign(std::string bytes);
    bool IsUtf8() const { return utf8_; }
    /// False for a file that is no text: the import refuses it whole.
    bool IsText() const { return text_; }
    /// The number of lines in the file.
    std::size_t LineCount() const { return lines_; }
    /// False when a card for every line would take more memory than the process has left: the
    /// import is then refused before its first card, as a load of too many cards is.
    bool FitsInMemory() const;

    /// The next whole line, without its line feed and a carriage return before it, in UTF-8.
    /// False after the last line. `problem` is `kImportAccepted` for a line of characters, else
    /// why it has none: bytes that are no UTF-8 in a UTF-8 file, a byte that Windows-1252
    /// leaves undefined in another. Such bytes show as U+FFFD in `line`.
    [[nodiscard]] bool NextLine(std::string& line, int& problem);
    /// Starts again at the first line.
    void Rewind();
    /// True when the line `NextLine` gave last was longer than `kLineLimit` bytes: no card can
    /// come of it, and `line` holds only its start.
    bool LineTooLong() const { return lineTooLong_; }
    /// True when the file could not be read to its end: the lines after the failure are
    /// missing.
    bool ReadFailed() const { return readFailed_; }

    /// The longest line that is read whole; a card's two texts, escapes and blanks included,
    /// never need more.
    static constexpr std::size_t kLineLimit = 64 * 1024;
    /// How much of a longer line is kept, for the message that refuses it.
    static constexpr std::size_t kLineKept = 1024;
    /// The memory one imported card may take: the card as a load counts it, and as much again
    /// for its entries in the import's index and in the journal.
    static constexpr std::uint64_t kMemoryPerLine = 2 * kMemoryPerLoadedCard;

  private:
    /// Counts the lines, tells the encoding, and starts again at the first line. False when
    /// the file could not be read.
    bool Scan();
    /// The next line as it stands in the file, without its line feed; valid until the next
    /// call. False after the last line.
    bool NextRawLine(std::string_view& raw);
    const char* NextFeed(std::size_t from);
    /// Moves the read position past a piece of `got` bytes; 0 is the end, -1 a read error.
    void Advance(std::int64_t got);

    File file_;
    bool fromFile_ = false;
    bool readFailed_ = false;
    // The part of the content at hand: all of it for `Assign`, else the pieces read so far
    // that were not yet handed out.
    std::string buffer_;
    std::size_t position_ = 0;
    // How far past `position_` the current line was searched for its end, and how many of its
    // bytes were dropped for being beyond the limit.
    std::size_t searched_ = 0;
    std::size_t dropped_ = 0;
    // The next line feed in the buffer (npos: none up to `feedSearched_`).
    std::size_t feedAt_ = std::string::npos;
    std::size_t feedSearched_ = 0;
    bool lineTooLong_ = false;
    std::uint64_t readOffset_ = 0;
    bool ended_ = false;
    bool byteOrderMark_ = false;
    bool firstLine_ = true;
    bool utf8_ = false;
    bool everyLineUtf8_ = false;
    bool text_ = true;
    TextEncoding encoding_ = TextEncoding::Bytes;
    Utf16Decoder decoder_;
    std::string piece_;
    std::size_t lines_ = 0;
};

/// Writes every card of `box`, partition 1 first and the input stack last, a line each with
/// carriage return and line feed: as "question;answer" (card lines: in Windows-1252 for a box
/// that `FitsClassicFile`, else in UTF-8 after a byte-order mark), or in UTF-8 as question and
/// answer separated by a tab (a tab in a text becomes a blank) or as CSV with a comma and quotes
/// where needed, after a byte-order mark. The file is replaced only by a complete new one. False if
/// it could not be written.
[[nodiscard]] bool ExportText(const FilePath& path, const tCardBox& box,
                              ImportFormat format = ImportFormat::CardLines);

/// A line of an import that gave no card: why, its number in the file (the last, for a record
/// of several lines) and its text as the user should see it.
struct RefusedImportLine {
    int code = kImportAccepted;
    int number = 0;
    std::string_view text;
};

/// Reads the lines of `file` in `format` into `target`. Empty lines and lines that begin with a
/// control character are passed over; a CSV record whose quoted field holds a line break is
/// read as one line, the break turned into a blank (a card holds no line break). `refused` is
/// told of every other line that gives no card, and returning false ends the import there.
/// The file's first lines may tell another format than `format` (`ReadImportLayout`); returns
/// whether card lines were found to be tab-separated so, which no header of the file said.
bool ImportLines(ImportFile& file, ImportFormat format, ImportTarget& target,
                 const std::function<bool(const RefusedImportLine&)>& refused);

}  // namespace tallyfold
