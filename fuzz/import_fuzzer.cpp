// Any bytes read as an import file, every line parsed into a box: each encoding path, each
// refusal, and the duplicate index against the box's own search.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "box/card_box.h"
#include "document/text_import.h"
#include "fuzz/fuzz_files.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tallyfold;
    tCardBox box;
    box.AddToPartition(
        [] {
            tVokabel card;
            card.SetTexts("Haus", "house");
            return card;
        }(),
        3);
    ImportFile file;
    file.Assign(fuzz::BytesOf(data, size));
    ImportTarget target(box);
    std::string line;
    bool convertible = true;
    while (file.NextLine(line, convertible)) {
        if (!convertible || line.empty() || static_cast<unsigned char>(line.front()) < 32) {
            continue;
        }
        const int code = ParseImportLine(line, target);
        if (code != kImportAccepted && ImportMessageId(code) == 0) {
            std::abort();
        }
    }
    target.Flush();
    // Every card is there once: no two equal cards in the box.
    tVokabel card;
    for (int number = 1; number <= box.PartitionCount() + 1; ++number) {
        for (tVokabel* stored = box.FirstInPartition(number, card); stored != nullptr;
             stored = box.NextInPartition(number, card)) {
            if (stored->Question().size() > kMaxCardText ||
                stored->Answer().size() > kMaxCardText) {
                std::abort();
            }
        }
    }
    return 0;
}
