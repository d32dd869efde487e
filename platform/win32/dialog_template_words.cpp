#include "platform/win32/dialog_template_words.h"

#include <string_view>

#include "text/utf16.h"

namespace tallyfold::platform::win32 {

namespace {

// The values of the Windows headers, which this file does not include: it is built everywhere.
constexpr std::uint32_t kWsChild = 0x40000000;
constexpr std::uint32_t kWsVisible = 0x10000000;
constexpr std::uint32_t kWsPopup = 0x80000000;
constexpr std::uint32_t kWsCaption = 0x00C00000;
constexpr std::uint32_t kWsSysMenu = 0x00080000;
constexpr std::uint32_t kWsThickFrame = 0x00040000;
constexpr std::uint32_t kWsBorder = 0x00800000;
constexpr std::uint32_t kWsVScroll = 0x00200000;
constexpr std::uint32_t kWsTabStop = 0x00010000;
constexpr std::uint32_t kWsExClientEdge = 0x00000200;
constexpr std::uint32_t kWsExContextHelp = 0x00000400;
constexpr std::uint32_t kDsSetFont = 0x00000040;
constexpr std::uint32_t kDsModalFrame = 0x00000080;
constexpr std::uint32_t kDsFixedSys = 0x00000008;
constexpr std::uint32_t kBsDefPushButton = 0x00000001;
constexpr std::uint32_t kSsCenter = 0x00000001;
constexpr std::uint32_t kSsRight = 0x00000002;
constexpr std::uint32_t kSsOwnerDraw = 0x0000000D;
constexpr std::uint32_t kSsSunken = 0x00001000;
constexpr std::uint32_t kEsAutoHScroll = 0x00000080;
constexpr std::uint32_t kLbsNotify = 0x00000001;
constexpr std::uint32_t kLbsOwnerDrawFixed = 0x00000010;
constexpr std::uint32_t kLbsNoData = 0x00002000;
constexpr std::uint32_t kLbsNoIntegralHeight = 0x00000100;
constexpr std::uint32_t kLbsExtendedSel = 0x00000800;
constexpr std::uint32_t kCbsDropDown = 0x00000002;
constexpr std::uint32_t kCbsDropDownList = 0x00000003;
constexpr std::uint32_t kBsAutoCheckBox = 0x00000003;
constexpr std::uint32_t kLvsReport = 0x00000001;
constexpr std::uint32_t kLvsSingleSel = 0x00000004;
constexpr std::uint32_t kLvsShowSelAlways = 0x00000008;
constexpr std::uint32_t kLvsOwnerData = 0x00001000;

constexpr std::uint16_t kButtonClass = 0x0080;
constexpr std::uint16_t kEditClass = 0x0081;
constexpr std::uint16_t kStaticClass = 0x0082;
constexpr std::uint16_t kListBoxClass = 0x0083;
constexpr std::uint16_t kComboBoxClass = 0x0085;

class Words {
  public:
    void Word(std::uint16_t word) { words_.push_back(word); }
    void DoubleWord(std::uint32_t value) {
        Word(static_cast<std::uint16_t>(value & 0xFFFF));
        Word(static_cast<std::uint16_t>(value >> 16));
    }
    void Short(int value) { Word(static_cast<std::uint16_t>(static_cast<std::int16_t>(value))); }
    // UTF-8 as a zero-terminated UTF-16 string.
    void Text(std::string_view text) {
        for (const char16_t unit : unicode::Utf16FromUtf8(text)) {
            Word(static_cast<std::uint16_t>(unit));
        }
        Word(0);
    }
    void AlignToDoubleWord() {
        if (words_.size() % 2 != 0) {
            Word(0);
        }
    }
    std::vector<std::uint16_t> Take() { return std::move(words_); }

  private:
    std::vector<std::uint16_t> words_;
};

// Dialog units are what the template holds; a short holds them on the wire.
int Clamp(int units) {
    return units < -32768 ? -32768 : units > 32767 ? 32767 : units;
}

}  // namespace

ControlStyle StyleOf(const ControlTemplate& control) {
    ControlStyle out;
    out.style = kWsChild | kWsVisible;
    const unsigned bits = control.style;
    if ((bits & style::kTabStop) != 0) {
        out.style |= kWsTabStop;
    }
    if ((bits & style::kVerticalScroll) != 0) {
        out.style |= kWsVScroll;
    }
    switch (control.kind) {
        case ControlKind::Static:
            out.classOrdinal = kStaticClass;
            // What the program writes to a static (a card's text, a count) may be in any
            // script: the window draws it, placed as its style says. Labels are the system's.
            if (control.id != kNoControlId) {
                out.style |= kSsOwnerDraw;
            } else if ((bits & style::kCenter) != 0) {
                out.style |= kSsCenter;
            } else if ((bits & style::kRight) != 0) {
                out.style |= kSsRight;
            }
            if ((bits & style::kSunken) != 0) {
                out.style |= kSsSunken;
            }
            if ((bits & style::kBorder) != 0) {
                out.style |= kWsBorder;
            }
            break;
        case ControlKind::MarkedText:
        case ControlKind::Picture:
            // Drawn by the window: each mark in its colour and with its line, each shape.
            out.classOrdinal = kStaticClass;
            out.style |= kSsOwnerDraw;
            if ((bits & style::kBorder) != 0) {
                out.style |= kWsBorder;
            }
            break;
        case ControlKind::Button:
            out.classOrdinal = kButtonClass;
            if ((bits & style::kDefaultButton) != 0) {
                out.style |= kBsDefPushButton;
            }
            break;
        case ControlKind::Edit:
            out.classOrdinal = kEditClass;
            if ((bits & style::kNoAutoHorizontalScroll) == 0) {
                out.style |= kEsAutoHScroll;
            }
            if ((bits & style::kBorder) != 0) {
                out.extendedStyle |= kWsExClientEdge;
            }
            break;
        case ControlKind::ListBox:
            out.classOrdinal = kListBoxClass;
            // The lines are the program's, drawn as they show: a list of any length costs
            // what the screen holds.
            out.style |= kLbsNoIntegralHeight | kLbsOwnerDrawFixed | kLbsNoData;
            if ((bits & style::kNotify) != 0) {
                out.style |= kLbsNotify;
            }
            if ((bits & style::kExtendedSelection) != 0) {
                out.style |= kLbsExtendedSel;
            }
            if ((bits & style::kBorder) != 0) {
                out.extendedStyle |= kWsExClientEdge;
            }
            break;
        case ControlKind::ComboBox:
            out.classOrdinal = kComboBoxClass;
            out.style |= (bits & style::kDropDownList) != 0 ? kCbsDropDownList : kCbsDropDown;
            break;
        case ControlKind::CheckBox:
            out.classOrdinal = kButtonClass;
            out.style |= kBsAutoCheckBox;
            break;
        case ControlKind::Table:
            // Rows in columns under headers, their cells asked for as they are drawn: a table
            // of any length costs what the screen holds.
            out.className = "SysListView32";
            out.style |= kLvsReport | kLvsOwnerData | kLvsShowSelAlways;
            if ((bits & style::kExtendedSelection) == 0) {
                out.style |= kLvsSingleSel;
            }
            if ((bits & style::kBorder) != 0) {
                out.extendedStyle |= kWsExClientEdge;
            }
            break;
    }
    return out;
}

namespace {

// The classic dialog fonts are asked for as the system's dialog font ("MS Shell Dlg" with
// DS_SHELLFONT), which Windows maps to the font of its own dialogs: "MS Sans Serif" itself is
// a bitmap font that does not scale with the screen.
bool IsSystemDialogFont(std::string_view name) {
    return name.empty() || name == "MS Sans Serif" || name == "MS Shell Dlg" ||
           name == "MS Shell Dlg 2";
}

}  // namespace

std::uint32_t DialogStyle(const DialogTemplate& dialog) {
    std::uint32_t dialogStyle = kWsPopup | kWsCaption | kWsSysMenu | kDsModalFrame | kDsSetFont;
    if (IsSystemDialogFont(dialog.fontName)) {
        dialogStyle |= kDsFixedSys;
    }
    if (dialog.resizable) {
        dialogStyle |= kWsThickFrame;
    }
    return dialogStyle;
}

std::vector<std::uint16_t> DialogTemplateWords(const DialogTemplate& dialog) {
    Words out;
    out.Word(1);        // dlgVer
    out.Word(0xFFFF);   // signature: the extended template
    out.DoubleWord(0);  // helpID
    out.DoubleWord(dialog.contextHelp ? kWsExContextHelp : 0);
    out.DoubleWord(DialogStyle(dialog));
    out.Word(static_cast<std::uint16_t>(dialog.controls.size()));
    out.Short(Clamp(dialog.rect.x));
    out.Short(Clamp(dialog.rect.y));
    out.Short(Clamp(dialog.rect.width));
    out.Short(Clamp(dialog.rect.height));
    out.Word(0);  // no menu
    out.Word(0);  // the dialog class
    out.Text(dialog.caption);
    out.Word(static_cast<std::uint16_t>(dialog.fontPoints));
    out.Word(400);  // weight: normal
    // Not italic; charset 1 (DEFAULT_CHARSET), so that the font is not held to the characters
    // of Western Europe: one byte each, packed in one word.
    out.Word(0x0100);
    out.Text(IsSystemDialogFont(dialog.fontName) ? std::string_view("MS Shell Dlg")
                                                 : std::string_view(dialog.fontName));
    for (const ControlTemplate& control : dialog.controls) {
        out.AlignToDoubleWord();
        const ControlStyle controlStyle = StyleOf(control);
        out.DoubleWord(0);  // helpID
        out.DoubleWord(controlStyle.extendedStyle);
        out.DoubleWord(controlStyle.style);
        out.Short(Clamp(control.rect.x));
        out.Short(Clamp(control.rect.y));
        out.Short(Clamp(control.rect.width));
        out.Short(Clamp(control.rect.height));
        out.DoubleWord(control.id == kNoControlId ? 0xFFFFFFFFu
                                                  : static_cast<std::uint32_t>(control.id));
        if (controlStyle.className != nullptr) {
            out.Text(controlStyle.className);
        } else {
            out.Word(0xFFFF);  // the class by ordinal
            out.Word(controlStyle.classOrdinal);
        }
        out.Text(control.text);
        out.Word(0);  // no creation data
    }
    return out.Take();
}

}  // namespace tallyfold::platform::win32
