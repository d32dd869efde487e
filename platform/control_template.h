#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "platform/geometry.h"

namespace tallyfold::platform {

/// `MarkedText` is a line of text whose parts are marked, drawn by the program (`MarkedRun`);
/// `Picture` shapes the program draws (`Picture`).
enum class ControlKind {
    Static,
    Button,
    Edit,
    ListBox,
    ComboBox,
    Table,
    CheckBox,
    MarkedText,
    Picture
};

/// Style bits of a control; each applies to the kinds named.
namespace style {
inline constexpr unsigned kCenter = 1u << 0;         ///< static: centred text
inline constexpr unsigned kRight = 1u << 1;          ///< static: right-aligned text
inline constexpr unsigned kBorder = 1u << 2;         ///< static, edit, list box: a frame
inline constexpr unsigned kSunken = 1u << 3;         ///< static: a sunken frame
inline constexpr unsigned kDefaultButton = 1u << 4;  ///< button: pressed by Enter
inline constexpr unsigned kTabStop = 1u << 5;        ///< reached with Tab
/// list box: reports selection changes; edit: reports the user's changes of its text
inline constexpr unsigned kNotify = 1u << 6;
inline constexpr unsigned kExtendedSelection = 1u << 7;  ///< list box, table: several lines at once
inline constexpr unsigned kVerticalScroll = 1u << 8;     ///< list and combo box
inline constexpr unsigned kNoAutoHorizontalScroll = 1u << 9;  ///< edit: no scrolling past the end
inline constexpr unsigned kDropDownList = 1u << 10;           ///< combo box: choose only, no typing
/// static: drawn on the palette's colour for texts (that of lists and edits), in its text colour
inline constexpr unsigned kTextBackground = 1u << 11;
}  // namespace style

/// How a control of a resizable dialog follows the dialog's size; without any, it stays where
/// the template puts it. Only controls with an id follow.
namespace anchor {
inline constexpr unsigned kRight = 1u << 0;   ///< moves with the right edge
inline constexpr unsigned kBottom = 1u << 1;  ///< moves with the bottom edge
inline constexpr unsigned kWidth = 1u << 2;   ///< grows as wide as the dialog grows
inline constexpr unsigned kHeight = 1u << 3;  ///< grows as tall as the dialog grows
}  // namespace anchor

/// Where a control at `rect` (anchored by `anchors`) lies in a dialog grown by `width` and
/// `height` beyond its template's size.
inline Rect Anchored(const Rect& rect, unsigned anchors, int width, int height) {
    Rect placed = rect;
    if ((anchors & anchor::kRight) != 0) {
        placed.x += width;
    }
    if ((anchors & anchor::kBottom) != 0) {
        placed.y += height;
    }
    if ((anchors & anchor::kWidth) != 0) {
        placed.width = std::max(placed.width + width, 1);
    }
    if ((anchors & anchor::kHeight) != 0) {
        placed.height = std::max(placed.height + height, 1);
    }
    return placed;
}

/// Id of a control that no code addresses (labels).
inline constexpr int kNoControlId = -1;

struct ControlTemplate {
    int id = kNoControlId;
    ControlKind kind = ControlKind::Static;
    std::string text;
    Rect rect;
    unsigned style = 0;
    unsigned anchors = 0;
};

/// A key of a dialog beyond Enter, Escape, Tab and F1: `shortcut` ("Ctrl+F", "Del", spelled as
/// the menus spell keys) sends `command` to the dialog. With a `control`, only while that control
/// has the keyboard focus. A key an edit control uses on its text (`EditUsesKey`) stays the
/// edit's while one has the focus.
struct DialogKey {
    std::string shortcut;
    int command = 0;
    int control = 0;
};

/// A dialog as data: caption, placement and size in dialog units, font, and its controls.
struct DialogTemplate {
    int id = 0;
    std::string caption;
    Rect rect;
    std::string fontName;
    int fontPoints = 8;
    bool contextHelp = false;
    std::vector<ControlTemplate> controls;
    /// The button that F1 presses: the dialog's own help. None when 0.
    int helpButton = 0;
    std::vector<DialogKey> keys{};
    /// The user may make the dialog larger (never smaller than the template); the controls
    /// follow by their anchors, and the size is kept for the next time.
    bool resizable = false;

    /// The control with this id, or nullptr.
    const ControlTemplate* Control(int controlId) const {
        for (const ControlTemplate& control : controls) {
            if (control.id == controlId) {
                return &control;
            }
        }
        return nullptr;
    }
};

}  // namespace tallyfold::platform
