#include "resources/help_pages.h"

#include "resources/resource_ids.h"

namespace tallyfold {

std::string_view HelpPageOfDialog(unsigned long context) {
    switch (context) {
        case ids::kDoublesDialog:
            return "doubles.html";
        case ids::kInputDialog:
            return "input.html";
        case ids::kTargetDialog:
            return "target.html";
        case ids::kOverviewDialog:
            return "overview.html";
        case ids::kCardsDialog:
            return "cards-window.html";
        case ids::kStatisticsDialog:
            return "statistics.html";
        default:
            return {};
    }
}

}  // namespace tallyfold
