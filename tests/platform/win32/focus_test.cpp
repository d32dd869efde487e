// The keyboard focus in the Windows program's main window (run under Wine): the control the
// program gives it keeps it, shows it, and gets it back when the window is activated again.

#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <vector>

#include "platform/frame_window.h"
#include "platform/menu.h"
#include "platform/win32/win32_backend.h"
#include "platform/win32/win32_window_peer.h"
#include "platform/window.h"

namespace tallyfold::platform::win32 {
namespace {

constexpr int kLook = 20;
constexpr int kKnown = 21;

// The learning window's buttons, as the program places them.
class LearningButtons : public Window {
  public:
    explicit LearningButtons(Backend& backend) : Window(backend) {
        AddControl({kLook, ControlKind::Button, "Look", {10, 10, 80, 24}, style::kTabStop});
        AddControl({kKnown, ControlKind::Button, "Known", {100, 10, 80, 24}, style::kTabStop});
    }
};

// Hands the thread the messages waiting for it, as the message loop does.
void Settle() {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
}

HWND ButtonOf(HWND client, const wchar_t* text) {
    return ::FindWindowExW(client, nullptr, L"BUTTON", text);
}

TEST(Win32Focus, TheChosenButtonKeepsShowsAndGetsBackTheFocus) {
    Win32Backend backend(::GetModuleHandleW(nullptr));
    FrameWindow frame(backend, "Tallyfold", std::make_unique<LearningButtons>(backend));
    frame.Create();
    frame.Show();
    HWND client = WindowHandleOf(frame.Client());
    ASSERT_NE(client, nullptr);
    HWND window = ::GetAncestor(client, GA_ROOT);
    ::SetForegroundWindow(window);
    Settle();
    if (::GetActiveWindow() != window) {
        GTEST_SKIP() << "this display activates no window";
    }
    HWND look = ButtonOf(client, L"Look");
    HWND known = ButtonOf(client, L"Known");
    ASSERT_TRUE(look != nullptr && known != nullptr);

    frame.Client().FocusControl(kKnown);
    EXPECT_EQ(::GetFocus(), known);
    const auto cues = ::SendMessageW(known, WM_QUERYUISTATE, 0, 0);
    EXPECT_EQ(cues & UISF_HIDEFOCUS, 0) << "the focus rectangle shows before any key";

    // Another window comes forward: the focus chosen meanwhile waits for the window's return.
    HWND other = ::CreateWindowExW(0, L"STATIC", L"other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                   200, 100, nullptr, nullptr, nullptr, nullptr);
    ::SetForegroundWindow(other);
    ::SetActiveWindow(other);
    Settle();
    frame.Client().FocusControl(kLook);
    EXPECT_NE(::GetActiveWindow(), window) << "a window behind is not brought forward";
    ::SetActiveWindow(window);
    Settle();
    EXPECT_EQ(::GetFocus(), look);
    ::DestroyWindow(other);
}

constexpr int kAnswer = 22;
constexpr int kLookOrKnown = 1202;
constexpr int kLookOrProposed = 1204;

// The learning window while answers are typed: Look and the field for the answer; it writes
// down the learning commands that reach it.
class TypingClient : public Window {
  public:
    explicit TypingClient(Backend& backend) : Window(backend) {
        AddControl({kLook, ControlKind::Button, "Look", {10, 10, 80, 24}, style::kTabStop});
        AddControl({kAnswer, ControlKind::Edit, "", {10, 40, 200, 24}, style::kTabStop});
        OnCommand(kLookOrKnown, [this] { commands.push_back(kLookOrKnown); });
        OnCommand(kLookOrProposed, [this] { commands.push_back(kLookOrProposed); });
    }
    std::vector<int> commands;
};

// A key as the message loop meets it: offered to the backend first, then to the window.
void Press(Win32Backend& backend, HWND target, UINT message, WPARAM key) {
    MSG sent{target, message, key, 1, 0, {}};
    if (!backend.PreTranslate(sent)) {
        ::TranslateMessage(&sent);
        ::DispatchMessageW(&sent);
    }
}

// In the field of a typed answer a letter is text, not the command it is elsewhere; Enter
// still checks.
TEST(Win32Focus, TheAnswersFieldTakesLettersAndEnterStillChecks) {
    Win32Backend backend(::GetModuleHandleW(nullptr));
    auto owned = std::make_unique<TypingClient>(backend);
    TypingClient& client = *owned;
    FrameWindow frame(backend, "Tallyfold", std::move(owned));
    frame.SetAccelerators(
        {1201, {{Key::Virtual(kVkReturn), kLookOrProposed}, {Key::Character('k'), kLookOrKnown}}});
    frame.Create();
    frame.Show();
    HWND window = ::GetAncestor(WindowHandleOf(client), GA_ROOT);
    ::SetForegroundWindow(window);
    Settle();
    if (::GetActiveWindow() != window) {
        GTEST_SKIP() << "this display activates no window";
    }
    client.FocusControl(kAnswer);
    HWND answer = ::GetDlgItem(WindowHandleOf(client), kAnswer);
    ASSERT_EQ(::GetFocus(), answer);
    Press(backend, answer, WM_CHAR, 'k');
    Press(backend, answer, WM_CHAR, 'u');
    Settle();
    EXPECT_EQ(client.ControlText(kAnswer), "ku");
    EXPECT_TRUE(client.commands.empty());
    Press(backend, answer, WM_KEYDOWN, VK_RETURN);
    Settle();
    EXPECT_EQ(client.commands, std::vector<int>{kLookOrProposed});
    // Once the focus is on a button again, the letter is the command.
    client.FocusControl(kLook);
    Press(backend, ::GetFocus(), WM_CHAR, 'k');
    Settle();
    EXPECT_EQ(client.commands, (std::vector<int>{kLookOrProposed, kLookOrKnown}));
    EXPECT_EQ(client.ControlText(kAnswer), "ku");
}

}  // namespace
}  // namespace tallyfold::platform::win32
