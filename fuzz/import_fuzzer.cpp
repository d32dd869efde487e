// Any bytes read as an import file, every line parsed into a box: each encoding path, each
// refusal, and the duplicate index against the box's own search.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "box/card_box.h"
#include "document/text_import.h"
#include "fuzz/fuzz_files.h"
#include "text/card_side.h"
#include "text/normalization.h"
#include "text/utf8.h"

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
    int problem = kImportAccepted;
    while (file.NextLine(line, problem)) {
        if (!unicode::IsValidUtf8(line)) {
            std::abort();
        }
        if (problem != kImportAccepted || line.empty() ||
            static_cast<unsigned char>(line.front()) < 32) {
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
            // Every side is one a card may have, in NFC.
            for (const std::string_view side : {stored->Question(), stored->Answer()}) {
                if (unicode::ProblemOfSide(side) != unicode::SideProblem::None ||
                    unicode::ToNfc(side) != side) {
                    std::abort();
                }
            }
        }
    }
    return 0;
}
