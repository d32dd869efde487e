// A dialog's own keys in the Windows program (run under Wine): each works where it applies, and
// an edit with the focus keeps the keys it uses on its text.

#include "platform/win32/win32_dialog_keys.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "platform/win32/win32_backend.h"
#include "platform/win32/win32_window_peer.h"
#include "tests/support/table_dialog.h"

namespace tallyfold::platform::win32 {
namespace {

using testing::kSearch;
using testing::kTable;
using testing::TableDialog;

MSG KeyDown(HWND window, WPARAM key) {
    MSG message{};
    message.hwnd = window;
    message.message = WM_KEYDOWN;
    message.wParam = key;
    return message;
}

// Sets the thread's keyboard as GetKeyState reads it: Ctrl held down or not.
void HoldControl(bool down) {
    BYTE keys[256] = {};
    ::GetKeyboardState(keys);
    keys[VK_CONTROL] = down ? 0x80 : 0;
    ::SetKeyboardState(keys);
}

TEST(Win32DialogKeys, AKeyWorksWhereItAppliesAndAnEditKeepsItsOwn) {
    Win32Backend backend(::GetModuleHandleW(nullptr));
    Window owner(backend);
    TableDialog dialog(owner, 10, [](int row, int) { return std::to_string(row); });
    std::unique_ptr<WindowPeer> peer = backend.CreateDialogPeer(dialog);
    dialog.AttachPeer(peer.get());
    dialog.SetupWindow();
    auto* windowPeer = dynamic_cast<Win32WindowPeer*>(peer.get());
    ASSERT_NE(windowPeer, nullptr);
    HWND handle = windowPeer->Handle();
    HWND table = ::GetDlgItem(handle, kTable);
    HWND search = ::GetDlgItem(handle, kSearch);
    ::ShowWindow(handle, SW_SHOW);
    ::SetForegroundWindow(handle);
    ::SetFocus(table);
    if (::GetFocus() != table) {
        dialog.AttachPeer(nullptr);
        GTEST_SKIP() << "this display gives no window the focus";
    }

    HoldControl(false);
    EXPECT_TRUE(TranslateDialogKey(dialog, handle, KeyDown(table, VK_DELETE)));
    HoldControl(true);
    EXPECT_FALSE(TranslateDialogKey(dialog, handle, KeyDown(table, VK_DELETE)))
        << "Ctrl+Del is no key of the dialog";
    EXPECT_TRUE(TranslateDialogKey(dialog, handle, KeyDown(table, 'Z')));
    ::SetFocus(search);
    EXPECT_FALSE(TranslateDialogKey(dialog, handle, KeyDown(search, 'Z'))) << "the edit's own undo";
    HoldControl(false);
    EXPECT_FALSE(TranslateDialogKey(dialog, handle, KeyDown(search, VK_DELETE)))
        << "Del belongs to the table only";
    EXPECT_FALSE(TranslateDialogKey(dialog, handle, KeyDown(search, 'Z')));
    EXPECT_EQ(dialog.events, (std::vector<std::string>{"delete", "undo"}));
    dialog.AttachPeer(nullptr);
}

}  // namespace
}  // namespace tallyfold::platform::win32
