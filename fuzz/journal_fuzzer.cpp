// A journal, as a run that ended might have left it, restored into a box; then everything the
// restore brought back undone and redone. The first byte tells the input's form: odd, the rest
// is a journal file as it is; even, the rest is entries, each after a two-byte length (little
// endian), framed into a journal with valid checksums, so that the fuzzer reaches the replay
// rather than the checksums.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

#include "box/card_box.h"
#include "document/document.h"
#include "document/journal.h"
#include "document/recovery.h"
#include "fuzz/fuzz_files.h"
#include "fuzz/seed_box.h"

namespace {

using namespace tallyfold;

constexpr const char* kJournal = "fuzz.journal";
constexpr const char* kSetAside = "fuzz.journal.damaged";

void WriteFramed(const FilePath& path, const std::uint8_t* data, std::size_t size) {
    JournalWriter writer;
    if (!writer.Create(path, JournalBase())) {
        std::abort();
    }
    std::size_t at = 0;
    while (size - at >= 2) {
        const std::size_t length = data[at] | (std::size_t{data[at + 1]} << 8);
        at += 2;
        const std::size_t taken = length < size - at ? length : size - at;
        writer.Add(std::string_view(reinterpret_cast<const char*>(data + at), taken));
        at += taken;
    }
    writer.Close();
}

// Every card with its partition and counters, in the box's order.
std::string StateOf(const tCardBox& box) {
    std::string state = std::to_string(box.CurrentPartition());
    box.ForEachCard([&state](const tVokabel& card, int number) {
        state += '|';
        state += std::to_string(number);
        state += ':';
        state += card.Question();
        state += '=';
        state += card.Answer();
        state += ' ';
        state += std::to_string(card.knownCount);
        state += '/';
        state += std::to_string(card.unknownCount);
        return true;
    });
    return state;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const FilePath path = FilePath(fuzz::ScratchFolder()).Child(kJournal);
    if ((data[0] & 1U) != 0) {
        static_cast<void>(fuzz::WriteScratch(kJournal, data + 1, size - 1));
    } else {
        WriteFramed(path, data + 1, size - 1);
    }
    if (const std::optional<Recovery> recovery = ReadRecovery(path)) {
        tCardBox box;
        fuzz::FillSeedBox(box);
        Document document(box);
        const bool whole = document.Restore(*recovery);
        // What the offer counted as whole is never less than what the replay took whole.
        if (whole && !recovery->count.whole) {
            std::abort();
        }
        // Undone to the start and redone to the end of the history (the journal's own undos
        // leave steps to redo), then back to where the restore left it: the same box.
        const std::string restored = StateOf(box);
        int undone = 0;
        while (document.Undo()) {
            ++undone;
        }
        int redone = 0;
        while (document.Redo()) {
            ++redone;
        }
        if (redone < undone) {
            std::abort();
        }
        for (int back = 0; back < redone - undone; ++back) {
            if (!document.Undo()) {
                std::abort();
            }
        }
        if (StateOf(box) != restored) {
            std::abort();
        }
    }
    fuzz::ClearScratch({kJournal, kSetAside});
    return 0;
}
