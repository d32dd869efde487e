#include "platform/win32/win32_main_frame.h"

#include <commctrl.h>
#include <imm.h>
#include <shellapi.h>

#include <cstring>
#include <vector>

#include "platform/win32/menu_keys.h"
#include "platform/win32/win32_backend.h"
#include "platform/win32/win32_text.h"

namespace tallyfold::platform::win32 {

namespace {

constexpr const wchar_t* kFrameClass = L"TallyfoldFrame";
constexpr const wchar_t* kClientClass = L"TallyfoldClient";
constexpr UINT_PTR kLockTimer = 1;
constexpr UINT kLockTimerMs = 300;

void RegisterClasses(HINSTANCE instance, WNDPROC frameProc, WNDPROC clientProc) {
    static bool registered = false;
    if (registered) {
        return;
    }
    WNDCLASSEXW frame{};
    frame.cbSize = sizeof frame;
    frame.lpfnWndProc = frameProc;
    frame.hInstance = instance;
    frame.hIcon = ::LoadIconW(instance, MAKEINTRESOURCEW(1));
    frame.hIconSm = frame.hIcon;
    frame.hCursor = ::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    frame.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    frame.lpszClassName = kFrameClass;
    ::RegisterClassExW(&frame);
    WNDCLASSEXW client{};
    client.cbSize = sizeof client;
    client.lpfnWndProc = clientProc;
    client.hInstance = instance;
    client.hCursor = frame.hCursor;
    client.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    client.lpszClassName = kClientClass;
    ::RegisterClassExW(&client);
    registered = true;
}

// The frame a window of the frame's belongs to: handed over with the window's creation and
// kept in its user data.
Win32MainFrame* FrameOf(HWND window, UINT message, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        ::SetWindowLongPtrW(window, GWLP_USERDATA,
                            reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    return reinterpret_cast<Win32MainFrame*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
}

int AverageCharWidth(HWND window) {
    HDC context = ::GetDC(window);
    HGDIOBJ old = ::SelectObject(
        context, reinterpret_cast<HGDIOBJ>(::SendMessageW(window, WM_GETFONT, 0, 0)));
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(context, &metrics);
    ::SelectObject(context, old);
    ::ReleaseDC(window, context);
    return metrics.tmAveCharWidth > 0 ? metrics.tmAveCharWidth : 7;
}

}  // namespace

Win32MainFrame::Win32MainFrame(HINSTANCE instance, FrameWindow& frame) : frame_(&frame) {
    RegisterClasses(instance, FrameProc, ClientProc);
    const int dpi = DpiOf(nullptr);
    const int width =
        frame.InitialWidth() > 0 ? ToScreen(frame.InitialWidth(), dpi) : CW_USEDEFAULT;
    const int height =
        frame.InitialHeight() > 0 ? ToScreen(frame.InitialHeight(), dpi) : CW_USEDEFAULT;
    window_ = ::CreateWindowExW(WS_EX_ACCEPTFILES, kFrameClass, Wide(frame.Title()).c_str(),
                                WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT, CW_USEDEFAULT,
                                width, height, nullptr, nullptr, instance, this);
    // The client window is a control parent: Tab moves between its buttons.
    clientWindow_ = ::CreateWindowExW(WS_EX_CONTROLPARENT, kClientClass, L"",
                                      WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 0, 0, window_,
                                      nullptr, instance, this);
    client_ = std::make_unique<Win32WindowPeer>(clientWindow_, frame.Client());
    for (const ControlTemplate& control : frame.Client().OwnControls()) {
        client_->AddControl(control);
    }
    // The main window's letters and Enter are commands (Look, Known, Unknown). Without an
    // input method on it or its buttons, no key that confirms a candidate can be one. Its
    // edit (a typed answer) keeps its input method: while that composes, the keys are its own
    // (see `Win32Backend::PreTranslate`).
    for (HWND window : {window_, clientWindow_}) {
        ::ImmAssociateContext(window, nullptr);
        ::ImmAssociateContextEx(window, nullptr, IACE_CHILDREN);
    }
    for (const ControlTemplate& control : frame.Client().OwnControls()) {
        if (control.kind == ControlKind::Edit && control.id != kNoControlId) {
            ::ImmAssociateContextEx(::GetDlgItem(clientWindow_, control.id), nullptr, IACE_DEFAULT);
        }
    }
    BuildMenu();
    BuildStatusBar();
    std::vector<ACCEL> table;
    for (const AcceleratorEntry& entry : AcceleratorsOf(frame.Menu(), frame.Accelerators())) {
        table.push_back(ACCEL{static_cast<BYTE>(entry.flags), static_cast<WORD>(entry.key),
                              static_cast<WORD>(entry.command)});
    }
    accelerators_ = ::CreateAcceleratorTableW(table.data(), static_cast<int>(table.size()));
    ::SetTimer(window_, kLockTimer, kLockTimerMs, nullptr);
    LayOut();
}

Win32MainFrame::~Win32MainFrame() {
    if (accelerators_ != nullptr) {
        ::DestroyAcceleratorTable(accelerators_);
    }
    if (window_ != nullptr && ::IsWindow(window_)) {
        ::SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        ::DestroyWindow(window_);
    }
}

void Win32MainFrame::BuildMenu() {
    HMENU bar = ::CreateMenu();
    for (const MenuItem& popup : frame_->Menu().popups) {
        HMENU menu = ::CreatePopupMenu();
        popups_[menu] = &popup;
        FillPopup(menu, popup, false);
        ::AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(menu), Wide(popup.text).c_str());
    }
    ::SetMenu(window_, bar);
}

// The items of a popup as their enablers see them now: hidden items take no place, and an
// item that names a file shows its name (an ampersand in it is no mnemonic). Without `ask`
// every item is there and enabled: the menu as it is made, before the client is set up.
void Win32MainFrame::FillPopup(HMENU popup, const MenuItem& item, bool ask) {
    while (::GetMenuItemCount(popup) > 0) {
        ::DeleteMenu(popup, 0, MF_BYPOSITION);
    }
    for (const MenuItem& entry : item.items) {
        if (entry.IsSeparator()) {
            ::AppendMenuW(popup, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        const CommandState state = ask ? frame_->QueryCommand(entry.command) : CommandState{};
        if (!state.visible) {
            continue;
        }
        const std::u16string units = MenuLabel(entry);
        std::wstring label(units.begin(), units.end());
        if (!state.text.empty() || !state.file.IsEmpty()) {
            const std::wstring name = WideName(FilePath(state.FileInMenu()));
            // A new text keeps the item's key after it.
            const std::size_t tab = label.find(L'\t');
            label = Wide(state.text) + name +
                    (tab != std::wstring::npos ? label.substr(tab) : std::wstring());
        }
        UINT flags = MF_STRING;
        flags |= state.enabled ? MF_ENABLED : MF_GRAYED;
        flags |= state.checked ? MF_CHECKED : MF_UNCHECKED;
        ::AppendMenuW(popup, flags, static_cast<UINT_PTR>(entry.command), label.c_str());
    }
}

void Win32MainFrame::BuildStatusBar() {
    statusBar_ =
        ::CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0,
                          0, window_, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    statusParts_[0] = 0;
    int part = 1;
    for (const StatusArea& area : frame_->StatusAreas()) {
        statusParts_[area.id] = part++;
    }
    if ((frame_->ModeIndicators() & kIndicatorCapsLock) != 0) {
        capsPart_ = part++;
    }
    if ((frame_->ModeIndicators() & kIndicatorNumLock) != 0) {
        numPart_ = part++;
    }
}

// The parts' right edges, from the right: the indicators, then the areas, then the message
// area with the rest.
void Win32MainFrame::LayOut() {
    RECT client{};
    ::GetClientRect(window_, &client);
    int statusHeight = 0;
    if (statusBar_ != nullptr) {
        ::SendMessageW(statusBar_, WM_SIZE, 0, 0);
        RECT bar{};
        ::GetWindowRect(statusBar_, &bar);
        statusHeight = bar.bottom - bar.top;
        const int charWidth = AverageCharWidth(statusBar_);
        std::vector<int> widths;
        for (const StatusArea& area : frame_->StatusAreas()) {
            widths.push_back(area.widthChars * charWidth + 8);
        }
        if (capsPart_ >= 0) {
            widths.push_back(6 * charWidth);
        }
        if (numPart_ >= 0) {
            widths.push_back(6 * charWidth);
        }
        std::vector<int> edges(widths.size() + 1);
        int right = client.right - ::GetSystemMetrics(SM_CXVSCROLL);
        for (std::size_t i = widths.size(); i > 0; --i) {
            edges[i] = right;
            right -= widths[i - 1];
        }
        edges[0] = right;
        edges.back() = -1;  // the last part reaches the edge
        ::SendMessageW(statusBar_, SB_SETPARTS, edges.size(),
                       reinterpret_cast<LPARAM>(edges.data()));
    }
    const int width = client.right;
    const int height = client.bottom - statusHeight > 0 ? client.bottom - statusHeight : 0;
    ::MoveWindow(clientWindow_, 0, 0, width, height, TRUE);
    // Not before the client has its peer: the frame is made before it is attached. The
    // client counts in pixels at 96 dpi.
    if (frame_->Client().Peer() != nullptr) {
        const int dpi = DpiOf(window_);
        frame_->Client().EvSize(FromScreen(width, dpi), FromScreen(height, dpi));
    }
}

void Win32MainFrame::UpdateLockIndicators() {
    if (capsPart_ >= 0) {
        const bool on = (::GetKeyState(VK_CAPITAL) & 1) != 0;
        ::SendMessageW(statusBar_, SB_SETTEXTW, static_cast<WPARAM>(capsPart_),
                       reinterpret_cast<LPARAM>(on ? L"CAPS" : L""));
    }
    if (numPart_ >= 0) {
        const bool on = (::GetKeyState(VK_NUMLOCK) & 1) != 0;
        ::SendMessageW(statusBar_, SB_SETTEXTW, static_cast<WPARAM>(numPart_),
                       reinterpret_cast<LPARAM>(on ? L"NUM" : L""));
    }
}

void Win32MainFrame::SetStatusText(int area, std::string_view text) {
    const auto part = statusParts_.find(area);
    if (part == statusParts_.end()) {
        return;
    }
    statusTexts_[area] = std::string(text);
    ::SendMessageW(statusBar_, SB_SETTEXTW, static_cast<WPARAM>(part->second),
                   reinterpret_cast<LPARAM>(Wide(text).c_str()));
}

std::string Win32MainFrame::StatusText(int area) const {
    const auto found = statusTexts_.find(area);
    return found != statusTexts_.end() ? found->second : std::string();
}

namespace {

BOOL CALLBACK AddWorkArea(HMONITOR monitor, HDC /*context*/, LPRECT /*rect*/, LPARAM data) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (::GetMonitorInfoW(monitor, &info)) {
        const RECT& work = info.rcWork;
        reinterpret_cast<std::vector<Rect>*>(data)->push_back(
            {static_cast<int>(work.left), static_cast<int>(work.top),
             static_cast<int>(work.right - work.left), static_cast<int>(work.bottom - work.top)});
    }
    return TRUE;
}

// The work areas of the screens, as virtual-screen coordinates (those of a window's place).
std::vector<Rect> WorkAreas() {
    std::vector<Rect> areas;
    ::EnumDisplayMonitors(nullptr, nullptr, AddWorkArea, reinterpret_cast<LPARAM>(&areas));
    return areas;
}

void CentreOnScreen(HWND window) {
    RECT frame{};
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!::GetWindowRect(window, &frame) ||
        !::GetMonitorInfoW(::MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &info)) {
        return;
    }
    const RECT& work = info.rcWork;
    const LONG width = frame.right - frame.left;
    const LONG height = frame.bottom - frame.top;
    ::SetWindowPos(window, nullptr, work.left + (work.right - work.left - width) / 2,
                   work.top + (work.bottom - work.top - height) / 2, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

void Win32MainFrame::Show() {
    // The place the window had when it was last closed, where there is one that a screen
    // shows; else the middle of the screen.
    bool placed = false;
    if (backend_ != nullptr) {
        const std::string kept = backend_->ReadSetting(kPlacementKey);
        WINDOWPLACEMENT placement{};
        if (kept.size() == sizeof placement) {
            std::memcpy(&placement, kept.data(), sizeof placement);
            const RECT& normal = placement.rcNormalPosition;
            const Rect place = RectFromEdges(normal.left, normal.top, normal.right, normal.bottom);
            if (placement.length == sizeof placement && ShowsOnAScreen(place, WorkAreas())) {
                placement.showCmd =
                    placement.showCmd == SW_SHOWMAXIMIZED ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL;
                placed = ::SetWindowPlacement(window_, &placement) != FALSE;
            }
        }
    }
    if (!placed) {
        CentreOnScreen(window_);
    }
    LayOut();
    ::ShowWindow(window_, SW_SHOW);
    ::UpdateWindow(window_);
    UpdateLockIndicators();
}

void Win32MainFrame::Destroy() {
    closing_ = true;
    ::PostMessageW(window_, WM_CLOSE, 0, 0);
}

LRESULT CALLBACK Win32MainFrame::FrameProc(HWND window, UINT message, WPARAM wParam,
                                           LPARAM lParam) {
    Win32MainFrame* self = FrameOf(window, message, lParam);
    if (self == nullptr || self->window_ != window) {
        if (self != nullptr && self->window_ == nullptr) {
            self->window_ = window;  // messages sent during CreateWindowExW
        } else {
            return ::DefWindowProcW(window, message, wParam, lParam);
        }
    }
    return self->OnFrameMessage(message, wParam, lParam);
}

LRESULT Win32MainFrame::OnFrameMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SIZE:
            if (clientWindow_ != nullptr && client_ != nullptr) {
                LayOut();
            }
            return 0;
        case WM_DPICHANGED: {
            // Moved to a screen of another scale: the size Windows proposes for it, and the
            // layout anew.
            const auto* proposed = reinterpret_cast<const RECT*>(lParam);
            ::SetWindowPos(window_, nullptr, proposed->left, proposed->top,
                           proposed->right - proposed->left, proposed->bottom - proposed->top,
                           SWP_NOZORDER | SWP_NOACTIVATE);
            LayOut();
            return 0;
        }
        case WM_SETFOCUS:
            if (clientWindow_ != nullptr) {
                ::SetFocus(clientWindow_);
            }
            return 0;
        case WM_INITMENUPOPUP: {
            const auto popup = popups_.find(reinterpret_cast<HMENU>(wParam));
            if (popup != popups_.end()) {
                FillPopup(popup->first, *popup->second, true);
            }
            return 0;
        }
        case WM_COMMAND:
            // Menu items and accelerators; the controls' notifications go to the client.
            if (lParam == 0) {
                frame_->Command(LOWORD(wParam));
                return 0;
            }
            break;
        case WM_TIMER:
            if (wParam == kLockTimer) {
                UpdateLockIndicators();
                return 0;
            }
            break;
        case WM_DROPFILES: {
            auto drop = reinterpret_cast<HDROP>(wParam);
            const UINT length = ::DragQueryFileW(drop, 0, nullptr, 0);
            std::wstring name(length + 1, L'\0');
            ::DragQueryFileW(drop, 0, name.data(), length + 1);
            name.resize(length);
            ::DragFinish(drop);
            if (!name.empty()) {
                frame_->Client().EvDropFile(FilePath(Utf8FromWide(name)));
            }
            return 0;
        }
        case WM_CLOSE:
            if (closing_ || frame_->CanClose()) {
                closing_ = true;
                if (backend_ != nullptr) {
                    WINDOWPLACEMENT placement{};
                    placement.length = sizeof placement;
                    if (::GetWindowPlacement(window_, &placement)) {
                        backend_->WriteSetting(
                            kPlacementKey,
                            std::string_view(reinterpret_cast<const char*>(&placement),
                                             sizeof placement));
                    }
                }
                ::KillTimer(window_, kLockTimer);
                ::DestroyWindow(window_);
            }
            return 0;
        case WM_DESTROY:
            // The program ends with its main window.
            ::PostQuitMessage(0);
            return 0;
        default:
            break;
    }
    return ::DefWindowProcW(window_, message, wParam, lParam);
}

LRESULT CALLBACK Win32MainFrame::ClientProc(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam) {
    Win32MainFrame* self = FrameOf(window, message, lParam);
    if (self != nullptr && self->client_ != nullptr) {
        if (const std::optional<LRESULT> handled =
                self->client_->HandleMessage(message, wParam, lParam)) {
            return *handled;
        }
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace tallyfold::platform::win32
