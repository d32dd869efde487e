#include "platform/win32/win32_window_peer.h"

#include <commctrl.h>
#include <imm.h>

#include <algorithm>
#include <utility>

#include "platform/win32/dialog_template_words.h"
#include "platform/win32/win32_text.h"
#include "text/graphemes.h"

namespace tallyfold::platform::win32 {

namespace {

const wchar_t* ClassNameOf(ControlKind kind) {
    switch (kind) {
        case ControlKind::Static:
            return L"STATIC";
        case ControlKind::Button:
            return L"BUTTON";
        case ControlKind::Edit:
            return L"EDIT";
        case ControlKind::ListBox:
            return L"LISTBOX";
        case ControlKind::ComboBox:
            return L"COMBOBOX";
        case ControlKind::Table:
            return WC_LISTVIEWW;
        case ControlKind::CheckBox:
            return L"BUTTON";
        case ControlKind::MarkedText:
        case ControlKind::Picture:
            return L"STATIC";
    }
    return L"STATIC";
}

std::wstring TextOf(HWND control) {
    std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        ::GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
    return text;
}

// An edit's limit, kept in its subclass data: characters as a person counts them in the low
// half, bytes of UTF-8 in the high half; 0 for none.
DWORD_PTR LimitData(std::size_t characters, std::size_t bytes) {
    return static_cast<DWORD_PTR>(std::min<std::size_t>(characters, 0xFFFF) |
                                  (std::min<std::size_t>(bytes, 0xFFFF) << 16));
}

bool WithinLimit(std::wstring_view text, DWORD_PTR limit) {
    const std::size_t characters = limit & 0xFFFF;
    const std::size_t bytes = (limit >> 16) & 0xFFFF;
    if (characters == 0) {
        return true;
    }
    const std::string utf8 = Narrow(text);
    // A character is at least one byte: a text of no more bytes than characters fits.
    return utf8.size() <= characters ||
           (utf8.size() <= bytes && unicode::CountGraphemes(utf8) <= characters);
}

// The messages by which an edit's text grows: typing, input methods, pasting, undoing.
bool MayGrowText(UINT message, LPARAM lParam) {
    switch (message) {
        case WM_CHAR:
        case WM_IME_CHAR:
        case WM_PASTE:
        case WM_UNDO:
        case EM_UNDO:
        case EM_REPLACESEL:
            return true;
        case WM_IME_COMPOSITION:
            return (lParam & GCS_RESULTSTR) != 0;
        default:
            return false;
    }
}

// Every edit's filter. The system's limit (EM_LIMITTEXT) counts UTF-16 units, where a side
// holds 63 characters as a person counts them ("e" and a combining accent are one, an emoji
// with its skin tone one of four units) and 254 bytes: a change that would pass either is
// taken back whole, with a beep, as the system's own limit does.
LRESULT CALLBACK EditFilter(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR /*id*/,
                            DWORD_PTR limit) {
    if (!MayGrowText(message, lParam) || (limit & 0xFFFF) == 0) {
        return ::DefSubclassProc(edit, message, wParam, lParam);
    }
    const std::wstring before = TextOf(edit);
    DWORD start = 0;
    DWORD end = 0;
    ::SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                   reinterpret_cast<LPARAM>(&end));
    const LRESULT result = ::DefSubclassProc(edit, message, wParam, lParam);
    const std::wstring after = TextOf(edit);
    if (after != before && WithinLimit(before, limit) && !WithinLimit(after, limit)) {
        ::SetWindowTextW(edit, before.c_str());
        ::SendMessageW(edit, EM_SETSEL, start, static_cast<LPARAM>(end));
        ::MessageBeep(MB_OK);
    }
    return result;
}

// Posted by an edit's change to its window, with the edit's id: the edit follows its text's
// direction once the change is done, never inside the edit's own message.
constexpr UINT kFitEditToDirection = WM_APP + 0x54;
// Posted by the first change of a table's selection in a batch, with the table's id: the owner
// is told once, when the batch is over.
constexpr UINT kTellSelection = WM_APP + 0x55;

HFONT MessageFont() {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
        return ::CreateFontIndirectW(&metrics.lfMessageFont);
    }
    return nullptr;
}

}  // namespace

int DpiOf(HWND window) {
    // GetDpiForWindow came with Windows 10 (1607); before it, the main screen's dpi.
    using DpiForWindow = UINT(WINAPI*)(HWND);
    static const auto dpiForWindow = reinterpret_cast<DpiForWindow>(reinterpret_cast<void (*)()>(
        ::GetProcAddress(::GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    if (window != nullptr && dpiForWindow != nullptr) {
        if (const UINT dpi = dpiForWindow(window); dpi > 0) {
            return static_cast<int>(dpi);
        }
    }
    HDC screen = ::GetDC(nullptr);
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSX);
    ::ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

int ToScreen(int pixels, int dpi) {
    return ::MulDiv(pixels, dpi, 96);
}

int FromScreen(int pixels, int dpi) {
    return ::MulDiv(pixels, 96, dpi);
}

HWND WindowHandleOf(const Window& window) {
    const auto* peer = dynamic_cast<const Win32WindowPeer*>(window.Peer());
    return peer != nullptr ? peer->Handle() : nullptr;
}

Win32WindowPeer::Win32WindowPeer(HWND window, Window& owner) : window_(window), owner_(&owner) {}

Win32WindowPeer::~Win32WindowPeer() {
    for (auto& [id, text] : statics_) {
        if (text.font != nullptr) {
            ::DeleteObject(text.font);
        }
    }
    for (auto& [id, font] : chosenEditFonts_) {
        ::DeleteObject(font);
    }
    if (font_ != nullptr) {
        ::DeleteObject(font_);
    }
}

void Win32WindowPeer::Register(int id, HWND control, const ControlTemplate& controlTemplate) {
    if (control == nullptr) {
        return;
    }
    if (id != kNoControlId) {
        controls_[id] = control;
    }
    if (controlTemplate.kind == ControlKind::Edit) {
        ::SetWindowSubclass(control, EditFilter, 1, 0);
        if (id != kNoControlId) {
            editFonts_[id] = BaseFont(control);
        }
    }
    if (controlTemplate.kind == ControlKind::MarkedText && id != kNoControlId) {
        StaticText& text = statics_[id];
        text.placement = TextPlacement::Center;
        text.textBackground = true;
        text.runs.emplace();
        text.shown.emplace();
    }
    if (controlTemplate.kind == ControlKind::Picture && id != kNoControlId) {
        StaticText& text = statics_[id];
        text.textBackground = true;
        text.picture.emplace();
    }
    if (controlTemplate.kind == ControlKind::Static && id != kNoControlId) {
        const unsigned bits = controlTemplate.style;
        StaticText& text = statics_[id];
        text.placement = (bits & style::kCenter) != 0  ? TextPlacement::Center
                         : (bits & style::kRight) != 0 ? TextPlacement::End
                                                       : TextPlacement::Start;
        text.textBackground = (bits & style::kTextBackground) != 0;
    }
    if (controlTemplate.kind == ControlKind::Table && id != kNoControlId) {
        tables_.insert_or_assign(id, std::make_unique<ListViewTable>(control));
    }
    if (controlTemplate.kind == ControlKind::Edit && id != kNoControlId &&
        (controlTemplate.style & style::kNotify) != 0) {
        notifyingEdits_.insert(id);
    }
    if (controlTemplate.kind == ControlKind::ListBox && id != kNoControlId) {
        Lines& lines = lines_[id];
        lines.extended = (controlTemplate.style & style::kExtendedSelection) != 0;
    }
}

void Win32WindowPeer::AdoptControls(const DialogTemplate& dialogTemplate) {
    for (const ControlTemplate& control : dialogTemplate.controls) {
        if (control.id != kNoControlId) {
            Register(control.id, ::GetDlgItem(window_, control.id), control);
        }
    }
}

void Win32WindowPeer::AddControl(const ControlTemplate& control) {
    if (font_ == nullptr) {
        font_ = MessageFont();
    }
    const ControlStyle controlStyle = StyleOf(control);
    const int id = control.id == kNoControlId ? 0xFFFF : control.id;
    HWND created = ::CreateWindowExW(controlStyle.extendedStyle, ClassNameOf(control.kind),
                                     Wide(control.text).c_str(), controlStyle.style, control.rect.x,
                                     control.rect.y, control.rect.width, control.rect.height,
                                     window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                     ::GetModuleHandleW(nullptr), nullptr);
    if (created != nullptr && font_ != nullptr) {
        ::SendMessageW(created, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    }
    // A static is drawn without the room of the controls above it (see `Move`).
    if (created != nullptr &&
        (control.kind == ControlKind::Static || control.kind == ControlKind::MarkedText ||
         control.kind == ControlKind::Picture)) {
        ::SetWindowLongPtrW(created, GWL_STYLE,
                            ::GetWindowLongPtrW(created, GWL_STYLE) | WS_CLIPSIBLINGS);
    }
    Register(control.id, created, control);
}

HWND Win32WindowPeer::Control(int id) const {
    const auto found = controls_.find(id);
    return found != controls_.end() ? found->second : nullptr;
}

bool Win32WindowPeer::IsCombo(int id) const {
    HWND control = Control(id);
    wchar_t name[16] = {};
    return control != nullptr && ::GetClassNameW(control, name, 16) > 0 &&
           std::wstring_view(name) == L"ComboBox";
}

void Win32WindowPeer::SetText(int id, std::string_view text) {
    HWND control = Control(id);
    if (control == nullptr) {
        return;
    }
    const auto drawn = statics_.find(id);
    if (drawn != statics_.end() && drawn->second.shown) {
        drawn->second.shown = Wide(text);
    } else {
        // What the program writes into an edit is no change the user made.
        settingText_ = true;
        ::SetWindowTextW(control, Wide(text).c_str());
        settingText_ = false;
    }
    if (drawn != statics_.end()) {
        ::InvalidateRect(control, nullptr, TRUE);
    }
    if (editFonts_.count(id) != 0) {
        FitEditToText(id);
        FitEditToDirection(id);
    }
}

std::string Win32WindowPeer::Text(int id) const {
    const auto drawn = statics_.find(id);
    if (drawn != statics_.end() && drawn->second.shown) {
        return Narrow(*drawn->second.shown);
    }
    HWND control = Control(id);
    return control != nullptr ? Narrow(TextOf(control)) : std::string();
}

HFONT Win32WindowPeer::BaseFont(HWND control) const {
    auto font = reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0));
    return font != nullptr ? font : static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
}

void Win32WindowPeer::FitEditToText(int id) {
    HWND edit = Control(id);
    const auto base = editFonts_.find(id);
    if (edit == nullptr || base == editFonts_.end()) {
        return;
    }
    const std::wstring text = TextOf(edit);
    HDC context = ::GetDC(edit);
    HFONT wanted = fallbackFonts_.For(context, base->second, text);
    ::ReleaseDC(edit, context);
    if (reinterpret_cast<HFONT>(::SendMessageW(edit, WM_GETFONT, 0, 0)) != wanted) {
        ::SendMessageW(edit, WM_SETFONT, reinterpret_cast<WPARAM>(wanted), TRUE);
    }
}

void Win32WindowPeer::FitEditToDirection(int id) {
    HWND old = Control(id);
    if (old == nullptr || editFonts_.count(id) == 0) {
        return;
    }
    const std::wstring text = TextOf(old);
    const bool rightToLeft = IsRightToLeft(text);
    auto style = static_cast<DWORD>(::GetWindowLongPtrW(old, GWL_STYLE));
    if (((style & ES_RIGHT) != 0) == rightToLeft) {
        return;
    }
    // An edit takes its alignment and reading order only when it is made (so Wine, and
    // Windows for the reading order on a system without a right-to-left language): a text
    // whose direction changed gets a new edit in the old one's place, with everything the old
    // one had that the user or the program gave it.
    style = rightToLeft ? (style & ~static_cast<DWORD>(ES_CENTER)) | ES_RIGHT
                        : style & ~static_cast<DWORD>(ES_RIGHT);
    auto extendedStyle = static_cast<DWORD>(::GetWindowLongPtrW(old, GWL_EXSTYLE));
    extendedStyle = rightToLeft ? extendedStyle | WS_EX_RTLREADING
                                : extendedStyle & ~static_cast<DWORD>(WS_EX_RTLREADING);
    RECT rect{};
    ::GetWindowRect(old, &rect);
    ::MapWindowPoints(HWND_DESKTOP, window_, reinterpret_cast<POINT*>(&rect), 2);
    DWORD start = 0;
    DWORD end = 0;
    ::SendMessageW(old, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                   reinterpret_cast<LPARAM>(&end));
    const auto limit = editLimits_.find(id);
    const bool focused = ::GetFocus() == old;
    HWND created = ::CreateWindowExW(extendedStyle, L"EDIT", text.c_str(), style, rect.left,
                                     rect.top, rect.right - rect.left, rect.bottom - rect.top,
                                     window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                     ::GetModuleHandleW(nullptr), nullptr);
    if (created == nullptr) {
        return;  // the old edit stays, aligned as it was
    }
    const auto copy = [&](UINT get, UINT set) {
        ::SendMessageW(created, set, static_cast<WPARAM>(::SendMessageW(old, get, 0, 0)), 0);
    };
    copy(WM_GETFONT, WM_SETFONT);
    copy(EM_GETLIMITTEXT, EM_LIMITTEXT);
    copy(EM_GETMODIFY, EM_SETMODIFY);
    ::SetWindowSubclass(created, EditFilter, 1, limit != editLimits_.end() ? limit->second : 0);
    ::SendMessageW(created, EM_SETSEL, start, static_cast<LPARAM>(end));
    // Its place in the order of the window's controls is the old one's: Tab goes on as before.
    ::SetWindowPos(created, old, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    controls_[id] = created;
    if (focused) {
        ::SetFocus(created);
    }
    ::DestroyWindow(old);
}

void Win32WindowPeer::SetEnabled(int id, bool enabled) {
    if (HWND control = Control(id)) {
        ::EnableWindow(control, enabled ? TRUE : FALSE);
    }
}

bool Win32WindowPeer::IsEnabled(int id) const {
    HWND control = Control(id);
    return control != nullptr && ::IsWindowEnabled(control) != 0;
}

void Win32WindowPeer::Move(int id, const Rect& rect) {
    if (HWND control = Control(id)) {
        const int dpi = DpiOf(window_);
        if (statics_.count(id) != 0) {
            // A static lies under the controls it touches (the partition strip reaches under
            // Known), so that its background never covers them; its text is placed by its
            // size, so all of it is drawn anew, not only the part the move uncovered.
            ::SetWindowPos(control, HWND_BOTTOM, ToScreen(rect.x, dpi), ToScreen(rect.y, dpi),
                           ToScreen(rect.width, dpi), ToScreen(rect.height, dpi), SWP_NOACTIVATE);
            ::InvalidateRect(control, nullptr, TRUE);
        } else {
            ::MoveWindow(control, ToScreen(rect.x, dpi), ToScreen(rect.y, dpi),
                         ToScreen(rect.width, dpi), ToScreen(rect.height, dpi), TRUE);
        }
    }
}

Rect Win32WindowPeer::Position(int id) const {
    HWND control = Control(id);
    RECT rect{};
    if (control == nullptr || !::GetWindowRect(control, &rect)) {
        return {};
    }
    ::MapWindowPoints(HWND_DESKTOP, window_, reinterpret_cast<POINT*>(&rect), 2);
    const int dpi = DpiOf(window_);
    return {FromScreen(rect.left, dpi), FromScreen(rect.top, dpi),
            FromScreen(rect.right - rect.left, dpi), FromScreen(rect.bottom - rect.top, dpi)};
}

void Win32WindowPeer::SetFocus(int id) {
    HWND control = Control(id);
    if (control == nullptr) {
        return;
    }
    // In a dialog the dialog manager moves the focus, so the default button follows it.
    if (IsDialog()) {
        ::SendMessageW(window_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
        return;
    }
    // The main window's client keeps the control that should have the focus, and gives it the
    // focus whenever the window is activated again; a window in the background is not
    // brought forward.
    focusWanted_ = id;
    HWND root = ::GetAncestor(window_, GA_ROOT);
    if (::GetActiveWindow() == root) {
        ::SetFocus(control);
    }
    // Windows hides the focus rectangle until the first key; here the keys follow the focus,
    // so it shows from the start.
    ::SendMessageW(root, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
}

bool Win32WindowPeer::IsDialog() const {
    return (::GetWindowLongPtrW(window_, GWL_STYLE) & DS_MODALFRAME) != 0;
}

void Win32WindowPeer::LimitText(int id, std::size_t characters, std::size_t bytes) {
    HWND control = Control(id);
    if (control == nullptr) {
        return;
    }
    // The system counts UTF-16 units, at least one for every byte of UTF-8 beyond the first of
    // a character: its limit is the bytes, the filter counts the characters.
    ::SendMessageW(control, EM_LIMITTEXT, static_cast<WPARAM>(bytes), 0);
    editLimits_[id] = LimitData(characters, bytes);
    ::SetWindowSubclass(control, EditFilter, 1, editLimits_[id]);
}

void Win32WindowPeer::SelectText(int id, int start, int end) {
    if (HWND control = Control(id)) {
        ::SendMessageW(control, EM_SETSEL, static_cast<WPARAM>(start), end);
    }
}

HFONT Win32WindowPeer::MakeFont(HWND control, const TextFont& font) const {
    LOGFONTW wanted{};
    ::GetObjectW(BaseFont(control), sizeof wanted, &wanted);
    if (!font.family.empty()) {
        const std::wstring family = Wide(font.family);
        const std::size_t length = std::min<std::size_t>(family.size(), LF_FACESIZE - 1);
        std::copy_n(family.begin(), length, wanted.lfFaceName);
        wanted.lfFaceName[length] = L'\0';
    }
    if (font.points > 0) {
        wanted.lfHeight = -::MulDiv(font.points, DpiOf(window_), 72);
        wanted.lfWidth = 0;
    }
    wanted.lfCharSet = DEFAULT_CHARSET;
    return ::CreateFontIndirectW(&wanted);
}

void Win32WindowPeer::SetTextFont(int id, const TextFont& font) {
    HWND control = Control(id);
    if (control == nullptr) {
        return;
    }
    if (editFonts_.count(id) != 0) {
        // The edit's base font becomes the chosen one; a text it lacks characters for still
        // gets a fallback of the same size.
        HFONT made = MakeFont(control, font);
        if (made == nullptr) {
            return;
        }
        HFONT& chosen = chosenEditFonts_[id];
        editFonts_[id] = made;
        ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(made), TRUE);
        if (chosen != nullptr) {
            ::DeleteObject(chosen);
        }
        chosen = made;
        FitEditToText(id);
        return;
    }
    const auto found = statics_.find(id);
    if (found == statics_.end()) {
        return;
    }
    StaticText& text = found->second;
    if (text.font != nullptr) {
        ::DeleteObject(text.font);
    }
    text.font = MakeFont(control, font);
    text.fitted = true;
    ::InvalidateRect(control, nullptr, TRUE);
}

void Win32WindowPeer::SetVisible(int id, bool visible) {
    if (HWND control = Control(id)) {
        ::ShowWindow(control, visible ? SW_SHOWNA : SW_HIDE);
    }
}

bool Win32WindowPeer::IsVisible(int id) const {
    HWND control = Control(id);
    return control != nullptr && (::GetWindowLongPtrW(control, GWL_STYLE) & WS_VISIBLE) != 0;
}

void Win32WindowPeer::SetPicture(int id, const Picture& picture) {
    HWND control = Control(id);
    const auto found = statics_.find(id);
    if (control == nullptr || found == statics_.end() || !found->second.picture) {
        return;
    }
    *found->second.picture = picture;
    ::InvalidateRect(control, nullptr, TRUE);
}

void Win32WindowPeer::SetMarkedText(int id, std::span<const MarkedRun> runs) {
    HWND control = Control(id);
    const auto found = statics_.find(id);
    if (control == nullptr || found == statics_.end() || !found->second.runs) {
        return;
    }
    found->second.runs->assign(runs.begin(), runs.end());
    found->second.shown = Wide(TextOf(*found->second.runs));
    ::InvalidateRect(control, nullptr, TRUE);
}

void Win32WindowPeer::SetAccessibleName(int id, std::string_view name) {
    HWND control = Control(id);
    if (control == nullptr) {
        return;
    }
    const auto found = statics_.find(id);
    if (found != statics_.end() && !found->second.shown) {
        found->second.shown = TextOf(control);
    }
    // Active Accessibility reads a static's and a button's name from its window text.
    ::SetWindowTextW(control, Wide(name).c_str());
}

void Win32WindowPeer::ClearLines(int id) {
    if (IsCombo(id)) {
        ::SendMessageW(Control(id), CB_RESETCONTENT, 0, 0);
        return;
    }
    const auto found = lines_.find(id);
    if (found != lines_.end()) {
        found->second.added.clear();
        found->second.count = 0;
        found->second.source = nullptr;
        ShowCount(id);
    }
}

void Win32WindowPeer::AddLine(int id, std::string_view text) {
    if (IsCombo(id)) {
        ::SendMessageW(Control(id), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(text).c_str()));
        return;
    }
    const auto found = lines_.find(id);
    if (found == lines_.end()) {
        return;
    }
    Lines& lines = found->second;
    if (lines.source) {
        // Lines added after a source: the source's lines are taken over as they are.
        for (int line = 0; line < lines.count; ++line) {
            lines.added.push_back(lines.source(line));
        }
        lines.source = nullptr;
    }
    lines.added.emplace_back(text);
    lines.count = static_cast<int>(lines.added.size());
    ShowCount(id);
}

void Win32WindowPeer::SetLines(int id, int count, LineSource source) {
    const auto found = lines_.find(id);
    if (found == lines_.end()) {
        return;
    }
    found->second.added.clear();
    found->second.count = std::max(count, 0);
    found->second.source = std::move(source);
    ShowCount(id);
}

void Win32WindowPeer::ShowCount(int id) {
    // A list without data of its own takes its count in one message, whatever its length.
    ::SendMessageW(Control(id), LB_SETCOUNT, static_cast<WPARAM>(lines_[id].count), 0);
}

int Win32WindowPeer::LineCount(int id) const {
    if (const ListViewTable* table = TableOf(id)) {
        return table->Count();
    }
    if (IsCombo(id)) {
        return static_cast<int>(::SendMessageW(Control(id), CB_GETCOUNT, 0, 0));
    }
    const auto found = lines_.find(id);
    return found != lines_.end() ? found->second.count : 0;
}

std::string Win32WindowPeer::LineText(int id, int line) const {
    if (const ListViewTable* table = TableOf(id)) {
        return table->RowText(line);
    }
    if (IsCombo(id)) {
        HWND combo = Control(id);
        const LRESULT length = ::SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(line), 0);
        if (length == CB_ERR) {
            return std::string();
        }
        std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
        ::SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(line),
                       reinterpret_cast<LPARAM>(text.data()));
        text.resize(static_cast<std::size_t>(length));
        return Narrow(text);
    }
    const auto found = lines_.find(id);
    if (found == lines_.end() || line < 0 || line >= found->second.count) {
        return std::string();
    }
    const Lines& lines = found->second;
    return lines.source ? lines.source(line) : lines.added[static_cast<std::size_t>(line)];
}

void Win32WindowPeer::Select(int id, int line) {
    HWND control = Control(id);
    if (control == nullptr) {
        return;
    }
    if (ListViewTable* table = TableOf(id)) {
        table->SelectRows(std::span<const int>(&line, 1));
        return;
    }
    if (IsCombo(id)) {
        ::SendMessageW(control, CB_SETCURSEL, static_cast<WPARAM>(line), 0);
        return;
    }
    if (!lines_[id].extended) {
        ::SendMessageW(control, LB_SETCURSEL, static_cast<WPARAM>(line), 0);
        return;
    }
    ::SendMessageW(control, LB_SETSEL, FALSE, -1);
    if (line >= 0) {
        ::SendMessageW(control, LB_SETSEL, TRUE, line);
        ::SendMessageW(control, LB_SETCARETINDEX, static_cast<WPARAM>(line), FALSE);
    }
}

int Win32WindowPeer::Selected(int id) const {
    HWND control = Control(id);
    if (control == nullptr) {
        return -1;
    }
    if (TableOf(id) != nullptr) {
        return static_cast<int>(
            ::SendMessageW(control, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    }
    if (IsCombo(id)) {
        return static_cast<int>(::SendMessageW(control, CB_GETCURSEL, 0, 0));
    }
    const auto found = lines_.find(id);
    if (found != lines_.end() && found->second.extended) {
        const std::vector<int> lines = SelectedLines(id);
        return lines.empty() ? -1 : lines.front();
    }
    const LRESULT line = ::SendMessageW(control, LB_GETCURSEL, 0, 0);
    return line == LB_ERR ? -1 : static_cast<int>(line);
}

std::vector<int> Win32WindowPeer::SelectedLines(int id) const {
    if (const ListViewTable* table = TableOf(id)) {
        return table->SelectedRows();
    }
    const auto found = lines_.find(id);
    if (found == lines_.end() || !found->second.extended) {
        const int line = Selected(id);
        return line < 0 ? std::vector<int>{} : std::vector<int>{line};
    }
    HWND control = Control(id);
    const LRESULT count = ::SendMessageW(control, LB_GETSELCOUNT, 0, 0);
    if (count <= 0) {
        return {};
    }
    // The list box gives them in ascending order.
    std::vector<int> lines(static_cast<std::size_t>(count));
    const LRESULT got = ::SendMessageW(control, LB_GETSELITEMS, static_cast<WPARAM>(count),
                                       reinterpret_cast<LPARAM>(lines.data()));
    lines.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    return lines;
}

ListViewTable* Win32WindowPeer::TableOf(int id) const {
    const auto found = tables_.find(id);
    return found != tables_.end() ? found->second.get() : nullptr;
}

void Win32WindowPeer::SetColumns(int id, std::span<const TableColumn> columns) {
    if (ListViewTable* table = TableOf(id)) {
        table->SetColumns(columns);
    }
}

void Win32WindowPeer::SetRows(int id, int count, CellSource source) {
    if (ListViewTable* table = TableOf(id)) {
        table->SetRows(count, std::move(source));
    }
}

std::vector<int> Win32WindowPeer::ColumnWidths(int id) const {
    const ListViewTable* table = TableOf(id);
    return table != nullptr ? table->ColumnWidths() : std::vector<int>{};
}

void Win32WindowPeer::SetSortIndicator(int id, int column, bool descending) {
    if (ListViewTable* table = TableOf(id)) {
        table->SetSortIndicator(column, descending);
    }
}

int Win32WindowPeer::ClickedColumn(int id) const {
    const ListViewTable* table = TableOf(id);
    return table != nullptr ? table->ClickedColumn() : -1;
}

void Win32WindowPeer::SelectRows(int id, std::span<const int> rows) {
    if (ListViewTable* table = TableOf(id)) {
        table->SelectRows(rows);
    }
}

void Win32WindowPeer::SetChecked(int id, bool checked) {
    if (HWND control = Control(id)) {
        ::SendMessageW(control, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    }
}

bool Win32WindowPeer::IsChecked(int id) const {
    HWND control = Control(id);
    return control != nullptr && ::SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Win32WindowPeer::EndModal(DialogResult result) {
    ended_ = result;
}

Rect Win32WindowPeer::ClientSize() const {
    RECT client{};
    ::GetClientRect(window_, &client);
    return RectFromEdges(0, 0, client.right, client.bottom);
}

// The window's outer size for that client area; the dialog keeps to its minimum size and lays
// its controls out on WM_SIZE.
void Win32WindowPeer::ResizeClient(int width, int height) {
    RECT outer{0, 0, width, height};
    ::AdjustWindowRectEx(&outer, static_cast<DWORD>(::GetWindowLongPtrW(window_, GWL_STYLE)), FALSE,
                         static_cast<DWORD>(::GetWindowLongPtrW(window_, GWL_EXSTYLE)));
    ::SetWindowPos(window_, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32WindowPeer::Invalidate() {
    ::InvalidateRect(window_, nullptr, TRUE);
}

LRESULT Win32WindowPeer::DrawLine(const DRAWITEMSTRUCT& item) {
    const int id = static_cast<int>(item.CtlID);
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    ::FillRect(item.hDC, &item.rcItem,
               ::GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    if (item.itemID != static_cast<UINT>(-1)) {
        const std::wstring text = Wide(LineText(id, static_cast<int>(item.itemID)));
        ::SetBkMode(item.hDC, TRANSPARENT);
        ::SetTextColor(item.hDC, ::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
        RECT textRect = item.rcItem;
        textRect.left += 2;
        textRect.right -= 2;
        HGDIOBJ old =
            ::SelectObject(item.hDC, fallbackFonts_.For(item.hDC, BaseFont(item.hwndItem), text));
        DrawScriptText(item.hDC, textRect, text, TextPlacement::Start);
        ::SelectObject(item.hDC, old);
    }
    if ((item.itemState & ODS_FOCUS) != 0) {
        ::DrawFocusRect(item.hDC, &item.rcItem);
    }
    return TRUE;
}

namespace {

// A system colour as the marks and pictures name colours, and back.
MarkColour SystemColour(int index) {
    const COLORREF colour = ::GetSysColor(index);
    return {GetRValue(colour), GetGValue(colour), GetBValue(colour)};
}

COLORREF ColourRef(MarkColour colour) {
    return RGB(colour.red, colour.green, colour.blue);
}

// The spans of a marked text's runs, in UTF-16 units, each drawn as its mark looks on the
// window's background (`LookOf`).
std::vector<TextSpan> SpansOf(const std::vector<MarkedRun>& runs, COLORREF textColor) {
    const bool dark = IsDark(SystemColour(COLOR_WINDOW));
    std::vector<TextSpan> spans;
    int at = 0;
    for (const MarkedRun& run : runs) {
        const int length = static_cast<int>(Wide(run.text).size());
        const MarkLook look = LookOf(run.mark, dark);
        spans.push_back(
            {at, at + length, look.textColour ? textColor : ColourRef(look.colour), look.line});
        at += length;
    }
    return spans;
}

TextPlacement PlacementOf(PictureAlign align) {
    switch (align) {
        case PictureAlign::Start:
            return TextPlacement::Start;
        case PictureAlign::Center:
            return TextPlacement::Center;
        case PictureAlign::End:
            return TextPlacement::End;
    }
    return TextPlacement::Start;
}

}  // namespace

void Win32WindowPeer::DrawPicture(const DRAWITEMSTRUCT& item, const Picture& picture) {
    const PictureColours roles{SystemColour(COLOR_WINDOWTEXT), SystemColour(COLOR_WINDOW),
                               SystemColour(COLOR_HIGHLIGHT)};
    const int dpi = DpiOf(window_);
    const int left = item.rcItem.left;
    const int top = item.rcItem.top;
    const auto scaled = [dpi](int pixels) { return ToScreen(pixels, dpi); };
    HFONT base = BaseFont(item.hwndItem);
    HFONT bold = nullptr;
    ::SetBkMode(item.hDC, TRANSPARENT);
    for (const PictureShape& shape : picture.shapes) {
        if (const auto* rectangle = std::get_if<PictureRectangle>(&shape)) {
            const COLORREF colour =
                ColourRef(ColourOf(rectangle->colour, rectangle->strength, roles));
            RECT rect{left + scaled(rectangle->rect.x), top + scaled(rectangle->rect.y),
                      left + scaled(rectangle->rect.x + rectangle->rect.width),
                      top + scaled(rectangle->rect.y + rectangle->rect.height)};
            HBRUSH brush = ::CreateSolidBrush(colour);
            if (rectangle->frameOnly) {
                ::FrameRect(item.hDC, &rect, brush);
            } else {
                ::FillRect(item.hDC, &rect, brush);
            }
            ::DeleteObject(brush);
        } else if (const auto* line = std::get_if<PictureLine>(&shape)) {
            HPEN pen = ::CreatePen(PS_SOLID, std::max(1, scaled(1)),
                                   ColourRef(ColourOf(line->colour, 100, roles)));
            HGDIOBJ old = ::SelectObject(item.hDC, pen);
            ::MoveToEx(item.hDC, left + scaled(line->x1), top + scaled(line->y1), nullptr);
            ::LineTo(item.hDC, left + scaled(line->x2), top + scaled(line->y2));
            ::SelectObject(item.hDC, old);
            ::DeleteObject(pen);
        } else if (const auto* text = std::get_if<PictureText>(&shape)) {
            if (text->bold && bold == nullptr) {
                LOGFONTW heavier{};
                ::GetObjectW(base, sizeof heavier, &heavier);
                heavier.lfWeight = FW_BOLD;
                bold = ::CreateFontIndirectW(&heavier);
            }
            const std::wstring wide = Wide(text->text);
            HGDIOBJ old = ::SelectObject(
                item.hDC,
                fallbackFonts_.For(item.hDC, text->bold && bold != nullptr ? bold : base, wide));
            ::SetTextColor(item.hDC, ColourRef(ColourOf(text->colour, 100, roles)));
            const RECT rect{left + scaled(text->rect.x), top + scaled(text->rect.y),
                            left + scaled(text->rect.x + text->rect.width),
                            top + scaled(text->rect.y + text->rect.height)};
            DrawScriptText(item.hDC, rect, wide, PlacementOf(text->align));
            ::SelectObject(item.hDC, old);
        }
    }
    if (bold != nullptr) {
        ::DeleteObject(bold);
    }
}

LRESULT Win32WindowPeer::DrawStatic(const DRAWITEMSTRUCT& item) {
    const auto found = statics_.find(static_cast<int>(item.CtlID));
    const StaticText none;
    const StaticText& state = found != statics_.end() ? found->second : none;
    ::FillRect(item.hDC, &item.rcItem,
               ::GetSysColorBrush(state.textBackground ? COLOR_WINDOW : COLOR_BTNFACE));
    if (state.picture) {
        DrawPicture(item, *state.picture);
        return TRUE;
    }
    COLORREF textColor = ::GetSysColor(state.textBackground ? COLOR_WINDOWTEXT : COLOR_BTNTEXT);
    if (!::IsWindowEnabled(item.hwndItem)) {
        textColor = ::GetSysColor(COLOR_GRAYTEXT);
    }
    const std::wstring text = state.shown ? *state.shown : TextOf(item.hwndItem);
    ::SetBkMode(item.hDC, TRANSPARENT);
    ::SetTextColor(item.hDC, textColor);
    RECT textRect = item.rcItem;
    textRect.left += 2;
    textRect.right -= 2;
    HFONT font = fallbackFonts_.For(
        item.hDC, state.font != nullptr ? state.font : BaseFont(item.hwndItem), text);
    HGDIOBJ old = ::SelectObject(item.hDC, font);
    // A text wider or taller than the static in its chosen font is drawn smaller, so that it
    // shows whole: glyphs grow nearly in proportion to the font's height.
    HFONT smaller = nullptr;
    SIZE size{};
    const int roomWidth = textRect.right - textRect.left;
    const int roomHeight = textRect.bottom - textRect.top;
    if (state.fitted && !text.empty() &&
        ::GetTextExtentPoint32W(item.hDC, text.c_str(), static_cast<int>(text.size()), &size) &&
        (size.cx > roomWidth || size.cy > roomHeight) && size.cx > 0 && size.cy > 0) {
        const double scale = std::min(static_cast<double>(roomWidth) / size.cx,
                                      static_cast<double>(roomHeight) / size.cy);
        LOGFONTW fitted{};
        ::GetObjectW(font, sizeof fitted, &fitted);
        const LONG height = fitted.lfHeight < 0 ? -fitted.lfHeight : fitted.lfHeight;
        const LONG least = ::MulDiv(8, DpiOf(window_), 72);
        fitted.lfHeight = -std::max<LONG>(least, static_cast<LONG>(height * scale * 0.95));
        fitted.lfWidth = 0;
        smaller = ::CreateFontIndirectW(&fitted);
        if (smaller != nullptr) {
            ::SelectObject(item.hDC, smaller);
        }
    }
    if (state.runs) {
        const std::vector<TextSpan> spans = SpansOf(*state.runs, textColor);
        DrawMarkedScriptText(item.hDC, textRect, text, spans, state.placement);
    } else {
        DrawScriptText(item.hDC, textRect, text, state.placement);
    }
    ::SelectObject(item.hDC, old);
    if (smaller != nullptr) {
        ::DeleteObject(smaller);
    }
    return TRUE;
}

std::optional<LRESULT> Win32WindowPeer::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND: {
            const int id = LOWORD(wParam);
            const int code = HIWORD(wParam);
            if (lParam == 0) {
                return std::nullopt;  // a menu item or an accelerator: the frame's
            }
            if ((code == LBN_SELCHANGE && IsList(id)) || (code == CBN_SELCHANGE && IsCombo(id))) {
                owner_->Dispatch(id, Notification::SelectionChanged);
                return 0;
            }
            if (code == LBN_DBLCLK && IsList(id)) {
                owner_->Dispatch(id, Notification::DoubleClicked);
                return 0;
            }
            if (code == BN_CLICKED) {
                owner_->Dispatch(id, Notification::Clicked);
                return 0;
            }
            if (code == EN_CHANGE && editFonts_.count(id) != 0) {
                FitEditToText(id);
                // Whether the direction changed is seen there.
                ::PostMessageW(window_, kFitEditToDirection, static_cast<WPARAM>(id), 0);
            }
            if (code == EN_CHANGE && !settingText_ && notifyingEdits_.count(id) != 0) {
                owner_->Dispatch(id, Notification::TextChanged);
            }
            return std::nullopt;
        }
        case WM_NOTIFY: {
            auto* header = reinterpret_cast<NMHDR*>(lParam);
            ListViewTable* table =
                header != nullptr ? TableOf(static_cast<int>(header->idFrom)) : nullptr;
            if (table == nullptr) {
                return std::nullopt;
            }
            const int id = static_cast<int>(header->idFrom);
            LRESULT result = 0;
            const std::optional<Notification> told = table->Notify(*header, result);
            if (told == Notification::SelectionChanged) {
                ::PostMessageW(window_, kTellSelection, static_cast<WPARAM>(id), 0);
            } else if (told) {
                owner_->Dispatch(id, *told);
            }
            return result;
        }
        case kTellSelection: {
            ListViewTable* table = TableOf(static_cast<int>(wParam));
            if (table != nullptr && table->TakeSelectionChange()) {
                owner_->Dispatch(static_cast<int>(wParam), Notification::SelectionChanged);
            }
            return 0;
        }
        case kFitEditToDirection:
            FitEditToDirection(static_cast<int>(wParam));
            return 0;
        case WM_DRAWITEM: {
            const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            if (item != nullptr && item->CtlType == ODT_LISTBOX &&
                IsList(static_cast<int>(item->CtlID))) {
                return DrawLine(*item);
            }
            if (item != nullptr && item->CtlType == ODT_STATIC &&
                statics_.count(static_cast<int>(item->CtlID)) != 0) {
                return DrawStatic(*item);
            }
            return std::nullopt;
        }
        case WM_MEASUREITEM: {
            auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
            if (item != nullptr && item->CtlType == ODT_LISTBOX) {
                TEXTMETRICW metrics{};
                HDC screen = ::GetDC(window_);
                HGDIOBJ old = ::SelectObject(
                    screen, reinterpret_cast<HGDIOBJ>(::SendMessageW(window_, WM_GETFONT, 0, 0)));
                ::GetTextMetricsW(screen, &metrics);
                ::SelectObject(screen, old);
                ::ReleaseDC(window_, screen);
                item->itemHeight = static_cast<UINT>(metrics.tmHeight + 2);
                return TRUE;
            }
            return std::nullopt;
        }
        case WM_SETFOCUS: {
            HWND wanted = Control(focusWanted_);
            if (IsDialog() || wanted == nullptr || !::IsWindowEnabled(wanted)) {
                return std::nullopt;
            }
            ::SetFocus(wanted);
            return 0;
        }
        default:
            return std::nullopt;
    }
}

}  // namespace tallyfold::platform::win32
