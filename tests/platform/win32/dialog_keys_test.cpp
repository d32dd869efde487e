// A dialog's own keys and its size in the Windows program (run under Wine): each key works where
// it applies, an edit with the focus keeps the keys it uses on its text, and a resizable dialog's
// controls follow its size.

#include "platform/win32/win32_dialog_keys.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "platform/win32/win32_backend.h"
#include "platform/win32/win32_window_peer.h"
#include "resources/dialog_templates.h"
#include "resources/resource_ids.h"
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

// The position of control `id` in its dialog's client area.
RECT PlaceOf(HWND dialog, int id) {
    RECT place{};
    HWND control = ::GetDlgItem(dialog, id);
    ::GetWindowRect(control, &place);
    ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&place), 2);
    return place;
}

// The Statistics window's pictures are statics the window draws, its table a list view.
TEST(Win32Statistics, ThePicturesAreDrawnByTheWindowAndTakeTheirShapes) {
    Win32Backend backend(::GetModuleHandleW(nullptr));
    Window owner(backend);
    Dialog dialog(owner, StatisticsTemplate());
    std::unique_ptr<WindowPeer> peer = backend.CreateDialogPeer(dialog);
    dialog.AttachPeer(peer.get());
    HWND handle = dynamic_cast<Win32WindowPeer&>(*peer).Handle();
    for (const int id : {ids::kStatsBox, ids::kStatsDays, ids::kStatsCalendar}) {
        HWND picture = ::GetDlgItem(handle, id);
        ASSERT_NE(picture, nullptr) << id;
        EXPECT_EQ(::GetWindowLongPtrW(picture, GWL_STYLE) & SS_TYPEMASK, SS_OWNERDRAW) << id;
        const Rect size = peer->Position(id);
        EXPECT_GT(size.width, 100) << id;
        EXPECT_GT(size.height, 40) << id;
    }
    wchar_t name[32] = {};
    ::GetClassNameW(::GetDlgItem(handle, ids::kStatsHardest), name, 32);
    EXPECT_EQ(std::wstring(name), L"SysListView32");
    peer->SetAccessibleName(ids::kStatsBox, "Cards in each partition: partition 1: 3 of 10");
    wchar_t spoken[64] = {};
    ::GetWindowTextW(::GetDlgItem(handle, ids::kStatsBox), spoken, 64);
    EXPECT_EQ(std::wstring(spoken), L"Cards in each partition: partition 1: 3 of 10");
    dialog.AttachPeer(nullptr);
}

TEST(Win32DialogSize, AResizableDialogsControlsFollowItsSizeAndItStaysAsLargeAsItsTemplate) {
    Win32Backend backend(::GetModuleHandleW(nullptr));
    Window owner(backend);
    Dialog dialog(owner, CardsTemplate());
    std::unique_ptr<WindowPeer> peer = backend.CreateDialogPeer(dialog);
    dialog.AttachPeer(peer.get());
    HWND handle = dynamic_cast<Win32WindowPeer&>(*peer).Handle();
    const Rect first = peer->ClientSize();
    ASSERT_GT(first.width, 0);
    const RECT table = PlaceOf(handle, ids::kCardsTable);
    const RECT close = PlaceOf(handle, ids::kIdCancel);
    const RECT search = PlaceOf(handle, ids::kCardsSearch);
    EXPECT_NE(::GetWindowLongPtrW(handle, GWL_STYLE) & WS_THICKFRAME, 0);

    peer->ResizeClient(first.width + 200, first.height + 100);
    EXPECT_EQ(peer->ClientSize(), (Rect{0, 0, first.width + 200, first.height + 100}));
    const RECT grownTable = PlaceOf(handle, ids::kCardsTable);
    EXPECT_EQ(grownTable.right - grownTable.left, table.right - table.left + 200);
    EXPECT_EQ(grownTable.bottom - grownTable.top, table.bottom - table.top + 100);
    const RECT movedClose = PlaceOf(handle, ids::kIdCancel);
    EXPECT_EQ(movedClose.left, close.left + 200);
    EXPECT_EQ(movedClose.top, close.top + 100);
    EXPECT_EQ(PlaceOf(handle, ids::kCardsSearch).left, search.left);

    peer->ResizeClient(10, 10);
    EXPECT_EQ(peer->ClientSize(), first) << "never smaller than the template";
    EXPECT_EQ(PlaceOf(handle, ids::kCardsTable).right, table.right);
    dialog.AttachPeer(nullptr);
}

}  // namespace
}  // namespace tallyfold::platform::win32
