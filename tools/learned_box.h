#pragma once

// A box learned on for some weeks, for the screenshots of the Statistics window: the box of a
// vocabulary file is learned on day by day with the document's own verdicts, on most days of
// the last six weeks, and saved with its day history.

#include <cstdint>
#include <ctime>
#include <random>

#include "document/document.h"
#include "table/file_path.h"

namespace tallyfold::tools {

/// Opens `path`, learns on it for six weeks up to today and saves it there with its history.
inline bool LearnForSixWeeks(const FilePath& path) {
    tCardBox box;
    Document document(box);
    // A made-up box needs no backup of the one it replaces.
    document.SetKeepBackups(false);
    if (!document.Open(path).opened) {
        return false;
    }
    const std::time_t now = std::time(nullptr);
    std::mt19937 random(2026);
    for (int daysAgo = 41; daysAgo >= 0; --daysAgo) {
        // A day off now and then; more answers at the weekend.
        if (random() % 5 == 0 && daysAgo > 3) {
            continue;
        }
        document.SetClock(
            [now, daysAgo] { return now - static_cast<std::time_t>(daysAgo) * 86400; });
        const int answers = 8 + static_cast<int>(random() % 30);
        for (int answer = 0; answer < answers; ++answer) {
            const bool known = random() % 4 != 0;
            const Document::Step step(document, known ? StepName::Known : StepName::Unknown);
            int number = 0;
            static_cast<void>(document.ChooseNext(false, number));
            if (known) {
                document.Known();
            } else {
                document.Unknown();
            }
        }
    }
    const bool saved = document.Save();
    document.Close();
    return saved;
}

}  // namespace tallyfold::tools
