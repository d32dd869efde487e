#include "files/kas_file.h"

#include <string>

#include "files/replacement_file.h"
#include "table/create_dbf.h"

namespace tallyfold {

namespace {

constexpr int kUnlimited = 999999;

}  // namespace

bool tKastenDB::Open(const FilePath& path) {
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

FilePath KasFileName(const FilePath& vokPath) {
    // Only the file's own name has an extension: a dot in a folder's name is none.
    return vokPath.WithExtension(".kas");
}

bool CreateKasFile(const FilePath& path) {
    tCreateDBF builder;
    // The program's own fields always fit; should one be refused, no table lacking it is made.
    const bool listed =
        builder.AddField("BEZ", 'C', 1, 0) && builder.AddField("ANZAHL", 'N', 6, 0) &&
        builder.AddField("NAME", 'C', 10, 0) && builder.AddField("MAX", 'N', 6, 0) &&
        builder.AddField("MAXALTER", 'N', 6, 0);
    return listed && builder.Create(path);
}

bool WriteKasFile(const FilePath& vokPath, std::span<const int> partitionCounts) {
    const FilePath path = KasFileName(vokPath);
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
    bool appended = true;
    for (std::size_t i = 0; appended && i < partitionCounts.size(); ++i, capacity *= 2) {
        const int number = static_cast<int>(i) + 1;
        const char letter[2] = {static_cast<char>('A' + i), '\0'};
        appended = table.AppendBlank();
        table.Bez.Assign(letter);
        table.Anzahl.Assign(partitionCounts[i]);
        table.Name.Assign(std::to_string(number) + ". Fach");
        table.Max.Assign(capacity);
        table.MaxAlter.Assign(partitionCounts[i]);
    }
    appended = appended && table.AppendBlank();
    table.Bez.Assign("Z");
    table.Max.Assign(kUnlimited);
    table.Name.Assign("Ablage");
    appended = appended && table.AppendBlank();
    table.Bez.Assign("X");
    table.Max.Assign(kUnlimited);
    table.Name.Assign("Eingabe");
    const bool synced = appended && table.Sync();
    table.Close();
    return synced && !table.WriteFailed() && file.Commit();
}

}  // namespace tallyfold
