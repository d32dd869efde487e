#include "files/vok_file.h"

#include <array>
#include <cstdio>
#include <string_view>
#include <vector>

#include "files/kas_file.h"
#include "files/replacement_file.h"
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
    for (std::uint32_t index = 0; table.GoTo(index) && !table.Eof(); ++index) {
        CopyCardText(card.question, CardText(table.Deutsch.Text()));
        CopyCardText(card.answer, CardText(table.Uebersetzt.Text()));
        card.knownCount = table.Gewusst.Value();
        card.unknownCount = table.Unbekannt.Value();
        const std::string_view letter = table.Kasten.Text();
        const int number = PartitionNumber(letter.empty() ? '\0' : letter.front(), partitions);
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
            const char letter[2] = {PartitionLetter(number, partitions), '\0'};
            if (!table.AppendBlank()) {
                return false;
            }
            // Literal: a backslash in a card is a backslash, not the start of an escape.
            table.Deutsch.AssignLiteral(card.Question());
            table.Uebersetzt.AssignLiteral(card.Answer());
            table.Gewusst.Assign(card.knownCount);
            table.Unbekannt.Assign(card.unknownCount);
            table.Kasten.AssignLiteral(letter);
            table.Alter.Assign(++count);
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
