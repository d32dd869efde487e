#include "document/checked_answer.h"

#include <string_view>
#include <vector>

#include "resources/resource_ids.h"
#include "resources/string_table.h"

namespace tallyfold {

namespace {

// "a", "a and b", "a, b and c".
std::string Listed(const std::vector<std::string_view>& parts) {
    if (parts.size() == 1) {
        return std::string(parts.front());
    }
    std::string first;
    for (std::size_t part = 0; part + 1 < parts.size(); ++part) {
        first += part == 0 ? "" : ", ";
        first += parts[part];
    }
    return FormatTexts(StringResource(ids::kStrSlipsAnd), {first, parts.back()});
}

}  // namespace

std::string VerdictText(const AnswerComparison& comparison) {
    if (!comparison.right) {
        return std::string(StringResource(ids::kStrAnswerNotRight));
    }
    std::vector<std::string_view> slips;
    if (comparison.forgiven.capitals) {
        slips.push_back(StringResource(ids::kStrSlipCapitals));
    }
    if (comparison.forgiven.accents) {
        slips.push_back(StringResource(ids::kStrSlipAccents));
    }
    if (comparison.forgiven.punctuation) {
        slips.push_back(StringResource(ids::kStrSlipPunctuation));
    }
    const std::string verdict =
        slips.empty() ? std::string(StringResource(ids::kStrAnswerRight))
                      : FormatTexts(StringResource(ids::kStrAnswerRightBut), {Listed(slips)});
    return comparison.forgiven.alternative
               ? FormatTexts(StringResource(ids::kStrAnswerOneOfSeveral), {verdict})
               : verdict;
}

std::string SpokenComparison(const AnswerComparison& comparison) {
    std::string spoken =
        FormatTexts(StringResource(ids::kStrAnswerTyped), {comparison.typed, comparison.expected});
    if (comparison.right) {
        return spoken + ", " + VerdictText(comparison);
    }
    if (comparison.wrong > 0) {
        spoken += ", " + CountOf(comparison.wrong, ids::kStrOneLetterWrong, ids::kStrLettersWrong);
    }
    if (comparison.missing > 0) {
        spoken +=
            ", " + CountOf(comparison.missing, ids::kStrOneLetterMissing, ids::kStrLettersMissing);
    }
    if (comparison.extra > 0) {
        spoken += ", " + CountOf(comparison.extra, ids::kStrOneLetterExtra, ids::kStrLettersExtra);
    }
    return spoken;
}

}  // namespace tallyfold
