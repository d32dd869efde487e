#pragma once

#include <windows.h>

#include "platform/dialog.h"

namespace tallyfold::platform::win32 {

/// A key of the dialog's own keys (`DialogTemplate::keys`) in a message of the modal loop:
/// when it applies where the focus is, sends its command to `dialog` (whose window is
/// `handle`) and returns true, and the message is done.
bool TranslateDialogKey(Dialog& dialog, HWND handle, const MSG& message);

/// Whether `window` is an edit control (of its own or of a combo box).
bool IsEditControl(HWND window);

/// Whether an input method is composing in `window`: the keys are the candidate's then.
bool IsComposing(HWND window);

}  // namespace tallyfold::platform::win32
