#include "files/vok_file.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <string_view>
#include <vector>

#include "files/kas_file.h"
#include "files/replacement_file.h"
#include "table/charset.h"
#include "table/create_dbf.h"

namespace tallyfold {

namespace {

constexpr char kLastPartitionLetter = 'Z';
constexpr char kInputStackLetter = 'X';

// A field from another writer may hold 64 characters; a card holds 63, without trailing blanks.
std::string_view CardText(std::string_view text) {
    text = text.substr(0, kMaxCardText);
    while (!text.empty() && text.back() == ' ') {
        text.remove_suffix(1);
    }
    return text;
}

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

}  // namespace

bool tVokDB::Open(const std::string& path) {
    if (!tDBF::Open(path)) {
        return false;
    }
    composed_.assign(RecordLength(), ' ');
    Deutsch.Bind(*this, "DEUTSCH");
    Uebersetzt.Bind(*this, "UEBERSETZT");
    Kasten.Bind(*this, "KASTEN");
    Alter.Bind(*this, "ALTER");
    Gewusst.Bind(*this, "GEWUSST");
    Unbekannt.Bind(*this, "UNBEKANNT");
    return true;
}

void tVokDB::Error(int code) {
    char text[64];
    std::snprintf(text, sizeof text, "Fehler in Vokabeldatei: %d", code);
    message_ = text;
    writeFailed_ = writeFailed_ || code == kDbfWriteFailed;
}

namespace {

// A card text from a field's bytes: up to a zero byte, without trailing blanks, cut to what a
// card holds, converted to Windows-1252.
void ReadText(std::span<const char> bytes, char (&text)[kMaxCardText + 1]) {
    const void* zero = bytes.empty() ? nullptr : std::memchr(bytes.data(), '\0', bytes.size());
    const std::size_t end =
        zero != nullptr ? static_cast<std::size_t>(static_cast<const char*>(zero) - bytes.data())
                        : bytes.size();
    const std::size_t length = LengthWithoutTrailingBlanks(bytes.first(end));
    CopyCardText(text, CardText({bytes.data(), length}));
    TextOemToAnsi(text);
}

std::int32_t ReadNumber(const tDBF& table, const tNumField& field) {
    if (field.Type() != 'N') {
        return 0;
    }
    const std::span<const char> bytes = table.FieldBytes(field.Index());
    return ParseFieldNumber({bytes.data(), bytes.size()});
}

}  // namespace

void tVokDB::ReadCard(tVokabel& card, char& letter) const {
    ReadText(FieldBytes(Deutsch.Index()), card.question);
    ReadText(FieldBytes(Uebersetzt.Index()), card.answer);
    card.knownCount = ReadNumber(*this, Gewusst);
    card.unknownCount = ReadNumber(*this, Unbekannt);
    const std::span<const char> kasten = FieldBytes(Kasten.Index());
    letter = kasten.empty() || kasten[0] == ' '
                 ? '\0'
                 : static_cast<char>(OemToAnsiChar(static_cast<unsigned char>(kasten[0])));
}

bool tVokDB::AppendCard(const tVokabel& card, char letter, int position) {
    std::fill(composed_.begin(), composed_.end(), ' ');
    const auto putText = [this](const tCharField& field, std::string_view text) {
        if (field.Index() < 0) {
            return;
        }
        const auto length =
            std::min<std::size_t>(text.size(), static_cast<std::size_t>(field.Length()));
        char* target = composed_.data() + FieldOffset(field.Index());
        std::copy_n(text.data(), length, target);
        TextAnsiToOem({target, length});
    };
    const auto putNumber = [this](const tNumField& field, std::int64_t value) {
        if (field.Type() != 'N') {
            return;
        }
        std::array<char, 256> digits;
        FormatInt(value, field.Length(), digits);
        std::copy_n(digits.data(), field.Length(), composed_.data() + FieldOffset(field.Index()));
    };
    putText(Deutsch, card.Question());
    putText(Uebersetzt, card.Answer());
    putNumber(Gewusst, card.knownCount);
    putNumber(Unbekannt, card.unknownCount);
    putText(Kasten, std::string_view(&letter, 1));
    putNumber(Alter, position);
    return AppendRecord(composed_);
}

bool CreateVokFile(const std::string& path) {
    tCreateDBF builder;
    builder.AddField("DEUTSCH", 'C', 64, 0);
    builder.AddField("UEBERSETZT", 'C', 64, 0);
    builder.AddField("KASTEN", 'C', 1, 0);
    builder.AddField("ALTER", 'N', 4, 0);
    builder.AddField("GEWUSST", 'N', 5, 0);
    builder.AddField("UNBEKANNT", 'N', 5, 0);
    return builder.Create(path);
}

LoadResult LoadVokFile(const std::string& path, tCardBox& box) {
    LoadResult result;
    tVokDB table;
    if (!table.Open(path)) {
        return result;
    }
    result.opened = true;
    const int partitions = box.PartitionCount();
    std::vector<tVokabel> misplaced;
    tVokabel card;
    char letter = '\0';
    for (std::uint32_t index = 0; table.GoTo(index) && !table.Eof(); ++index) {
        table.ReadCard(card, letter);
        const int number = PartitionNumber(letter, partitions);
        if (number == 0) {
            misplaced.push_back(card);
        } else {
            box.AddToPartition(card, number);
        }
        ++result.loaded;
    }
    for (const tVokabel& lost : misplaced) {
        box.AddToInput(lost);
    }
    result.misplaced = static_cast<int>(misplaced.size());
    return result;
}

bool SaveVokFile(const std::string& path, tCardBox& box) {
    const int partitions = box.PartitionCount();
    std::vector<int> counts(static_cast<std::size_t>(partitions) + 1, 0);
    ReplacementFile file(path);
    if (!file.Reserve() || !CreateVokFile(file.TempPath())) {
        return false;
    }
    {
        tVokDB table;
        if (!table.Open(file.TempPath())) {
            return false;
        }
        // Nobody else sees the temporary file, so its records are written in large blocks.
        table.SetWriteBehind(true);
        tVokabel card;
        for (int number = box.FirstCard(card); number != 0; number = box.NextCard(card)) {
            int& count = counts[static_cast<std::size_t>(number - 1)];
            // Texts are stored literally: a backslash in a card is not the start of an escape.
            if (!table.AppendCard(card, PartitionLetter(number, partitions), ++count)) {
                return false;
            }
        }
        const bool synced = table.Sync();
        table.Close();
        if (!synced || table.WriteFailed() || !file.Commit()) {
            return false;
        }
    }
    WriteKasFile(path, std::span<const int>(counts).first(static_cast<std::size_t>(partitions)));
    return true;
}

}  // namespace tallyfold
