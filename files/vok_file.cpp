#include "files/vok_file.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "files/card_field_text.h"
#include "files/code_page_file.h"
#include "files/kas_file.h"
#include "files/memory_budget.h"
#include "files/replacement_file.h"
#include "table/charset.h"
#include "table/create_dbf.h"

namespace tallyfold {

namespace {

constexpr char kLastPartitionLetter = 'Z';
constexpr char kInputStackLetter = 'X';
constexpr std::array<std::int64_t, 10> kPowersOfTen = {
    1, 10, 100, 1000, 10000, 100000, 1000000, 10000000, 100000000, 1000000000};

char PartitionLetter(int number, int partitions) {
    if (number == partitions) {
        return kLastPartitionLetter;
    }
    if (number == partitions + 1) {
        return kInputStackLetter;
    }
    return static_cast<char>('A' + number - 1);
}

// The number a partition letter stands for, or 0 for a letter that names no partition.
int PartitionNumber(char letter, int partitions) {
    if (letter == kLastPartitionLetter) {
        return partitions;
    }
    if (letter == kInputStackLetter) {
        return partitions + 1;
    }
    const int number = letter - 'A' + 1;
    return number >= 1 && number <= partitions + 1 ? number : 0;
}

// A counter right-aligned in its field, as the numeric accessor stores it. Counters are
// almost always small and positive: those are written digit by digit straight into the record.
void PutNumber(std::int32_t value, std::span<char> field) {
    if (value >= 0 && !field.empty() && field.size() <= 9 && value < kPowersOfTen[field.size()]) {
        std::size_t position = field.size();
        auto magnitude = static_cast<std::uint32_t>(value);
        do {
            field[--position] = static_cast<char>('0' + magnitude % 10);
            magnitude /= 10;
        } while (magnitude != 0);
        std::fill_n(field.data(), position, ' ');
        return;
    }
    std::array<char, 256> digits;
    FormatInt(value, static_cast<int>(field.size()), digits);
    std::copy_n(digits.data(), field.size(), field.data());
}

// A counter that its field cannot hold is stored as the nearest number that fits, so it reads
// back as that number and not as 0; the box goes on counting in memory. Fields of ten digits
// and more hold every 32-bit number.
std::int32_t FittingCounter(std::int32_t value, std::size_t width) {
    if (width == 0 || width >= 10) {
        return value;
    }
    const std::int64_t largest = kPowersOfTen[width] - 1;
    const std::int64_t smallest = width == 1 ? 0 : -(kPowersOfTen[width - 1] - 1);
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, smallest, largest));
}

// From this many records on, a load reads the file on two threads at once, in pieces of
// `kPieceRecords`.
constexpr std::uint32_t kRecordsToShare = 65536;
constexpr std::uint32_t kPieceRecords = 32768;

// The cards of a run of records, and those whose letter named no partition. Two threads fill
// neighbouring ones, so each has cache lines of its own.
struct alignas(64) CardsRead {
    tCardBox cards;
    std::vector<tVokabel> misplaced;
    int cut = 0;
    // The record, from 1, whose texts are no UTF-8; 0 when there is none.
    std::int64_t notUtf8 = 0;
};

// The table and the memory the second thread of a load reads with.
struct alignas(64) SecondReader {
    tVokDB table;
    NodePool::Lane lane;
};

// Reads the records from `first` up to `last` into `read`; false when one could not be read.
bool ReadCards(tVokDB& table, std::uint32_t first, std::uint32_t last, int partitions,
               CardsRead& read) {
    tVokabel card;
    char letter = '\0';
    for (std::uint32_t index = first; index < last; ++index) {
        const std::span<const char> record = table.PeekRecord(index);
        if (record.empty()) {
            return false;
        }
        const CardTextsRead texts = table.ReadCard(record, card, letter);
        if (!texts.utf8) {
            read.notUtf8 = static_cast<std::int64_t>(index) + 1;
            return false;
        }
        read.cut += texts.cut;
        const int number = PartitionNumber(letter, partitions);
        if (number == 0) {
            read.misplaced.push_back(card);
        } else {
            read.cards.AddToPartition(card, number);
        }
    }
    return true;
}

}  // namespace

bool tVokDB::Open(const FilePath& path) {
    if (!tDBF::Open(path)) {
        return false;
    }
    BindFields();
    return true;
}

bool tVokDB::OpenSame(const tVokDB& other) {
    if (!tDBF::OpenSame(other)) {
        return false;
    }
    BindFields();
    return true;
}

void tVokDB::BindFields() {
    Deutsch.Bind(*this, "DEUTSCH");
    Uebersetzt.Bind(*this, "UEBERSETZT");
    layout_ = VokLayout::Classic;
    if (!Deutsch.HasField() && !Uebersetzt.HasField()) {
        Deutsch.Bind(*this, "FRAGE");
        Uebersetzt.Bind(*this, "ANTWORT");
        if (Deutsch.HasField() || Uebersetzt.HasField()) {
            layout_ = VokLayout::Unicode;
        }
    }
    Kasten.Bind(*this, "KASTEN");
    Alter.Bind(*this, "ALTER");
    Gewusst.Bind(*this, "GEWUSST");
    Unbekannt.Bind(*this, "UNBEKANNT");
    question_ = SliceOf(Deutsch, false);
    answer_ = SliceOf(Uebersetzt, false);
    letter_ = SliceOf(Kasten, false);
    position_ = SliceOf(Alter, true);
    known_ = SliceOf(Gewusst, true);
    unknown_ = SliceOf(Unbekannt, true);
}

tVokDB::Slice tVokDB::SliceOf(const tFeld& field, bool numeric) const {
    if (field.Index() < 0 || (numeric && field.Type() != 'N')) {
        return {};
    }
    return {static_cast<std::size_t>(FieldOffset(field.Index())),
            static_cast<std::size_t>(FieldLength(field.Index()))};
}

CardTextsRead tVokDB::ReadCard(std::span<const char> record, tVokabel& card, char& letter) const {
    const auto bytes = [&record](Slice slice) {
        return slice.offset + slice.length > record.size()
                   ? std::span<const char>()
                   : record.subspan(slice.offset, slice.length);
    };
    CardTextsRead texts;
    if (layout_ == VokLayout::Classic) {
        ReadCardText(bytes(question_), card.question);
        ReadCardText(bytes(answer_), card.answer);
    } else {
        bool questionCut = false;
        bool answerCut = false;
        texts.utf8 = ReadUtf8CardText(bytes(question_), card.question, questionCut) &&
                     ReadUtf8CardText(bytes(answer_), card.answer, answerCut);
        texts.cut = (questionCut ? 1 : 0) + (answerCut ? 1 : 0);
    }
    const auto number = [&bytes](Slice slice) {
        const std::span<const char> digits = bytes(slice);
        return ParseFieldNumber({digits.data(), digits.size()});
    };
    card.knownCount = number(known_);
    card.unknownCount = number(unknown_);
    const std::span<const char> kasten = bytes(letter_);
    letter = kasten.empty() || kasten[0] == ' '
                 ? '\0'
                 : static_cast<char>(OemToAnsiChar(static_cast<unsigned char>(kasten[0])));
    return texts;
}

bool tVokDB::AppendCard(const tVokabel& card, char letter, int position) {
    const std::span<char> record = AppendBlankRecord();
    if (record.empty()) {
        return false;
    }
    // Fields not written stay blank, as a record made by AppendBlank has them.
    const auto writeText = layout_ == VokLayout::Classic ? WriteCardText : WriteUtf8CardText;
    if (question_.length > 0) {
        textsFit_ = writeText(card.question, record.subspan(question_.offset, question_.length)) &&
                    textsFit_;
    }
    if (answer_.length > 0) {
        textsFit_ =
            writeText(card.answer, record.subspan(answer_.offset, answer_.length)) && textsFit_;
    }
    if (letter_.length > 0) {
        record[letter_.offset] =
            static_cast<char>(AnsiToOemChar(static_cast<unsigned char>(letter)));
    }
    const auto putNumber = [&record](Slice slice, std::int32_t value) {
        if (slice.length > 0) {
            PutNumber(value, record.subspan(slice.offset, slice.length));
        }
    };
    putNumber(known_, FittingCounter(card.knownCount, known_.length));
    putNumber(unknown_, FittingCounter(card.unknownCount, unknown_.length));
    putNumber(position_, position);
    return true;
}

bool FitsClassicFile(const tCardBox& box) {
    return box.ForEachCard([](const tVokabel& card, int) {
        return FitsClassicField(card.question) && FitsClassicField(card.answer);
    });
}

bool CreateVokFile(const FilePath& path) {
    tCreateDBF builder;
    // The program's own fields always fit; should one be refused, no table lacking it is made.
    const bool listed =
        builder.AddField("DEUTSCH", 'C', 64, 0) && builder.AddField("UEBERSETZT", 'C', 64, 0) &&
        builder.AddField("KASTEN", 'C', 1, 0) && builder.AddField("ALTER", 'N', 4, 0) &&
        builder.AddField("GEWUSST", 'N', 5, 0) && builder.AddField("UNBEKANNT", 'N', 5, 0);
    return listed && builder.Create(path);
}

bool CreateUnicodeVokFile(const FilePath& path, int questionBytes, int answerBytes) {
    tCreateDBF builder;
    const bool listed =
        builder.AddField("FRAGE", 'C', questionBytes, 0) &&
        builder.AddField("ANTWORT", 'C', answerBytes, 0) && builder.AddField("KASTEN", 'C', 1, 0) &&
        builder.AddField("ALTER", 'N', 4, 0) && builder.AddField("GEWUSST", 'N', 5, 0) &&
        builder.AddField("UNBEKANNT", 'N', 5, 0);
    return listed && builder.Create(path);
}

LoadResult LoadVokFile(const FilePath& path, tCardBox& box) {
    LoadResult result;
    tVokDB table;
    if (!table.Open(path)) {
        return result;
    }
    // A table without either text field holds no cards, whatever its size says: records too
    // small for a card are no vocabulary.
    if (!table.Deutsch.HasField() && !table.Uebersetzt.HasField()) {
        result.refused = LoadRefusal::NoCardFields;
        return result;
    }
    // The layout says the texts are UTF-8; a code page file that says otherwise contradicts
    // it, and which one is wrong is not to be guessed.
    result.layout = table.Layout();
    if (result.layout == VokLayout::Unicode) {
        if (std::optional<std::string> codePage = ReadCodePage(path);
            codePage && !NamesUtf8(*codePage)) {
            result.refused = LoadRefusal::OtherCodePage;
            result.codePage = std::move(*codePage);
            return result;
        }
    }
    // Every card takes memory; a file with more cards than the memory holds is refused whole
    // before the first is made, so the program never runs out of memory on it.
    const std::uint64_t budget = AvailableMemory();
    if (budget != 0 &&
        static_cast<std::uint64_t>(table.RecordCount()) * kMemoryPerLoadedCard > budget) {
        result.refused = LoadRefusal::TooLarge;
        result.counted = table.RecordCount();
        return result;
    }
    // The cards gather in boxes of their own and join `box` only once every record was read:
    // a read error leaves `box` as it was, never with part of the file or blank cards.
    const std::uint32_t count = table.RecordCount();
    const int partitions = box.PartitionCount();
    // A large file is read in pieces by two threads at once, each taking the next piece not
    // yet taken, so neither waits for the other when the window's start holds up one of them.
    // The pieces' cards join in the file's order, as if read one after the other.
    const std::uint32_t pieceRecords = count < kRecordsToShare ? count : kPieceRecords;
    const std::uint32_t pieces =
        count < kRecordsToShare ? 1 : (count + kPieceRecords - 1) / kPieceRecords;
    const auto read = std::make_unique<CardsRead[]>(pieces);
    std::atomic<std::uint32_t> nextPiece{0};
    std::atomic<bool> failed{false};
    const auto readPieces = [&](tVokDB& source) {
        for (std::uint32_t piece = nextPiece++; piece < pieces && !failed; piece = nextPiece++) {
            const std::uint32_t first = piece * pieceRecords;
            const std::uint32_t last = std::min(count, first + pieceRecords);
            if (!ReadCards(source, first, last, partitions, read[piece])) {
                failed = true;
            }
        }
    };
    // What the second thread writes as it goes lies apart from what this one writes, each on
    // cache lines of its own.
    const auto second = std::make_unique<SecondReader>();
    std::thread helper;
    if (pieces > 1 && std::thread::hardware_concurrency() >= 2 && second->table.OpenSame(table)) {
        second->lane = tVokListe::TakeNodeLane(count / 2);
        helper = std::thread([&] {
            const NodePool::Lane::Use use(second->lane);
            readPieces(second->table);
        });
    }
    readPieces(table);
    if (helper.joinable()) {
        helper.join();
        tVokListe::ReturnNodeLane(std::move(second->lane));
    }
    if (failed) {
        for (std::uint32_t piece = 0; piece < pieces; ++piece) {
            if (read[piece].notUtf8 != 0) {
                result.refused = LoadRefusal::NotUtf8;
                result.badRecord = read[piece].notUtf8;
                break;
            }
        }
        return result;
    }
    for (std::uint32_t piece = 0; piece < pieces; ++piece) {
        result.cut += read[piece].cut;
    }
    for (std::uint32_t piece = 0; piece < pieces; ++piece) {
        box.TakeCardsFrom(read[piece].cards);
    }
    std::size_t misplaced = 0;
    for (std::uint32_t piece = 0; piece < pieces; ++piece) {
        for (const tVokabel& card : read[piece].misplaced) {
            box.AddToInput(card);
        }
        misplaced += read[piece].misplaced.size();
    }
    result.opened = true;
    result.counted = table.HeaderRecordCount();
    result.loaded = static_cast<int>(count);
    result.misplaced = static_cast<int>(misplaced);
    return result;
}

namespace {

enum class Written { Saved, Failed, NotClassic };

// Writes the file in `layout`; a classic file stops at the first text it cannot hold.
Written WriteVokFile(const FilePath& path, const tCardBox& box, const FilePath& backup,
                     VokLayout layout, std::vector<int>& counts) {
    const int partitions = box.PartitionCount();
    std::fill(counts.begin(), counts.end(), 0);
    std::size_t questionBytes = 1;
    std::size_t answerBytes = 1;
    if (layout == VokLayout::Unicode) {
        box.ForEachCard([&](const tVokabel& card, int) {
            questionBytes = std::max(questionBytes, card.question.Size());
            answerBytes = std::max(answerBytes, card.answer.Size());
            return true;
        });
    }
    ReplacementFile file(path);
    file.KeepOldAs(backup);
    const bool created =
        file.Reserve() &&
        (layout == VokLayout::Classic
             ? CreateVokFile(file.TempPath())
             : CreateUnicodeVokFile(file.TempPath(), static_cast<int>(questionBytes),
                                    static_cast<int>(answerBytes)));
    if (!created) {
        return Written::Failed;
    }
    tVokDB table;
    if (!table.Open(file.TempPath())) {
        return Written::Failed;
    }
    // Nobody else sees the temporary file, so its records are written in large blocks.
    table.SetWriteBehind(true);
    const bool appended = box.ForEachCard([&](const tVokabel& card, int number) {
        int& count = counts[static_cast<std::size_t>(number - 1)];
        // Texts are stored literally: a backslash in a card is not the start of an escape.
        return table.AppendCard(card, PartitionLetter(number, partitions), ++count) &&
               table.TextsFit();
    });
    if (!table.TextsFit()) {
        return Written::NotClassic;
    }
    if (!appended) {
        return Written::Failed;
    }
    const bool synced = table.Sync();
    table.Close();
    return synced && !table.WriteFailed() && file.Commit() ? Written::Saved : Written::Failed;
}

}  // namespace

bool SaveVokFile(const FilePath& path, tCardBox& box, const FilePath& backup) {
    const int partitions = box.PartitionCount();
    std::vector<int> counts(static_cast<std::size_t>(partitions) + 1, 0);
    // A box the classic file holds is saved as the classic program saved it; any other, found
    // at the first text the classic file cannot hold, in a Unicode file whose text fields are
    // as wide as its longest texts.
    VokLayout layout = VokLayout::Classic;
    Written written = WriteVokFile(path, box, backup, layout, counts);
    if (written == Written::NotClassic) {
        layout = VokLayout::Unicode;
        written = WriteVokFile(path, box, backup, layout, counts);
    }
    if (written != Written::Saved) {
        return false;
    }
    // The box file and the code page file are for other tools: the cards are safe without them.
    static_cast<void>(WriteKasFile(
        path, std::span<const int>(counts).first(static_cast<std::size_t>(partitions))));
    if (layout == VokLayout::Classic) {
        RemoveUtf8CodePage(path);
    } else {
        static_cast<void>(WriteUtf8CodePage(path));
    }
    return true;
}

}  // namespace tallyfold
