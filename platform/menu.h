#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tallyfold::platform {

/// A command with keys of its own on every desktop; each window system gives its own keys
/// for it (on most, those of `ConventionalKeys`).
enum class StandardKey { None, New, Open, Save, SaveAs, Quit, HelpContents, Close };

/// The keys most desktops give a standard command, in the form "Ctrl+Shift+S".
std::vector<std::string> ConventionalKeys(StandardKey key);

/// One menu entry: a command item, a popup with items of its own, or a separator.
struct MenuItem {
    std::string text;
    int command = 0;
    std::vector<MenuItem> items;
    /// Key combinations that choose the item wherever the window has the focus, in the form
    /// "Ctrl+Shift+Z"; the first is shown in the menu.
    std::vector<std::string> shortcuts;
    /// The desktop's keys for this command, before `shortcuts`.
    StandardKey standard = StandardKey::None;

    static MenuItem Command(std::string text, int command,
                            std::vector<std::string> shortcuts = {}) {
        return {std::move(text), command, {}, std::move(shortcuts)};
    }
    static MenuItem Command(std::string text, int command, StandardKey standard) {
        return {std::move(text), command, {}, {}, standard};
    }
    static MenuItem Popup(std::string text, std::vector<MenuItem> items) {
        return {std::move(text), 0, std::move(items), {}};
    }
    /// The item's keys as this program offers them where the desktop adds none of its own.
    std::vector<std::string> Keys() const;
    static MenuItem Separator() { return {}; }

    bool IsSeparator() const { return text.empty() && command == 0 && items.empty(); }
    bool IsPopup() const { return !items.empty(); }
};

struct MenuTemplate {
    int id = 0;
    std::vector<MenuItem> popups;
};

/// A key as an accelerator sees it: a virtual key (Enter, Escape) or a typed character.
struct Key {
    enum class Kind { Virtual, Character };
    Kind kind = Kind::Virtual;
    int code = 0;

    static Key Virtual(int code) { return {Kind::Virtual, code}; }
    static Key Character(char c) { return {Kind::Character, static_cast<unsigned char>(c)}; }
    friend bool operator==(const Key&, const Key&) = default;
};

inline constexpr int kVkTab = 0x09;
inline constexpr int kVkReturn = 0x0D;
inline constexpr int kVkEscape = 0x1B;

/// Whether an accelerator may take `key` while an edit has the keyboard focus: Enter and
/// Escape may, a typed character belongs to the text. (An input method's own keys, such as the
/// Enter that confirms a candidate, never reach the accelerators while it composes.)
inline bool AcceleratorTakesFromEdit(const Key& key) {
    return key.kind == Key::Kind::Virtual;
}

struct Accelerator {
    Key key;
    int command = 0;
};

struct AcceleratorTable {
    int id = 0;
    std::vector<Accelerator> entries;

    /// The command for `key`, if the table has one. Characters match exactly, case included.
    std::optional<int> Find(const Key& key) const {
        for (const Accelerator& entry : entries) {
            if (entry.key == key) {
                return entry.command;
            }
        }
        return std::nullopt;
    }
};

}  // namespace tallyfold::platform
