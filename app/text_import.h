#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "box/card.h"
#include "box/card_box.h"

namespace tallyfold {

/// What became of one import line.
enum ImportCode : int {
    kImportAccepted = 0,                  ///< a card was added, or an equal card was already there
    kImportSeparatorMissing = 1301,       ///< no ";" in the line
    kImportQuestionMissing = 1302,        ///< nothing before the ";" but blanks
    kImportAnswerMissing = 1303,          ///< nothing after the ";" but blanks
    kImportTextTooLong = 1304,            ///< question or answer longer than 63 characters
    kImportCharacterNotSupported = 1305,  ///< a character Windows-1252 cannot hold
};

/// The string id of the message for a code that is not `kImportAccepted`.
int ImportMessageId(int code);

/// The box's cards by question and answer, so the import finds an equal card in constant
/// time; it finds exactly what `FindSameCard` would. Cards added through it are indexed too.
/// The box must not change otherwise while the index is in use.
class ImportTarget {
  public:
    /// Indexes every card of `box`, with room for `expectedCards` more.
    explicit ImportTarget(tCardBox& box, std::size_t expectedCards = 0);

    /// Appends `card` to the input stack unless the box holds one with the same texts.
    /// True if it was added.
    bool AddIfNew(const tVokabel& card);
    int Added() const { return added_; }

    /// Working space for the parser, kept between lines so that parsing does not allocate.
    std::string& QuestionScratch() { return questionScratch_; }
    std::string& AnswerScratch() { return answerScratch_; }

  private:
    // Open addressing over the stored cards, each slot with the hash of its card's texts, so
    // that growing and most probes never touch the cards themselves.
    struct Slot {
        std::uint64_t hash = 0;
        const tVokabel* card = nullptr;
    };
    static std::uint64_t HashOf(const tVokabel& card);
    void Insert(const tVokabel* card, std::uint64_t hash);
    void Grow(std::size_t cards);

    tCardBox* box_;
    std::vector<Slot> slots_;
    std::size_t used_ = 0;
    int added_ = 0;
    std::string questionScratch_;
    std::string answerScratch_;
};

/// Parses one line (without its line end): the question before the first ";", the answer
/// after it, each without trailing blanks and with backslash escapes expanded. An accepted
/// line's card is added through `target`. On a refusal `line` is left as the user should see
/// it: whole without a separator or with a text too long, else the trimmed question.
int ParseImportLine(std::string& line, ImportTarget& target);

/// The lines of a text file to import. A file that starts with a UTF-8 byte-order mark, or
/// whose bytes are valid UTF-8 with multi-byte characters, is read as UTF-8 and converted;
/// any other file is taken as Windows-1252 bytes.
class ImportFile {
  public:
    /// Reads the whole file; false if it cannot be opened or read.
    bool Open(const std::string& path);
    /// Takes `bytes` as the file's content.
    void Assign(std::string bytes);
    bool IsUtf8() const { return utf8_; }
    /// The number of lines in the file.
    std::size_t LineCount() const;

    /// The next whole line, without its line feed and a carriage return before it, in
    /// Windows-1252. False after the last line. `convertible` is false for a UTF-8 line with a
    /// character Windows-1252 cannot hold; the line then shows "?" in its place.
    bool NextLine(std::string& line, bool& convertible);

  private:
    std::string bytes_;
    std::size_t position_ = 0;
    bool utf8_ = false;
};

/// Writes every card of `box`, partition 1 first and the input stack last, as
/// "question;answer" lines with carriage return and line feed. The file is replaced only by a
/// complete new one. False if it could not be written.
bool ExportText(const std::string& path, tCardBox& box);

}  // namespace tallyfold
