// Writes the seeds of the fuzz targets that read what the program itself writes: journals of
// learning sessions (every kind of change, saves, undo past a save) and exports in every format.
// Run by hand from the build: make_program_seeds fuzz/corpus. The seeds are committed.

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "document/document.h"
#include "document/text_import.h"
#include "files/fnv_hash.h"
#include "files/vok_file.h"
#include "fuzz/seed_box.h"
#include "table/native_path.h"
#include "tests/support/cards.h"
#include "tests/support/files.h"
#include "tests/support/journals.h"
#include "tests/support/random_steps.h"

namespace {

using namespace tallyfold;

void WriteSeed(const std::filesystem::path& folder, const std::string& bytes) {
    char name[32];
    std::snprintf(name, sizeof name, "seed-%016llx",
                  static_cast<unsigned long long>(Fnv1a<std::uint64_t>(bytes)));
    std::ofstream(folder / name, std::ios::binary) << bytes;
}

std::string ReadWhole(const FilePath& path) {
    std::ifstream in(NativePath(path), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A learner's session of `steps` changes, with a save in the middle when `save` is set; the
// journal it leaves as the fuzzer takes it, as a file and as entries.
void JournalSeeds(const std::filesystem::path& folder, unsigned seed, int steps, bool save) {
    testing::TempDir dir;
    const FilePath journals = dir.File("journals");
    std::filesystem::create_directories(NativePath(journals));
    tCardBox cards;
    fuzz::FillSeedBox(cards);
    const FilePath path = dir.File("words.vok");
    if (!SaveVokFile(path, cards)) {
        std::abort();
    }
    tCardBox box;
    Document document(box);
    document.SetJournalFolder(journals);
    if (!document.Open(path).opened) {
        std::abort();
    }
    std::mt19937 random(seed);
    for (int i = 0; i < steps; ++i) {
        testing::RandomStep(document, random);
        if (save && i == steps / 2 && !document.Save()) {
            std::abort();
        }
    }
    // An undo past the save writes a snapshot.
    if (save) {
        for (int i = 0; i < steps && document.Undo(); ++i) {
        }
    }
    // The document's one journal.
    FilePath journal;
    for (const auto& entry : std::filesystem::directory_iterator(NativePath(journals))) {
        journal = PathFromNative(entry.path());
    }
    if (journal.IsEmpty()) {
        return;
    }
    WriteSeed(folder, "\x01" + ReadWhole(journal));
    JournalReader reader;
    if (!reader.Open(journal)) {
        std::abort();
    }
    std::string entries = "\x00";
    for (const std::string& entry : testing::EntriesOf(reader)) {
        if (entry.size() < 0x10000) {
            entries += static_cast<char>(entry.size() & 0xFF);
            entries += static_cast<char>(entry.size() >> 8);
            entries += entry;
        }
    }
    WriteSeed(folder, entries);
}

// UTF-8 text of the Basic Multilingual Plane as UTF-16 with a byte-order mark.
std::string Utf16Of(const std::string& utf8, bool bigEndian) {
    std::string out = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (std::size_t at = 0; at < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[at]);
        const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : 3;
        char32_t code = length == 1 ? lead : length == 2 ? lead & 0x1FU : lead & 0x0FU;
        for (std::size_t i = 1; i < length && at + i < utf8.size(); ++i) {
            code = (code << 6) | (static_cast<unsigned char>(utf8[at + i]) & 0x3FU);
        }
        at += length;
        const char high = static_cast<char>(code >> 8);
        const char low = static_cast<char>(code & 0xFF);
        out += bigEndian ? std::string{high, low} : std::string{low, high};
    }
    return out;
}

void ImportSeeds(const std::filesystem::path& folder) {
    testing::TempDir dir;
    tCardBox box;
    box.AddToPartition(testing::Card("Haus", "house"), 1);
    box.AddToPartition(testing::Card("Stra\xDF"
                                     "e; Weg",
                                     "street, road"),
                       2);
    box.AddToPartition(testing::Card("say \"hi\"", "x\ty"), 3);
    box.AddToPartition(testing::Card("\xC4pfel", "apples"), tCardBox::kInputStack);
    box.AddToPartition(testing::Card("back\\slash", "semi;colon"), tCardBox::kInputStack);
    const char formats[] = {'\x00', '\x01', '\x02'};
    const char* names[] = {"out.txt", "out.tsv", "out.csv"};
    for (int i = 0; i < 3; ++i) {
        const FilePath path = dir.File(names[i]);
        if (!ExportText(path, box, ImportFormatOf(path))) {
            std::abort();
        }
        const std::string bytes = ReadWhole(path);
        WriteSeed(folder, formats[i] + bytes);
        if (i > 0) {
            // Spreadsheets save "Unicode text" as UTF-16; the export is UTF-8 after its mark.
            WriteSeed(folder, formats[i] + Utf16Of(bytes.substr(3), false));
            WriteSeed(folder, formats[i] + Utf16Of(bytes.substr(3), true));
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_program_seeds <corpus folder>\n");
        return 2;
    }
    const std::filesystem::path corpus(argv[1]);
    const std::filesystem::path journals = corpus / "journal_fuzzer";
    const std::filesystem::path imports = corpus / "import_formats_fuzzer";
    std::filesystem::create_directories(journals);
    std::filesystem::create_directories(imports);
    testing::TempDir home;
    testing::UseUserFoldersIn(FilePath(home.Path()));
    for (unsigned seed = 1; seed <= 6; ++seed) {
        JournalSeeds(journals, seed, 3 + 3 * static_cast<int>(seed), seed % 2 == 0);
    }
    ImportSeeds(imports);
    std::printf("seeds written into %s\n", argv[1]);
    return 0;
}
