#include "platform/win32/win32_backend.h"

#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <vector>

#include "platform/dialog.h"
#include "platform/frame_window.h"
#include "platform/help_index.h"
#include "platform/win32/dialog_template_words.h"
#include "platform/win32/win32_dialog_keys.h"
#include "platform/win32/win32_main_frame.h"
#include "platform/win32/win32_text.h"
#include "platform/win32/win32_window_peer.h"
#include "table/native_path.h"

namespace tallyfold::platform::win32 {

namespace {

constexpr const wchar_t* kSettingsKey = L"Software\\Tallyfold";

// A dialog made from a template in memory. The dialog procedure hands the controls'
// messages to the peer and turns the close box and F1 into the dialog's commands.
class Win32DialogPeer : public Win32WindowPeer {
  public:
    Win32DialogPeer(HWND dialog, Dialog& owner) : Win32WindowPeer(dialog, owner), dialog_(&owner) {}
    ~Win32DialogPeer() override {
        if (::IsWindow(Handle())) {
            ::SetWindowLongPtrW(Handle(), DWLP_USER, 0);
            ::DestroyWindow(Handle());
        }
    }
    Win32DialogPeer(const Win32DialogPeer&) = delete;
    Win32DialogPeer& operator=(const Win32DialogPeer&) = delete;

    Dialog& Owner() const { return *dialog_; }

  private:
    Dialog* dialog_;
};

// A rectangle of a dialog's template in the pixels of the dialog's window.
Rect PixelsOf(HWND dialog, const Rect& units) {
    RECT place{units.x, units.y, units.x + units.width, units.y + units.height};
    ::MapDialogRect(dialog, &place);
    return RectFromEdges(place.left, place.top, place.right, place.bottom);
}

// A resizable dialog's controls follow its client area by their anchors.
void LayOutAnchored(HWND dialog, const DialogTemplate& dialogTemplate, WindowPeer& peer) {
    const Rect first =
        PixelsOf(dialog, {0, 0, dialogTemplate.rect.width, dialogTemplate.rect.height});
    RECT client{};
    ::GetClientRect(dialog, &client);
    const int wider = client.right - first.width;
    const int taller = client.bottom - first.height;
    for (const ControlTemplate& control : dialogTemplate.controls) {
        if (control.anchors != 0 && control.id != kNoControlId) {
            peer.Move(control.id,
                      Anchored(PixelsOf(dialog, control.rect), control.anchors, wider, taller));
        }
    }
    ::InvalidateRect(dialog, nullptr, TRUE);
}

// A resizable dialog is never made smaller than its template.
void KeepMinimumSize(HWND dialog, const DialogTemplate& dialogTemplate, MINMAXINFO& limits) {
    const Rect first =
        PixelsOf(dialog, {0, 0, dialogTemplate.rect.width, dialogTemplate.rect.height});
    RECT outer{0, 0, first.width, first.height};
    ::AdjustWindowRectEx(&outer, static_cast<DWORD>(::GetWindowLongPtrW(dialog, GWL_STYLE)), FALSE,
                         static_cast<DWORD>(::GetWindowLongPtrW(dialog, GWL_EXSTYLE)));
    limits.ptMinTrackSize.x = outer.right - outer.left;
    limits.ptMinTrackSize.y = outer.bottom - outer.top;
}

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        ::SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        return TRUE;  // the focus goes to the first control that takes it
    }
    auto* peer = reinterpret_cast<Win32DialogPeer*>(::GetWindowLongPtrW(dialog, DWLP_USER));
    if (peer == nullptr) {
        return FALSE;
    }
    switch (message) {
        case WM_CLOSE:
            peer->Owner().Dispatch(kCancelCommand);
            return TRUE;
        case WM_SIZE:
            if (peer->Owner().Template().resizable) {
                LayOutAnchored(dialog, peer->Owner().Template(), *peer);
                return TRUE;
            }
            break;
        case WM_GETMINMAXINFO:
            if (peer->Owner().Template().resizable) {
                KeepMinimumSize(dialog, peer->Owner().Template(),
                                *reinterpret_cast<MINMAXINFO*>(lParam));
                return TRUE;
            }
            break;
        case WM_HELP:
            // F1, wherever the focus is in the dialog: its own Help button.
            if (const int help = peer->Owner().Template().helpButton; help != 0) {
                peer->Owner().Dispatch(help);
            }
            return TRUE;
        case WM_COMMAND:
            // Enter and Escape come as the commands of the default and the cancel button,
            // without a control.
            if (lParam == 0 && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
                peer->Owner().Dispatch(LOWORD(wParam));
                return TRUE;
            }
            break;
        default:
            break;
    }
    if (const std::optional<LRESULT> handled = peer->HandleMessage(message, wParam, lParam)) {
        // A dialog procedure answers colour and owner-draw messages through its result.
        if (message == WM_CTLCOLORSTATIC || message == WM_CTLCOLOREDIT) {
            return static_cast<INT_PTR>(*handled);
        }
        ::SetWindowLongPtrW(dialog, DWLP_MSGRESULT, *handled);
        return TRUE;
    }
    return FALSE;
}

HWND OwnerHandle(Window& owner) {
    for (Window* window = &owner; window != nullptr; window = window->Parent()) {
        if (HWND handle = WindowHandleOf(*window)) {
            // The client of the main window is a child; a dialog's owner is the frame.
            return ::GetAncestor(handle, GA_ROOT);
        }
    }
    return nullptr;
}

std::wstring FilterText(std::string_view filter) {
    std::wstring text;
    for (const FileFilter& entry : ParseFileFilter(filter)) {
        text += Wide(entry.description);
        text.push_back(L'\0');
        text += Wide(entry.pattern);
        text.push_back(L'\0');
    }
    if (text.empty()) {
        text = std::wstring(L"All files (*.*)\0*.*\0", 20);
    }
    text.push_back(L'\0');
    return text;
}

// The folder of the running program.
FilePath ProgramFolder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) {
            return FilePath();
        }
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    return FilePath(Utf8FromWide(path)).Folder();
}

// The page of the help index that `keyword` names ("keyword<TAB>page" lines), if any.
std::string PageOfKeyword(const FilePath& helpFolder, std::string_view keyword) {
    std::ifstream file(NativePath(helpFolder.Child("keywords.txt")), std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(file)),
                           std::istreambuf_iterator<char>());
    for (HelpKeyword& entry : ParseHelpKeywords(text)) {
        if (entry.keyword == keyword) {
            return std::move(entry.page);
        }
    }
    return std::string();
}

}  // namespace

Win32Backend::Win32Backend(HINSTANCE instance) : instance_(instance) {
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_BAR_CLASSES | ICC_STANDARD_CLASSES | ICC_LISTVIEW_CLASSES;
    ::InitCommonControlsEx(&controls);
}

Win32Backend::~Win32Backend() = default;

std::unique_ptr<WindowPeer> Win32Backend::CreateDialogPeer(Dialog& dialog) {
    const std::vector<std::uint16_t> words = DialogTemplateWords(dialog.Template());
    HWND owner = dialog.Parent() != nullptr ? OwnerHandle(*dialog.Parent()) : nullptr;
    // Made hidden (the template has no WS_VISIBLE), set up by the window, then shown by the
    // modal run.
    HWND handle = ::CreateDialogIndirectParamW(
        instance_, reinterpret_cast<LPCDLGTEMPLATEW>(words.data()), owner, DialogProc, 0);
    auto peer = std::make_unique<Win32DialogPeer>(handle, dialog);
    if (handle != nullptr) {
        ::SetWindowLongPtrW(handle, DWLP_USER, reinterpret_cast<LONG_PTR>(peer.get()));
        peer->AdoptControls(dialog.Template());
    }
    return peer;
}

DialogResult Win32Backend::RunModal(Dialog& dialog) {
    auto* peer = dynamic_cast<Win32DialogPeer*>(dialog.Peer());
    if (peer == nullptr || peer->Handle() == nullptr) {
        return DialogResult::Cancel;
    }
    HWND handle = peer->Handle();
    HWND owner = ::GetWindow(handle, GW_OWNER);
    HWND modalBefore = modal_;
    modal_ = handle;
    // The owner takes no input while the dialog runs, as with DialogBox.
    if (owner != nullptr) {
        ::EnableWindow(owner, FALSE);
    }
    ::ShowWindow(handle, SW_SHOW);
    MSG message{};
    while (!peer->Ended()) {
        const BOOL got = ::GetMessageW(&message, nullptr, 0, 0);
        if (got == 0) {
            // The program is to end: the quit message is for the outer loop.
            ::PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        if (got < 0) {
            break;
        }
        if (TranslateDialogKey(dialog, handle, message)) {
            continue;
        }
        if (!::IsDialogMessageW(handle, &message)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
    }
    if (owner != nullptr) {
        ::EnableWindow(owner, TRUE);
        ::SetActiveWindow(owner);
    }
    ::ShowWindow(handle, SW_HIDE);
    modal_ = modalBefore;
    return peer->Ended().value_or(DialogResult::Cancel);
}

std::unique_ptr<FramePeer> Win32Backend::CreateFramePeer(FrameWindow& frame) {
    auto peer = std::make_unique<Win32MainFrame>(instance_, frame);
    peer->SetSettings(*this);
    frame_ = peer->Handle();
    client_ = peer->ClientHandle();
    accelerators_ = peer->Accelerators();
    return peer;
}

bool Win32Backend::PreTranslate(MSG& message) {
    // Accelerators first: Enter and Escape reach the learning commands even when a button
    // has the focus. Then the dialog keyboard handling of the client: Tab between buttons.
    // In an edit, a character goes into the text; while an input method composes there, its
    // keys (the Enter that confirms a candidate) are its own.
    HWND focus = ::GetFocus();
    const bool keyMessage = message.message >= WM_KEYFIRST && message.message <= WM_KEYLAST;
    const bool inEdit =
        keyMessage && IsEditControl(focus) && ::GetAncestor(focus, GA_ROOT) == frame_;
    const Key key = message.message == WM_CHAR || message.message == WM_SYSCHAR
                        ? Key::Character(static_cast<char>(message.wParam & 0x7F))
                        : Key::Virtual(static_cast<int>(message.wParam));
    const bool forAccelerators = !inEdit || (AcceleratorTakesFromEdit(key) && !IsComposing(focus));
    if (frame_ != nullptr && accelerators_ != nullptr && forAccelerators &&
        ::TranslateAcceleratorW(frame_, accelerators_, &message)) {
        return true;
    }
    return client_ != nullptr && ::IsDialogMessageW(client_, &message);
}

int Win32Backend::RunMessageLoop() {
    MSG message{};
    for (;;) {
        const BOOL got = ::GetMessageW(&message, nullptr, 0, 0);
        if (got <= 0) {
            break;
        }
        if (!PreTranslate(message)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
    }
    frame_ = nullptr;
    client_ = nullptr;
    accelerators_ = nullptr;
    return static_cast<int>(message.wParam);
}

void Win32Backend::PostQuit(int exitCode) {
    ::PostQuitMessage(exitCode);
}

DialogResult Win32Backend::ShowMessageBox(Window& owner, const MessageBoxRequest& request) {
    std::wstring text = Wide(request.text);
    if (!request.file.IsEmpty()) {
        text += L"\n" + WideName(request.file);
    }
    UINT flags = MB_APPLMODAL;
    switch (request.buttons) {
        case MessageButtons::Ok:
            flags |= MB_OK;
            break;
        case MessageButtons::OkCancel:
        case MessageButtons::SaveCancel:  // the system's boxes have no Save: Ok stands for it
            flags |= MB_OKCANCEL;
            break;
        case MessageButtons::YesNo:
            // No close box and no Escape: only the user's Yes or No answers it.
            flags |= MB_YESNO;
            break;
        case MessageButtons::YesNoCancel:
            flags |= MB_YESNOCANCEL;
            break;
    }
    if (request.icon == MessageIcon::Question) {
        flags |= MB_ICONQUESTION;
    }
    switch (::MessageBoxW(OwnerHandle(owner), text.c_str(), Wide(request.caption).c_str(), flags)) {
        case IDOK:
            return DialogResult::Ok;
        case IDYES:
            return DialogResult::Yes;
        case IDNO:
            return DialogResult::No;
        default:
            return DialogResult::Cancel;
    }
}

bool Win32Backend::RunFileDialog(Window& owner, FileDialogKind kind, FileDialogData& data) {
    // Room for the longest path the system takes.
    std::wstring file(32768, L'\0');
    if (!data.fileName.IsEmpty() && !HasWildcard(data.fileName)) {
        const std::wstring offered = WideName(data.fileName);
        std::copy(offered.begin(),
                  offered.begin() +
                      static_cast<std::ptrdiff_t>(std::min(offered.size(), file.size() - 1)),
                  file.begin());
    }
    const std::wstring filter = FilterText(data.filter);
    const std::wstring folder = WideName(data.initialDir);
    const std::wstring extension = Wide(data.defaultExt);
    const std::wstring title = Wide(data.title);
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = OwnerHandle(owner);
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = static_cast<DWORD>(data.filterIndex > 0 ? data.filterIndex : 1);
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    dialog.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
    dialog.lpstrTitle = title.empty() ? nullptr : title.c_str();
    // The program's flags are the dialog's own (OFN_...).
    dialog.Flags = data.flags | OFN_EXPLORER | OFN_NOCHANGEDIR | OFN_HIDEREADONLY;
    const BOOL chosen =
        kind == FileDialogKind::Open ? ::GetOpenFileNameW(&dialog) : ::GetSaveFileNameW(&dialog);
    if (!chosen) {
        return false;
    }
    file.resize(std::wcslen(file.c_str()));
    data.fileName = FilePath(Utf8FromWide(file));
    data.filterIndex = static_cast<int>(dialog.nFilterIndex);
    return true;
}

namespace {

// The font dialog takes no title of its own: its hook gives it one as it opens.
UINT_PTR CALLBACK TitleFontDialog(HWND dialog, UINT message, WPARAM /*wParam*/, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        const auto* choice = reinterpret_cast<const CHOOSEFONTW*>(lParam);
        ::SetWindowTextW(dialog, reinterpret_cast<const wchar_t*>(choice->lCustData));
    }
    return 0;
}

}  // namespace

bool Win32Backend::RunFontDialog(Window& owner, std::string_view title, TextFont& font) {
    HWND ownerHandle = OwnerHandle(owner);
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    LOGFONTW chosen{};
    if (::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
        chosen = metrics.lfMessageFont;
    }
    if (!font.family.empty()) {
        const std::wstring family = Wide(font.family);
        const std::size_t length = std::min<std::size_t>(family.size(), LF_FACESIZE - 1);
        std::copy_n(family.begin(), length, chosen.lfFaceName);
        chosen.lfFaceName[length] = L'\0';
    }
    if (font.points > 0) {
        chosen.lfHeight = -::MulDiv(font.points, DpiOf(ownerHandle), 72);
        chosen.lfWidth = 0;
    }
    const std::wstring caption = Wide(title);
    CHOOSEFONTW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = ownerHandle;
    dialog.lpLogFont = &chosen;
    dialog.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT | CF_NOVERTFONTS | CF_ENABLEHOOK;
    dialog.lpfnHook = TitleFontDialog;
    dialog.lCustData = reinterpret_cast<LPARAM>(caption.c_str());
    if (!::ChooseFontW(&dialog)) {
        return false;
    }
    font.family = Narrow(chosen.lfFaceName);
    font.points = std::max(1, (dialog.iPointSize + 5) / 10);
    return true;
}

// The help pages lie in the "help" folder beside the program and open in the user's browser.
void Win32Backend::Help(Window& owner, const HelpRequest& request) {
    if (request.command == HelpCommand::Quit) {
        return;
    }
    const FilePath folder = ProgramFolder().Child("help");
    std::string page(kHelpContentsPage);
    switch (request.command) {
        case HelpCommand::HelpOnHelp:
            page = kHelpOnHelpPage;
            break;
        case HelpCommand::Context:
            if (!request.page.empty()) {
                page = request.page;
            }
            break;
        case HelpCommand::Key:
            if (std::string found = PageOfKeyword(folder, request.keyword); !found.empty()) {
                page = found;
            }
            break;
        default:
            break;
    }
    // An anchor ("cards.html#accents") is no part of the file name.
    const std::string file = page.substr(0, page.find('#'));
    const std::wstring path = WidePath(folder.Child(file));
    ::ShellExecuteW(OwnerHandle(owner), L"open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

std::string Win32Backend::ReadSetting(std::string_view key) const {
    const std::wstring name = Wide(key);
    DWORD size = 0;
    if (::RegGetValueW(HKEY_CURRENT_USER, kSettingsKey, name.c_str(), RRF_RT_REG_BINARY, nullptr,
                       nullptr, &size) != ERROR_SUCCESS) {
        return std::string();
    }
    std::string value(size, '\0');
    if (::RegGetValueW(HKEY_CURRENT_USER, kSettingsKey, name.c_str(), RRF_RT_REG_BINARY, nullptr,
                       value.data(), &size) != ERROR_SUCCESS) {
        return std::string();
    }
    value.resize(size);
    return value;
}

void Win32Backend::WriteSetting(std::string_view key, std::string_view value) {
    ::RegSetKeyValueW(HKEY_CURRENT_USER, kSettingsKey, Wide(key).c_str(), REG_BINARY, value.data(),
                      static_cast<DWORD>(value.size()));
}

}  // namespace tallyfold::platform::win32
