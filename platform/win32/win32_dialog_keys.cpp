#include "platform/win32/win32_dialog_keys.h"

#include <imm.h>

#include <cstdint>
#include <optional>

#include "platform/win32/menu_keys.h"

namespace tallyfold::platform::win32 {

namespace {

// The control of `dialog` that holds `window`: itself, or the child it is a part of (the edit of
// a combo box, the header of a list view).
HWND ControlHolding(HWND dialog, HWND window) {
    while (window != nullptr && ::GetParent(window) != dialog) {
        window = ::GetParent(window);
    }
    return window;
}

}  // namespace

bool IsEditControl(HWND window) {
    wchar_t name[16] = {};
    return window != nullptr && ::GetClassNameW(window, name, 16) > 0 &&
           ::lstrcmpiW(name, L"Edit") == 0;
}

bool IsComposing(HWND window) {
    HIMC context = ::ImmGetContext(window);
    if (context == nullptr) {
        return false;
    }
    const LONG composed = ::ImmGetCompositionStringW(context, GCS_COMPSTR, nullptr, 0);
    ::ImmReleaseContext(window, context);
    return composed > 0;
}

bool TranslateDialogKey(Dialog& dialog, HWND handle, const MSG& message) {
    if ((message.message != WM_KEYDOWN && message.message != WM_SYSKEYDOWN) ||
        dialog.Template().keys.empty()) {
        return false;
    }
    std::uint8_t pressed = kVirtualKey;
    if (::GetKeyState(VK_CONTROL) < 0) {
        pressed |= kControl;
    }
    if (::GetKeyState(VK_SHIFT) < 0) {
        pressed |= kShift;
    }
    if (::GetKeyState(VK_MENU) < 0) {
        pressed |= kAlt;
    }
    HWND focus = ::GetFocus();
    HWND control = ControlHolding(handle, focus);
    const int focusId = control != nullptr ? ::GetDlgCtrlID(control) : 0;
    for (const DialogKey& key : dialog.Template().keys) {
        const std::optional<AcceleratorEntry> entry = ParseShortcut(key.shortcut, key.command);
        if (entry && entry->flags == pressed && entry->key == message.wParam &&
            KeyApplies(key, focusId, IsEditControl(focus))) {
            dialog.Dispatch(key.command);
            return true;
        }
    }
    return false;
}

}  // namespace tallyfold::platform::win32
