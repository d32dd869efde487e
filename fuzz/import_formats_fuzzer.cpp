// Any bytes read as an import file in each of its formats (card lines, tab-separated, CSV with
// its records of several lines), through the loop the Import command runs: each encoding (UTF-8,
// UTF-16 either way round, Windows-1252), each refusal, the duplicate index. The first byte
// chooses the format; the rest is the file.

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
    if (size == 0) {
        return 0;
    }
    static constexpr ImportFormat kFormats[] = {ImportFormat::CardLines, ImportFormat::TabSeparated,
                                                ImportFormat::Csv};
    const ImportFormat format = kFormats[data[0] % 3];
    tCardBox box;
    tVokabel existing;
    existing.SetTexts("Haus", "house");
    box.AddToPartition(existing, 3);
    ImportFile file;
    file.Assign(fuzz::BytesOf(data + 1, size - 1));
    if (!file.IsText()) {
        return 0;
    }
    ImportTarget target(box, file.LineCount());
    int lastNumber = 0;
    ImportLines(file, format, target, [&lastNumber, &file](const RefusedImportLine& line) {
        // Every refusal has its message, and names a line of the file after the one before.
        if (ImportMessageId(line.code) == 0 || line.number <= lastNumber ||
            static_cast<std::size_t>(line.number) > file.LineCount()) {
            std::abort();
        }
        lastNumber = line.number;
        return true;
    });
    target.Flush();
    // Every card fits, and no card came in twice.
    if (box.TotalCards() != 1 + target.Added()) {
        std::abort();
    }
    box.ForEachCard([](const tVokabel& card, int) {
        // A tab is a side's own only in a tab-separated file.
        for (const std::string_view side : {card.Question(), card.Answer()}) {
            if (unicode::ProblemOfSide(side, true) != unicode::SideProblem::None ||
                unicode::ToNfc(side) != side) {
                std::abort();
            }
        }
        return true;
    });
    return 0;
}
