#pragma once

// The fonts of the card's two sides: the learner's choice, kept between runs, and the size at
// which a side is drawn in the window as it is now.

#include <string>
#include <string_view>

#include "platform/text_font.h"

namespace tallyfold {

/// The height in pixels of a card field in the window at its first size: there a side is drawn
/// at the size the learner chose.
inline constexpr int kCardFieldHeightAtChosenSize = 40;

/// A side's font until the learner chooses one: the window's face, large.
platform::TextFont DefaultCardFont();

/// The font a setting names ("18 Noto Sans CJK JP": the size in points, a blank, the face);
/// the default for a setting that is empty or names no size from 4 to 400 points.
platform::TextFont CardFontOfSetting(std::string_view setting);
std::string SettingOfCardFont(const platform::TextFont& font);

/// `chosen` at the size for a card field `fieldHeight` pixels high: the text grows and shrinks
/// with the field, from half to four times the chosen size.
platform::TextFont CardFontForField(const platform::TextFont& chosen, int fieldHeight);

}  // namespace tallyfold
