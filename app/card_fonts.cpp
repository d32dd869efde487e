#include "app/card_fonts.h"

#include <algorithm>
#include <charconv>

namespace tallyfold {

namespace {

constexpr int kDefaultPoints = 16;
constexpr int kSmallestPoints = 4;
constexpr int kLargestPoints = 400;

}  // namespace

platform::TextFont DefaultCardFont() {
    return {"", kDefaultPoints};
}

platform::TextFont CardFontOfSetting(std::string_view setting) {
    int points = 0;
    const auto [end, error] =
        std::from_chars(setting.data(), setting.data() + setting.size(), points);
    if (error != std::errc() || points < kSmallestPoints || points > kLargestPoints) {
        return DefaultCardFont();
    }
    std::string_view family(end, static_cast<std::size_t>(setting.data() + setting.size() - end));
    if (!family.empty() && family.front() != ' ') {
        return DefaultCardFont();
    }
    if (!family.empty()) {
        family.remove_prefix(1);
    }
    return {std::string(family), points};
}

std::string SettingOfCardFont(const platform::TextFont& font) {
    std::string setting = std::to_string(font.points);
    if (!font.family.empty()) {
        setting += ' ';
        setting += font.family;
    }
    return setting;
}

platform::TextFont CardFontForField(const platform::TextFont& chosen, int fieldHeight) {
    const int points = chosen.points > 0 ? chosen.points : kDefaultPoints;
    const double scale =
        std::clamp(static_cast<double>(fieldHeight) / kCardFieldHeightAtChosenSize, 0.5, 4.0);
    return {chosen.family, std::max(kSmallestPoints, static_cast<int>(points * scale + 0.5))};
}

}  // namespace tallyfold
