#include "platform/win32/menu_keys.h"

#include <array>
#include <utility>

#include "text/utf16.h"

namespace tallyfold::platform::win32 {

namespace {

// Key names as the program's menus spell them, with their virtual-key codes.
constexpr std::array<std::pair<std::string_view, std::uint16_t>, 19> kNamedKeys{{
    {"Backspace", 0x08}, {"Tab", 0x09},    {"Enter", 0x0D}, {"Return", 0x0D}, {"Escape", 0x1B},
    {"Esc", 0x1B},       {"Space", 0x20},  {"PgUp", 0x21},  {"PgDown", 0x22}, {"End", 0x23},
    {"Home", 0x24},      {"Left", 0x25},   {"Up", 0x26},    {"Right", 0x27},  {"Down", 0x28},
    {"Ins", 0x2D},       {"Insert", 0x2D}, {"Del", 0x2E},   {"Delete", 0x2E},
}};

std::optional<std::uint16_t> VirtualKeyOf(std::string_view name) {
    if (name.size() == 1) {
        const char c = name[0];
        if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) {
            return static_cast<std::uint16_t>(c);
        }
        if (c >= 'a' && c <= 'z') {
            return static_cast<std::uint16_t>(c - 'a' + 'A');
        }
        return std::nullopt;
    }
    if (name.size() <= 3 && name[0] == 'F') {
        int number = 0;
        for (const char digit : name.substr(1)) {
            if (digit < '0' || digit > '9') {
                return std::nullopt;
            }
            number = number * 10 + (digit - '0');
        }
        if (number >= 1 && number <= 24) {
            return static_cast<std::uint16_t>(0x70 + number - 1);  // VK_F1 onwards
        }
        return std::nullopt;
    }
    for (const auto& [known, code] : kNamedKeys) {
        if (known == name) {
            return code;
        }
    }
    return std::nullopt;
}

}  // namespace

std::optional<AcceleratorEntry> ParseShortcut(std::string_view text, int command) {
    AcceleratorEntry entry;
    entry.flags = kVirtualKey;
    entry.command = command;
    for (;;) {
        const std::size_t plus = text.find('+');
        // A last part of "+" itself ("Ctrl++") is no key the menus use.
        if (plus == std::string_view::npos || plus == 0) {
            break;
        }
        const std::string_view modifier = text.substr(0, plus);
        if (modifier == "Ctrl") {
            entry.flags |= kControl;
        } else if (modifier == "Shift") {
            entry.flags |= kShift;
        } else if (modifier == "Alt") {
            entry.flags |= kAlt;
        } else {
            return std::nullopt;
        }
        text.remove_prefix(plus + 1);
    }
    const std::optional<std::uint16_t> key = VirtualKeyOf(text);
    if (!key) {
        return std::nullopt;
    }
    entry.key = *key;
    return entry;
}

AcceleratorEntry EntryOf(const Accelerator& accelerator) {
    AcceleratorEntry entry;
    entry.command = accelerator.command;
    entry.key = static_cast<std::uint16_t>(accelerator.key.code);
    entry.flags = accelerator.key.kind == Key::Kind::Virtual ? kVirtualKey : 0;
    return entry;
}

std::u16string MenuLabel(const MenuItem& item) {
    std::u16string label = unicode::Utf16FromUtf8(item.text);
    const std::vector<std::string> keys = item.Keys();
    if (!keys.empty()) {
        label += u'\t';
        label += unicode::Utf16FromUtf8(keys.front());
    }
    return label;
}

namespace {

void AddKeysOf(const std::vector<MenuItem>& items, std::vector<AcceleratorEntry>& out) {
    for (const MenuItem& item : items) {
        if (item.IsPopup()) {
            AddKeysOf(item.items, out);
            continue;
        }
        for (const std::string& key : item.Keys()) {
            if (const std::optional<AcceleratorEntry> entry = ParseShortcut(key, item.command)) {
                out.push_back(*entry);
            }
        }
    }
}

}  // namespace

std::vector<AcceleratorEntry> AcceleratorsOf(const MenuTemplate& menu,
                                             const AcceleratorTable& table) {
    std::vector<AcceleratorEntry> entries;
    AddKeysOf(menu.popups, entries);
    for (const Accelerator& accelerator : table.entries) {
        entries.push_back(EntryOf(accelerator));
    }
    return entries;
}

}  // namespace tallyfold::platform::win32
