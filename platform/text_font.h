#pragma once

#include <string>

namespace tallyfold::platform {

/// A face and a size for a text, as the user chose them.
struct TextFont {
    /// The face's family name; empty for the window's own face.
    std::string family;
    /// The size in points; 0 for the window's own size.
    int points = 0;

    friend bool operator==(const TextFont&, const TextFont&) = default;
};

}  // namespace tallyfold::platform
