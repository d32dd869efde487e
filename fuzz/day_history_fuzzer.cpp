// Any bytes as a day history file: read without a crash; what reads as a history is written
// back in the same form and reads as the same history, each day once and in order, no count
// below 0, and a streak never longer than the days there are.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "document/day_history.h"
#include "fuzz/fuzz_files.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tallyfold;
    const std::string text = fuzz::BytesOf(data, size);
    const std::optional<DayHistory> history = DayHistory::FromText(text);
    if (!history) {
        return 0;
    }
    const std::string written = history->Text();
    const std::optional<DayHistory> again = DayHistory::FromText(written);
    if (!again || !(*again == *history) || again->Text() != written) {
        std::abort();
    }
    for (const auto& [day, counts] : history->Days()) {
        if (counts.known < 0 || counts.unknown < 0 || counts.entered < 0 || counts.learnt < 0 ||
            counts.Empty()) {
            std::abort();
        }
        static_cast<void>(day);
    }
    const int days = static_cast<int>(history->Days().size());
    if (history->LongestStreak() > days) {
        std::abort();
    }
    if (!history->Days().empty() &&
        history->CurrentStreak(history->Days().rbegin()->first) > history->LongestStreak()) {
        std::abort();
    }
    return 0;
}
