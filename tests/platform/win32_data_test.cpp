// The plain-data half of the Windows backend: dialog templates in memory, menu labels and
// accelerators.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/win32/dialog_template_words.h"
#include "platform/win32/menu_keys.h"
#include "resources/dialog_templates.h"
#include "resources/main_menu.h"
#include "resources/resource_ids.h"
#include "text/utf16.h"

namespace tallyfold::platform::win32 {
namespace {

// Reads a template back as the dialog manager does.
class TemplateReader {
  public:
    explicit TemplateReader(const std::vector<std::uint16_t>& words) : words_(words) {}

    std::uint16_t Word() { return at_ < words_.size() ? words_[at_++] : 0xDEAD; }
    std::uint32_t DoubleWord() {
        const std::uint32_t low = Word();
        return low | (static_cast<std::uint32_t>(Word()) << 16);
    }
    int Short() { return static_cast<std::int16_t>(Word()); }
    std::u16string Text() {
        std::u16string text;
        for (std::uint16_t unit = Word(); unit != 0 && at_ < words_.size(); unit = Word()) {
            text.push_back(static_cast<char16_t>(unit));
        }
        return text;
    }
    void AlignToDoubleWord() { at_ += at_ % 2; }
    std::size_t At() const { return at_; }

  private:
    const std::vector<std::uint16_t>& words_;
    std::size_t at_ = 0;
};

constexpr std::uint32_t kWsTabStop = 0x00010000;
constexpr std::uint32_t kWsChild = 0x40000000;
constexpr std::uint32_t kBsDefPushButton = 0x1;

TEST(DialogTemplateWords, ReadBackGiveTheTemplateControlByControl) {
    const DialogTemplate& input = InputTemplate();
    const std::vector<std::uint16_t> words = DialogTemplateWords(input);
    TemplateReader reader(words);
    EXPECT_EQ(reader.Word(), 1);       // version
    EXPECT_EQ(reader.Word(), 0xFFFF);  // extended template
    EXPECT_EQ(reader.DoubleWord(), 0u);
    EXPECT_EQ(reader.DoubleWord(), 0u);  // no context help button
    EXPECT_EQ(reader.DoubleWord(), DialogStyle(input));
    ASSERT_EQ(reader.Word(), input.controls.size());
    EXPECT_EQ(reader.Short(), input.rect.x);
    EXPECT_EQ(reader.Short(), input.rect.y);
    EXPECT_EQ(reader.Short(), input.rect.width);
    EXPECT_EQ(reader.Short(), input.rect.height);
    EXPECT_EQ(reader.Word(), 0);  // menu
    EXPECT_EQ(reader.Word(), 0);  // class
    EXPECT_EQ(reader.Text(), u"Input");
    EXPECT_EQ(reader.Word(), 8);       // points
    EXPECT_EQ(reader.Word(), 400);     // weight
    EXPECT_EQ(reader.Word(), 0x0100);  // not italic; any charset (DEFAULT_CHARSET)
    EXPECT_EQ(reader.Text(), u"MS Shell Dlg");
    for (const ControlTemplate& control : input.controls) {
        reader.AlignToDoubleWord();
        EXPECT_EQ(reader.At() % 2, 0u);
        EXPECT_EQ(reader.DoubleWord(), 0u);  // help id
        const ControlStyle expected = StyleOf(control);
        EXPECT_EQ(reader.DoubleWord(), expected.extendedStyle);
        const std::uint32_t style = reader.DoubleWord();
        EXPECT_EQ(style, expected.style);
        EXPECT_NE(style & kWsChild, 0u);
        EXPECT_EQ(reader.Short(), control.rect.x);
        EXPECT_EQ(reader.Short(), control.rect.y);
        EXPECT_EQ(reader.Short(), control.rect.width);
        EXPECT_EQ(reader.Short(), control.rect.height);
        const std::uint32_t id = reader.DoubleWord();
        EXPECT_EQ(
            id, control.id == kNoControlId ? 0xFFFFFFFFu : static_cast<std::uint32_t>(control.id));
        if (expected.className != nullptr) {
            EXPECT_EQ(reader.Text(), unicode::Utf16FromUtf8(expected.className));
        } else {
            EXPECT_EQ(reader.Word(), 0xFFFF);
            EXPECT_EQ(reader.Word(), expected.classOrdinal);
        }
        EXPECT_EQ(reader.Text(), unicode::Utf16FromUtf8(control.text));
        EXPECT_EQ(reader.Word(), 0);  // no creation data
    }
    EXPECT_EQ(reader.At(), words.size());
}

TEST(DialogTemplateWords, ControlsGetTheClassesAndStylesOfTheirKind) {
    const DialogTemplate& input = InputTemplate();
    const ControlStyle save = StyleOf(*input.Control(ids::kIdOk));
    EXPECT_EQ(save.classOrdinal, 0x80);
    EXPECT_NE(save.style & kBsDefPushButton, 0u);
    EXPECT_NE(save.style & kWsTabStop, 0u);
    const ControlStyle close = StyleOf(*input.Control(ids::kIdCancel));
    EXPECT_EQ(close.style & kBsDefPushButton, 0u);
    const ControlStyle question = StyleOf(*input.Control(ids::kInputQuestion));
    EXPECT_EQ(question.classOrdinal, 0x81);
    EXPECT_EQ(question.style & 0x80u, 0u);  // no scrolling past the end: 63 characters fit
    const ControlStyle list = StyleOf(*TargetTemplate().Control(ids::kTargetList));
    EXPECT_EQ(list.classOrdinal, 0x83);
    EXPECT_NE(list.style & 0x1u, 0u);          // it reports selection changes
    EXPECT_EQ(list.style & 0x2010u, 0x2010u);  // drawn by the program, lines of its own
    EXPECT_NE(list.style & 0x00200000u, 0u);   // and scrolls
    EXPECT_EQ(list.extendedStyle, 0x200u);     // a sunken frame
    EXPECT_EQ(StyleOf({kNoControlId, ControlKind::Static, "x", {}, style::kCenter}).style & 3u, 1u);
    // A static the program writes to is drawn by the window (SS_OWNERDRAW), frame and all.
    const ControlStyle cardText =
        StyleOf({7, ControlKind::Static, "x", {}, style::kCenter | style::kBorder});
    EXPECT_EQ(cardText.style & 0x1Fu, 0xDu);
    EXPECT_NE(cardText.style & 0x00800000u, 0u);
    EXPECT_EQ(StyleOf({1, ControlKind::ComboBox, "", {}, style::kDropDownList}).style & 3u, 3u);
    EXPECT_EQ(StyleOf({1, ControlKind::CheckBox, "x", {}, 0}).style & 0xFu, 3u);  // checks itself
    // A table is a list view by its class name: report view, rows asked of their owner.
    const ControlStyle table = StyleOf({1, ControlKind::Table, "", {}, style::kExtendedSelection});
    EXPECT_EQ(std::string(table.className), "SysListView32");
    EXPECT_EQ(table.style & 0x1001u, 0x1001u);
    EXPECT_EQ(table.style & 0x4u, 0u) << "several rows at once";
    EXPECT_NE(StyleOf({1, ControlKind::Table, "", {}, 0}).style & 0x4u, 0u);
}

TEST(DialogTemplateWords, AClassByNameIsWrittenAsItsName) {
    const DialogTemplate dialog{
        1, "T", {0, 0, 10, 10}, "", 8, false, {{5, ControlKind::Table, "", {1, 1, 8, 8}, 0}}};
    const std::vector<std::uint16_t> words = DialogTemplateWords(dialog);
    const std::u16string name = u"SysListView32";
    EXPECT_NE(std::search(words.begin(), words.end(), name.begin(), name.end()), words.end());
}

TEST(DialogTemplateWords, ContextHelpCaptionsInAnyScriptAndOddFonts) {
    DialogTemplate dialog;
    dialog.caption = "Caf\u00E9 \u20AC \u0421\u043B\u043E\u0432\u0430 \U0001F44D";
    dialog.contextHelp = true;
    dialog.fontName = "Arial";
    dialog.rect = {0, 0, 40000, -40000};  // beyond what a short holds
    const std::vector<std::uint16_t> words = DialogTemplateWords(dialog);
    TemplateReader reader(words);
    reader.Word();
    reader.Word();
    reader.DoubleWord();
    EXPECT_EQ(reader.DoubleWord(), 0x400u);     // the question-mark button
    EXPECT_EQ(reader.DoubleWord() & 0x8u, 0u);  // not the system's dialog font
    EXPECT_EQ(reader.Word(), 0);
    reader.Short();
    reader.Short();
    EXPECT_EQ(reader.Short(), 32767);
    EXPECT_EQ(reader.Short(), -32768);
    reader.Word();
    reader.Word();
    EXPECT_EQ(reader.Text(), u"Caf\u00E9 \u20AC \u0421\u043B\u043E\u0432\u0430 \U0001F44D");
    reader.DoubleWord();
    reader.Word();
    EXPECT_EQ(reader.Text(), u"Arial");
    EXPECT_EQ(reader.At(), words.size());
}

TEST(MenuKeys, ShortcutsBecomeVirtualKeysWithModifiers) {
    EXPECT_EQ(ParseShortcut("Ctrl+Shift+S", 106),
              (AcceleratorEntry{kVirtualKey | kControl | kShift, 'S', 106}));
    EXPECT_EQ(ParseShortcut("Ctrl+y", 152), (AcceleratorEntry{kVirtualKey | kControl, 'Y', 152}));
    EXPECT_EQ(ParseShortcut("F1", 131), (AcceleratorEntry{kVirtualKey, 0x70, 131}));
    EXPECT_EQ(ParseShortcut("Alt+F4", 108), (AcceleratorEntry{kVirtualKey | kAlt, 0x73, 108}));
    EXPECT_EQ(ParseShortcut("Ctrl+Delete", 122),
              (AcceleratorEntry{kVirtualKey | kControl, 0x2E, 122}));
    EXPECT_FALSE(ParseShortcut("Hyper+S", 1));
    EXPECT_FALSE(ParseShortcut("Ctrl+", 1));
    EXPECT_FALSE(ParseShortcut("F25", 1));
    EXPECT_FALSE(ParseShortcut("", 1));
}

TEST(MenuKeys, TheMainMenuAndTableGiveEveryKeyTheProgramOffers) {
    const std::vector<AcceleratorEntry> entries = AcceleratorsOf(MainMenu(), MainAccelerators());
    const auto has = [&entries](AcceleratorEntry wanted) {
        return std::find(entries.begin(), entries.end(), wanted) != entries.end();
    };
    EXPECT_TRUE(has({kVirtualKey | kControl, 'S', ids::kCmFileSave}));
    EXPECT_TRUE(has({kVirtualKey | kControl | kShift, 'S', ids::kCmFileSaveAs}));
    EXPECT_TRUE(has({kVirtualKey | kControl, 'Z', ids::kCmEditUndo}));
    EXPECT_TRUE(has({kVirtualKey | kControl | kShift, 'Z', ids::kCmEditRedo}));
    EXPECT_TRUE(has({kVirtualKey | kControl, 'Y', ids::kCmEditRedo}));
    EXPECT_TRUE(has({kVirtualKey, 0x0D, ids::kCmLookOrProposed}));
    EXPECT_TRUE(has({kVirtualKey, 0x1B, ids::kCmUnknown}));
    EXPECT_TRUE(has({0, 'k', ids::kCmLookOrKnown}));
    EXPECT_TRUE(has({0, 'u', ids::kCmUnknown}));
    // The program's own table comes last: a menu key is found first.
    EXPECT_EQ(entries.back(), (AcceleratorEntry{0, 'u', ids::kCmUnknown}));
}

TEST(MenuKeys, LabelsShowTheFirstKeyAfterATab) {
    EXPECT_EQ(MenuLabel(MenuItem::Command("&Save", 105, StandardKey::Save)), u"&Save\tCtrl+S");
    EXPECT_EQ(MenuLabel(MenuItem::Command("&Redo", 152, {"Ctrl+Shift+Z", "Ctrl+Y"})),
              u"&Redo\tCtrl+Shift+Z");
    EXPECT_EQ(MenuLabel(MenuItem::Command("&Mix", 127)), u"&Mix");
    EXPECT_EQ(MenuLabel(MenuItem::Command("&\u00C4ndern", 121)), u"&\u00C4ndern");
}

}  // namespace
}  // namespace tallyfold::platform::win32
