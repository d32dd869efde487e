#include "document/text_import.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <functional>
#include <utility>
#include <vector>

#include "document/import_layout.h"
#include "files/memory_budget.h"
#include "resources/resource_ids.h"
#include "table/byte_words.h"
#include "table/charset.h"
#include "table/file_io.h"
#include "table/windows1252.h"
#include "text/card_side.h"
#include "text/normalization.h"
#include "text/utf8.h"

namespace tallyfold {

namespace {

constexpr char kSeparator = ';';
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

std::string_view WithoutTrailingBlanks(std::string_view text) {
    while (!text.empty() && text.back() == ' ') {
        text.remove_suffix(1);
    }
    return text;
}

// A side's text in NFC, in `buffer` where it changes; most texts of any script are NFC already.
std::string_view Normalized(std::string_view text, std::string& buffer) {
    if (unicode::IsAscii(text) || unicode::IsQuickNfc(text)) {
        return text;
    }
    buffer = unicode::ToNfc(text);
    return buffer;
}

// Why a line gives no card for a side with this problem, or `kImportAccepted`.
int CodeOfSide(unicode::SideProblem problem, bool question) {
    switch (problem) {
        case unicode::SideProblem::None:
            return kImportAccepted;
        case unicode::SideProblem::Missing:
            return question ? kImportQuestionMissing : kImportAnswerMissing;
        case unicode::SideProblem::TooLong:
            return kImportTextTooLong;
        case unicode::SideProblem::NotUtf8:
            return kImportNotUtf8;
        case unicode::SideProblem::ControlCharacter:
            return kImportControlCharacter;
    }
    return kImportAccepted;
}

// The refusal of a card with these sides, or `kImportAccepted`: a side too long first (the
// user sees the whole line), then a missing question, a missing answer, and other problems.
int CodeOfSides(std::string_view question, std::string_view answer, bool tabAllowed) {
    const unicode::SideProblem first = unicode::ProblemOfSide(question, tabAllowed);
    const unicode::SideProblem second = unicode::ProblemOfSide(answer, tabAllowed);
    if (first == unicode::SideProblem::TooLong || second == unicode::SideProblem::TooLong) {
        return kImportTextTooLong;
    }
    const int code = CodeOfSide(first, true);
    return code != kImportAccepted ? code : CodeOfSide(second, false);
}

}  // namespace

int ImportMessageId(int code) {
    switch (code) {
        case kImportSeparatorMissing:
            return ids::kStrSeparatorMissing;
        case kImportQuestionMissing:
            return ids::kStrQuestionMissing;
        case kImportAnswerMissing:
            return ids::kStrAnswerMissing;
        case kImportTextTooLong:
            return ids::kStrTextTooLong;
        case kImportCharacterNotSupported:
            return ids::kStrCharacterNotSupported;
        case kImportNotUtf8:
            return ids::kStrNotUtf8;
        case kImportControlCharacter:
            return ids::kStrControlCharacter;
        default:
            return 0;
    }
}

namespace {

// A text of at most 63 bytes hashed eight bytes at a time, each word mixed in by one multiply:
// the index is in memory only, and an import hashes two texts per line.
std::uint64_t TextHash(std::string_view text, std::uint64_t seed) {
    constexpr std::uint64_t kMultiplier = 0x9E3779B97F4A7C15ULL;
    std::uint64_t hash = (seed ^ text.size()) * kMultiplier;
    std::size_t i = 0;
    for (; i + 8 <= text.size(); i += 8) {
        hash = (hash ^ words::Load(text.data() + i)) * kMultiplier;
    }
    hash = (hash ^ words::LoadUpTo8(text.data() + i, text.size() - i)) * kMultiplier;
    hash ^= hash >> 32;
    return hash * 0xff51afd7ed558ccdULL ^ (hash >> 29);
}

}  // namespace

std::uint64_t ImportTarget::HashOf(const tVokabel& card) {
    return TextHash(card.Answer(), TextHash(card.Question(), 0));
}

ImportTarget::ImportTarget(tCardBox& box, std::size_t expectedCards)
    : ImportTarget(box, expectedCards,
                   [&box](const tVokabel& card) { return box.AddToInput(card); }) {}

ImportTarget::ImportTarget(const tCardBox& box, std::size_t expectedCards, Adder add)
    : add_(std::move(add)) {
    // Room is made for what a file of that many lines will likely bring, but not beyond
    // millions of cards: a large file of empty lines or of binary data brings few, and more
    // room is made as cards come.
    constexpr std::size_t kMostReserved = std::size_t{1} << 23;
    const std::size_t cards =
        static_cast<std::size_t>(box.TotalCards()) + std::min(expectedCards, kMostReserved);
    Grow(cards);
    cards_.reserve(cards);
    box.ForEachCard([this](const tVokabel& card, int) {
        Insert(&card, HashOf(card));
        return true;
    });
}

ImportTarget::~ImportTarget() {
    Flush();
}

std::uint32_t ImportTarget::SlotOf(std::uint64_t hash, std::size_t card) const {
    const std::uint64_t tag = (hash >> 32) << cardBitCount_;
    return static_cast<std::uint32_t>(tag | (card + 1));
}

void ImportTarget::Place(std::uint64_t hash, std::size_t card) {
    const std::size_t mask = slots_.size() - 1;
    std::size_t index = static_cast<std::size_t>(hash) & mask;
    while (slots_[index] != 0) {
        index = (index + 1) & mask;
    }
    slots_[index] = SlotOf(hash, card);
}

// Keeps the table at most half full: probes stay short, and a card's place always fits the
// low bits of a slot (a box holds fewer than 2^31 cards, so they are at most 32).
void ImportTarget::Grow(std::size_t cards) {
    std::size_t capacity = 16;
    int bits = 4;
    while (capacity < 2 * cards) {
        capacity *= 2;
        ++bits;
    }
    if (capacity <= slots_.size()) {
        return;
    }
    slots_.assign(capacity, 0);
    cardBitCount_ = bits;
    for (std::size_t i = 0; i < cards_.size(); ++i) {
        Place(HashOf(*cards_[i]), i);
    }
}

void ImportTarget::Insert(const tVokabel* card, std::uint64_t hash) {
    if (2 * (cards_.size() + 1) > slots_.size()) {
        Grow(cards_.size() + 1);
    }
    cards_.push_back(card);
    Place(hash, cards_.size() - 1);
}

bool ImportTarget::AddIfNew(const tVokabel& card, std::uint64_t hash) {
    const std::size_t mask = slots_.size() - 1;
    const std::uint32_t cardBits = CardBits();
    const std::uint32_t tag = SlotOf(hash, 0) & ~cardBits;
    for (std::size_t index = static_cast<std::size_t>(hash) & mask; slots_[index] != 0;
         index = (index + 1) & mask) {
        const std::uint32_t slot = slots_[index];
        if ((slot & ~cardBits) == tag && cards_[(slot & cardBits) - 1]->SameCard(card)) {
            ++duplicates_;
            return false;
        }
    }
    Insert(add_(card), hash);
    ++added_;
    return true;
}

void ImportTarget::Add(const tVokabel& card) {
    const std::uint64_t hash = HashOf(card);
    __builtin_prefetch(&slots_[static_cast<std::size_t>(hash) & (slots_.size() - 1)]);
    if (waitingCount_ == kLookahead) {
        const Waiting& oldest = waiting_[firstWaiting_];
        AddIfNew(oldest.card, oldest.hash);
        firstWaiting_ = (firstWaiting_ + 1) % kLookahead;
        --waitingCount_;
    }
    waiting_[(firstWaiting_ + waitingCount_) % kLookahead] = {card, hash};
    ++waitingCount_;
}

void ImportTarget::Flush() {
    for (; waitingCount_ > 0; --waitingCount_) {
        const Waiting& oldest = waiting_[firstWaiting_];
        AddIfNew(oldest.card, oldest.hash);
        firstWaiting_ = (firstWaiting_ + 1) % kLookahead;
    }
}

namespace {

std::string_view StoredPart(std::string_view text) {
    return text.substr(0, text.find('\0'));
}

}  // namespace

int ParseImportLine(std::string& line, ImportTarget& target) {
    const std::size_t separator = line.find(kSeparator);
    if (separator == std::string::npos) {
        return kImportSeparatorMissing;
    }
    const std::string_view whole(line);
    const std::string_view question = WithoutTrailingBlanks(whole.substr(0, separator));
    const std::string_view answer = WithoutTrailingBlanks(whole.substr(separator + 1));
    if (question.empty() || answer.empty()) {
        const int code = question.empty() ? kImportQuestionMissing : kImportAnswerMissing;
        line.resize(question.size());
        return code;
    }
    // Only a line with a backslash has escapes to expand. A card keeps its texts up to a zero
    // byte (one in the line, or the "\0" escape).
    const bool escapes = whole.find('\\') != std::string_view::npos;
    std::string& questionBuffer = target.QuestionScratch();
    std::string& answerBuffer = target.AnswerScratch();
    if (escapes) {
        questionBuffer = ExpandEscapesUtf8(question);
        answerBuffer = ExpandEscapesUtf8(answer);
    }
    const std::string_view expandedQuestion = Normalized(
        StoredPart(escapes ? std::string_view(questionBuffer) : question), questionBuffer);
    const std::string_view expandedAnswer =
        Normalized(StoredPart(escapes ? std::string_view(answerBuffer) : answer), answerBuffer);
    const int code = CodeOfSides(expandedQuestion, expandedAnswer, false);
    if (code == kImportQuestionMissing) {
        line.clear();
    } else if (code == kImportAnswerMissing) {
        line = std::string(expandedQuestion);  // a copy: it may lie in `line`
    }
    if (code != kImportAccepted) {
        return code;
    }
    // The sides were found to be UTF-8 of at most 254 bytes without a zero byte.
    tVokabel card;
    card.question.AssignValidUtf8(expandedQuestion);
    card.answer.AssignValidUtf8(expandedAnswer);
    target.Add(card);
    return kImportAccepted;
}

ImportFormat ImportFormatOf(const FilePath& path) {
    if (path.HasExtension(".tsv") || path.HasExtension(".tab")) {
        return ImportFormat::TabSeparated;
    }
    if (path.HasExtension(".csv")) {
        return ImportFormat::Csv;
    }
    return ImportFormat::CardLines;
}

char CsvSeparatorOf(std::string_view firstLine) {
    bool inQuotes = false;
    for (const char c : firstLine) {
        if (c == '"') {
            inQuotes = !inQuotes;
        } else if (!inQuotes && (c == ',' || c == ';')) {
            return c;
        }
    }
    return ',';
}

namespace {

// The next field of a separated line from `at` on, unquoted into `out`; `at` ends after its
// separator, or at the end. A quoted field runs to its closing quote; what follows that quote
// up to the separator belongs to it too, as spreadsheets read it. True when a separator ended
// the field.
bool NextField(std::string_view line, std::size_t& at, char separator, bool quoted,
               std::string& out) {
    out.clear();
    bool inQuotes = false;
    bool startOfField = true;
    for (; at < line.size(); ++at) {
        const char c = line[at];
        if (quoted && inQuotes) {
            if (c == '"' && at + 1 < line.size() && line[at + 1] == '"') {
                out.push_back('"');
                ++at;
            } else if (c == '"') {
                inQuotes = false;
            } else {
                out.push_back(c);
            }
        } else if (c == separator) {
            ++at;
            return true;
        } else if (quoted && c == '"' && startOfField) {
            inQuotes = true;
        } else {
            out.push_back(c);
        }
        startOfField = false;
    }
    return false;
}

}  // namespace

bool CsvQuotes::Take(std::string_view line) {
    // The same walk as `NextField`'s; a quote at the end of a line inside quotes closes them.
    for (std::size_t at = 0; at < line.size(); ++at) {
        const char c = line[at];
        if (inQuotes_) {
            if (c == '"' && at + 1 < line.size() && line[at + 1] == '"') {
                ++at;
            } else if (c == '"') {
                inQuotes_ = false;
            }
            startOfField_ = false;
        } else if (c == separator_) {
            startOfField_ = true;
        } else {
            inQuotes_ = c == '"' && startOfField_;
            startOfField_ = false;
        }
    }
    return inQuotes_;
}

int ParseSeparatedLine(std::string& line, char separator, bool quoted, ImportTarget& target,
                       const FieldLayout& fields) {
    const std::string_view whole(line);
    std::size_t at = 0;
    std::string& question = target.QuestionScratch();
    std::string& answer = target.AnswerScratch();
    if (fields.question == 0 && fields.answer == 1) {
        if (!NextField(whole, at, separator, quoted, question)) {
            return kImportSeparatorMissing;
        }
        static_cast<void>(NextField(whole, at, separator, quoted, answer));
    } else {
        // Columns that hold something else (a deck, tags) are passed over.
        question.clear();
        answer.clear();
        std::string other;
        const int last = std::max(fields.question, fields.answer);
        bool more = true;
        for (int column = 0; column <= last; ++column) {
            if (!more) {
                return kImportSeparatorMissing;
            }
            more = NextField(whole, at, separator, quoted,
                             column == fields.question ? question
                             : column == fields.answer ? answer
                                                       : other);
        }
    }
    if (fields.html) {
        question = TextOfHtml(question);
        answer = TextOfHtml(answer);
    }
    const std::string_view questionText =
        Normalized(StoredPart(WithoutTrailingBlanks(question)), question);
    const std::string_view answerText =
        Normalized(StoredPart(WithoutTrailingBlanks(answer)), answer);
    if (const int code = CodeOfSides(questionText, answerText, separator == '\t' && !quoted);
        code != kImportAccepted) {
        return code;
    }
    tVokabel card;
    card.SetTexts(questionText, answerText);
    target.Add(card);
    return kImportAccepted;
}

namespace {

// As much of a file's start as tells text from other files: one with a zero byte in it is not
// text (the rule version control systems use).
constexpr std::size_t kTextProbe = 8000;

bool LooksLikeText(std::string_view start, TextEncoding encoding) {
    return encoding != TextEncoding::Bytes ||
           start.substr(0, kTextProbe).find('\0') == std::string_view::npos;
}

}  // namespace

bool ImportFile::Open(const FilePath& path) {
    file_ = File();
    if (!file_.OpenExisting(path)) {
        return false;
    }
    fromFile_ = true;
    everyLineUtf8_ = false;
    std::string start(kTextProbe, '\0');
    const std::int64_t got = file_.ReadAt(0, start);
    if (got < 0) {
        return false;
    }
    start.resize(static_cast<std::size_t>(got));
    encoding_ = EncodingOfByteOrderMark(start);
    text_ = LooksLikeText(start, encoding_);
    return Scan();
}

void ImportFile::Assign(std::string bytes) {
    file_ = File();
    fromFile_ = false;
    encoding_ = EncodingOfByteOrderMark(bytes);
    text_ = LooksLikeText(bytes, encoding_);
    if (encoding_ == TextEncoding::Bytes) {
        buffer_ = std::move(bytes);
    } else {
        buffer_.clear();
        Utf16Decoder decoder(encoding_ == TextEncoding::Utf16BigEndian);
        decoder.Decode(std::string_view(bytes).substr(2), buffer_);
        decoder.Finish(buffer_);
    }
    Scan();
}

void ImportFile::Rewind() {
    position_ = 0;
    feedAt_ = std::string::npos;
    feedSearched_ = 0;
    searched_ = 0;
    dropped_ = 0;
    lineTooLong_ = false;
    firstLine_ = true;
    if (fromFile_) {
        buffer_.clear();
        // A UTF-16 file's byte-order mark is no part of its first line.
        readOffset_ = encoding_ == TextEncoding::Bytes ? 0 : 2;
        decoder_ = Utf16Decoder(encoding_ == TextEncoding::Utf16BigEndian);
        ended_ = false;
    } else {
        ended_ = true;
    }
}

// A line feed is never part of a multi-byte UTF-8 character, so the file is valid UTF-8
// exactly when each of its lines is.
bool ImportFile::Scan() {
    Rewind();
    readFailed_ = false;
    byteOrderMark_ = false;
    lines_ = 0;
    bool valid = true;
    bool multiByte = false;
    bool anyTooLong = false;
    std::string_view raw;
    while (NextRawLine(raw)) {
        if (lines_ == 0) {
            byteOrderMark_ = raw.substr(0, kByteOrderMark.size()) == kByteOrderMark;
        }
        ++lines_;
        // A line too long for any card is refused whatever it holds; its kept start may end
        // inside a character.
        anyTooLong = anyTooLong || lineTooLong_;
        if (valid && !lineTooLong_) {
            valid = unicode::IsValidUtf8(raw);
            multiByte = multiByte || !unicode::IsAscii(raw);
        }
    }
    utf8_ = byteOrderMark_ || (valid && multiByte) || encoding_ != TextEncoding::Bytes;
    // Then the lines need not be checked again as they are read (the sides of a card are
    // checked all the same).
    everyLineUtf8_ = valid && !anyTooLong && encoding_ == TextEncoding::Bytes;
    const bool read = !readFailed_;
    Rewind();
    return read;
}

// A line ends at a line feed, at a carriage return and line feed, and at a lone carriage
// return (classic Mac files). Every byte is looked at once: a line still open when a piece
// ends is searched on from where the search stopped. A line longer than `kLineLimit` is not
// held: its first `kLineKept` bytes stay for the message that refuses it, the rest is dropped.
bool ImportFile::NextRawLine(std::string_view& raw) {
    constexpr std::size_t kPiece = 1024 * 1024;
    for (;;) {
        const char* begin = buffer_.data() + position_;
        const std::size_t available = buffer_.size() - position_;
        const char* from = begin + searched_;
        const std::size_t rest = available - searched_;
        const char* feed = NextFeed(position_ + searched_);
        const std::size_t before = feed != nullptr ? static_cast<std::size_t>(feed - from) : rest;
        const auto* ret =
            static_cast<const char*>(before == 0 ? nullptr : std::memchr(from, '\r', before));
        std::size_t length = 0;
        std::size_t ending = 0;
        if (ret != nullptr && (ret + 1 < begin + available || ended_)) {
            length = static_cast<std::size_t>(ret - begin);
            ending = ret + 1 < begin + available && ret[1] == '\n' ? 2 : 1;
        } else if (ret != nullptr) {
            // A carriage return at the end of what is at hand: whether a line feed follows
            // is in the next piece.
            searched_ = static_cast<std::size_t>(ret - begin);
        } else if (feed != nullptr) {
            length = static_cast<std::size_t>(feed - begin);
            ending = 1;
        } else if (ended_) {
            // After a read error the rest at hand is only part of a line: no card comes of it.
            if (available == 0 || readFailed_) {
                return false;
            }
            length = available;
        } else {
            searched_ = available;
        }
        if (ending > 0 || (ended_ && ret == nullptr && feed == nullptr)) {
            lineTooLong_ = dropped_ > 0 || length > kLineLimit;
            raw = {begin, lineTooLong_ ? std::min(length, kLineKept) : length};
            position_ += length + ending;
            searched_ = 0;
            dropped_ = 0;
            return true;
        }
        if (searched_ > kLineLimit) {
            // Keep the start of the line and what is not searched yet (a carriage return).
            buffer_.erase(position_ + kLineKept, searched_ - kLineKept);
            dropped_ += searched_ - kLineKept;
            searched_ = kLineKept;
        }
        // The start of a line is at hand without its end: keep it and read the next piece
        // behind it. No line feed is in what is kept.
        buffer_.erase(0, position_);
        position_ = 0;
        feedAt_ = std::string::npos;
        feedSearched_ = buffer_.size();
        if (encoding_ == TextEncoding::Bytes) {
            const std::size_t kept = buffer_.size();
            buffer_.resize(kept + kPiece);
            const std::int64_t got = file_.ReadAt(readOffset_, {buffer_.data() + kept, kPiece});
            buffer_.resize(kept + static_cast<std::size_t>(std::max<std::int64_t>(got, 0)));
            Advance(got);
        } else {
            // UTF-16 comes in as UTF-8, so the lines are found and read as in a UTF-8 file.
            piece_.resize(kPiece);
            const std::int64_t got = file_.ReadAt(readOffset_, piece_);
            piece_.resize(static_cast<std::size_t>(std::max<std::int64_t>(got, 0)));
            decoder_.Decode(piece_, buffer_);
            if (got <= 0) {
                decoder_.Finish(buffer_);
            }
            Advance(got);
        }
    }
}

// The first line feed at or after `from` in the buffer, or nullptr. A line feed once found is
// remembered, and no byte is searched twice: a file of carriage returns alone, whose lines
// have no line feed behind them, is searched once, not once for every line.
const char* ImportFile::NextFeed(std::size_t from) {
    if (feedAt_ == std::string::npos || feedAt_ < from) {
        const std::size_t start = std::max(from, feedSearched_);
        const void* found = start < buffer_.size()
                                ? std::memchr(buffer_.data() + start, '\n', buffer_.size() - start)
                                : nullptr;
        feedAt_ = found != nullptr
                      ? static_cast<std::size_t>(static_cast<const char*>(found) - buffer_.data())
                      : std::string::npos;
        feedSearched_ = found != nullptr ? feedAt_ : buffer_.size();
    }
    return feedAt_ != std::string::npos ? buffer_.data() + feedAt_ : nullptr;
}

void ImportFile::Advance(std::int64_t got) {
    if (got <= 0) {
        ended_ = true;
        readFailed_ = got < 0;
    } else {
        readOffset_ += static_cast<std::uint64_t>(got);
    }
}

bool ImportFile::NextLine(std::string& line, int& problem) {
    std::string_view raw;
    if (!NextRawLine(raw)) {
        return false;
    }
    if (std::exchange(firstLine_, false) && byteOrderMark_) {
        raw.remove_prefix(kByteOrderMark.size());
    }
    if (!raw.empty() && raw.back() == '\r') {
        raw.remove_suffix(1);
    }
    problem = kImportAccepted;
    if (utf8_) {
        if (everyLineUtf8_ || unicode::IsValidUtf8(raw)) {
            line.assign(raw);
        } else {
            line.clear();
            for (std::size_t at = 0; at < raw.size();) {
                unicode::AppendUtf8(line, unicode::DecodeNext(raw, at));
            }
            problem = kImportNotUtf8;
        }
        return true;
    }
    // A file that is not UTF-8 is Windows-1252. A byte that the set leaves undefined is no
    // character a card could keep.
    if (!AllDefinedAnsi(raw)) {
        problem = kImportCharacterNotSupported;
    }
    if (unicode::IsAscii(raw)) {
        line.assign(raw);
        return true;
    }
    line.clear();
    for (const char c : raw) {
        const auto byte = static_cast<unsigned char>(c);
        unicode::AppendUtf8(
            line, IsDefinedAnsi(byte) ? CodePointOfWindows1252(byte) : unicode::kReplacement);
    }
    return true;
}

bool ImportFile::FitsInMemory() const {
    const std::uint64_t budget = AvailableMemory();
    return budget == 0 || static_cast<std::uint64_t>(lines_) <= budget / kMemoryPerLine;
}

namespace {

// Enough lines to see a header, the names of the columns and whether the lines hold tabs.
constexpr std::size_t kLinesThatTellTheLayout = 50;

}  // namespace

bool ImportLines(ImportFile& file, ImportFormat format, ImportTarget& target,
                 const std::function<bool(const RefusedImportLine&)>& refused) {
    std::string line;
    std::string next;
    int problem = kImportAccepted;
    // The first lines tell what the name does not: header lines of other trainers, column
    // names, tabs in a ".txt".
    std::vector<std::string> firstLines;
    while (firstLines.size() < kLinesThatTellTheLayout && file.NextLine(line, problem)) {
        firstLines.push_back(line);
    }
    file.Rewind();
    const ImportLayout layout = ReadImportLayout(firstLines, format);
    format = layout.format;
    bool tooLong = false;
    int number = 0;
    // A CSV file's separator is its header's, else its first line tells it.
    char separator = format == ImportFormat::TabSeparated ? '\t' : layout.separator;
    while (file.NextLine(line, problem)) {
        ++number;
        tooLong = file.LineTooLong();
        if (number <= layout.headerLines || line.empty() ||
            static_cast<unsigned char>(line.front()) < 32) {
            continue;
        }
        if (layout.quoted) {
            if (separator == '\0') {
                separator = CsvSeparatorOf(line);
            }
            CsvQuotes quotes(separator);
            bool goesOn = quotes.Take(line);
            int nextProblem = kImportAccepted;
            while (goesOn && !tooLong && file.NextLine(next, nextProblem)) {
                ++number;
                problem = problem != kImportAccepted ? problem : nextProblem;
                tooLong =
                    file.LineTooLong() || line.size() + 1 + next.size() > ImportFile::kLineLimit;
                if (!tooLong) {
                    line += ' ';
                    line += next;
                    goesOn = quotes.Take(next);
                }
            }
        }
        const int code =
            tooLong                      ? kImportTextTooLong
            : problem != kImportAccepted ? problem
            : format == ImportFormat::CardLines
                ? ParseImportLine(line, target)
                : ParseSeparatedLine(line, separator, layout.quoted, target, layout.fields);
        if (code != kImportAccepted && !refused({code, number, line})) {
            break;
        }
    }
    return layout.tabsFound;
}

}  // namespace tallyfold
