#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <string>

#include "platform/frame_window.h"
#include "platform/win32/win32_window_peer.h"

namespace tallyfold::platform::win32 {

class Win32Backend;

/// The main window: a top-level window with the menu, a status bar (message area, the
/// program's areas, Caps Lock and Num Lock), and a client window that holds the client's
/// controls and is laid out at every size event. Menu states are asked for as a menu opens
/// (WM_INITMENUPOPUP); accelerators come through the backend's message loop.
class Win32MainFrame : public FramePeer {
  public:
    Win32MainFrame(HINSTANCE instance, FrameWindow& frame);
    ~Win32MainFrame() override;
    Win32MainFrame(const Win32MainFrame&) = delete;
    Win32MainFrame& operator=(const Win32MainFrame&) = delete;

    HWND Handle() const { return window_; }
    HWND ClientHandle() const { return clientWindow_; }
    HACCEL Accelerators() const { return accelerators_; }

    WindowPeer& Client() override { return *client_; }
    void SetStatusText(int area, std::string_view text) override;
    std::string StatusText(int area) const override;
    void Show() override;
    void Destroy() override;

    /// Where the window's place is kept between runs, in the backend's settings.
    static constexpr std::string_view kPlacementKey = "window/placement";
    void SetSettings(Win32Backend& backend) { backend_ = &backend; }

  private:
    static LRESULT CALLBACK FrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK ClientProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnFrameMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void BuildMenu();
    void FillPopup(HMENU popup, const MenuItem& item, bool ask);
    void BuildStatusBar();
    void LayOut();
    void UpdateLockIndicators();

    FrameWindow* frame_;
    Win32Backend* backend_ = nullptr;
    HWND window_ = nullptr;
    HWND clientWindow_ = nullptr;
    HWND statusBar_ = nullptr;
    HACCEL accelerators_ = nullptr;
    std::unique_ptr<Win32WindowPeer> client_;
    // Menu handles of the popups, with the template item each shows.
    std::map<HMENU, const MenuItem*> popups_;
    // Status bar part of each area id; the message area is part 0.
    std::map<int, int> statusParts_;
    std::map<int, std::string> statusTexts_;
    int capsPart_ = -1;
    int numPart_ = -1;
    bool closing_ = false;
};

}  // namespace tallyfold::platform::win32
