#pragma once

// Menus and keys as the Windows API takes them: item labels with their key after a tab, and
// accelerator entries (the ACCEL structure's fields) for the menu's keys and the program's own
// accelerator table. Plain data, made and checked on every system.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/menu.h"

namespace tallyfold::platform::win32 {

/// ACCEL's fVirt bits.
inline constexpr std::uint8_t kVirtualKey = 0x01;
inline constexpr std::uint8_t kShift = 0x04;
inline constexpr std::uint8_t kControl = 0x08;
inline constexpr std::uint8_t kAlt = 0x10;

struct AcceleratorEntry {
    /// kVirtualKey and the modifiers; 0 for a typed character.
    std::uint8_t flags = 0;
    /// A virtual-key code, or the character's code.
    std::uint16_t key = 0;
    int command = 0;

    friend bool operator==(const AcceleratorEntry&, const AcceleratorEntry&) = default;
};

/// The key of "Ctrl+Shift+S", "F1" or "Ctrl+Delete": a virtual key with its modifiers; nothing
/// for a name that is no key.
std::optional<AcceleratorEntry> ParseShortcut(std::string_view text, int command);

/// An accelerator of the program's own table: a virtual key as it is, a character as typed.
AcceleratorEntry EntryOf(const Accelerator& accelerator);

/// A menu item's label: its text (UTF-8, with its & mnemonic) and, after a tab, the
/// first of its keys, which Windows shows at the right of the menu.
std::u16string MenuLabel(const MenuItem& item);

/// Every key of every command in `menu`, then the entries of `table`, in that order (the
/// first entry for a key wins).
std::vector<AcceleratorEntry> AcceleratorsOf(const MenuTemplate& menu,
                                             const AcceleratorTable& table);

}  // namespace tallyfold::platform::win32
