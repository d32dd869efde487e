#include "files/kas_file.h"

#include <cstdio>

#include "files/replacement_file.h"
#include "table/create_dbf.h"

namespace tallyfold {

namespace {

constexpr int kUnlimited = 999999;

}  // namespace

bool tKastenDB::Open(const std::string& path) {
    if (!tDBF::Open(path)) {
        return false;
    }
    Bez.Bind(*this, "BEZ");
    Name.Bind(*this, "NAME");
    Max.Bind(*this, "MAX");
    Anzahl.Bind(*this, "ANZAHL");
    MaxAlter.Bind(*this, "MAXALTER");
    return true;
}

void tKastenDB::Error(int code) {
    char text[64];
    std::snprintf(text, sizeof text, "Fehler in Kastendatei: %d", code);
    message_ = text;
    writeFailed_ = writeFailed_ || code == kDbfWriteFailed;
}

std::string KasFileName(const std::string& vokPath) {
    const std::size_t dot = vokPath.find_last_of('.');
    if (dot == std::string::npos || dot == 0) {
        return vokPath + ".kas";
    }
    return vokPath.substr(0, dot) + ".kas";
}

bool CreateKasFile(const std::string& path) {
    tCreateDBF builder;
    builder.AddField("BEZ", 'C', 1, 0);
    builder.AddField("ANZAHL", 'N', 6, 0);
    builder.AddField("NAME", 'C', 10, 0);
    builder.AddField("MAX", 'N', 6, 0);
    builder.AddField("MAXALTER", 'N', 6, 0);
    return builder.Create(path);
}

bool WriteKasFile(const std::string& vokPath, std::span<const int> partitionCounts) {
    const std::string path = KasFileName(vokPath);
    if (path == vokPath) {
        return false;
    }
    ReplacementFile file(path);
    if (!file.Reserve() || !CreateKasFile(file.TempPath())) {
        return false;
    }
    tKastenDB table;
    if (!table.Open(file.TempPath())) {
        return false;
    }
    std::int64_t capacity = 10;
    for (std::size_t i = 0; i < partitionCounts.size(); ++i, capacity *= 2) {
        const int number = static_cast<int>(i) + 1;
        char letter[2] = {static_cast<char>('A' + i), '\0'};
        char name[24];
        std::snprintf(name, sizeof name, "%d. Fach", number);
        table.AppendBlank();
        table.Bez.Assign(letter);
        table.Anzahl.Assign(partitionCounts[i]);
        table.Name.Assign(name);
        table.Max.Assign(capacity);
        table.MaxAlter.Assign(partitionCounts[i]);
    }
    table.AppendBlank();
    table.Bez.Assign("Z");
    table.Max.Assign(kUnlimited);
    table.Name.Assign("Ablage");
    table.AppendBlank();
    table.Bez.Assign("X");
    table.Max.Assign(kUnlimited);
    table.Name.Assign("Eingabe");
    const bool synced = table.Sync();
    table.Close();
    return synced && !table.WriteFailed() && file.Commit();
}

}  // namespace tallyfold
