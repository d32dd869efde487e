#pragma once

#include <array>

#include "box/card.h"

namespace tallyfold {

/// Shared by every input dialog of a learning session, a nested one included: the texts carried
/// into and out of the dialog, and the texts of the Save before the last. The session keeps
/// them between dialogs, so the next dialog starts from what the last one left.
struct CardInputTexts {
    using TextBuffer = std::array<char, kMaxCardText + 1>;
    TextBuffer question{};
    TextBuffer answer{};
    TextBuffer lastQuestion{};
    TextBuffer lastAnswer{};
};

}  // namespace tallyfold
