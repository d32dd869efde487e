#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "platform/backend.h"

namespace tallyfold::platform::win32 {

/// The window layer on the Windows API alone (USER32, GDI32, COMCTL32, COMDLG32, SHELL32).
///
/// Dialogs are made from the program's templates in memory (`DialogTemplateWords`) with
/// CreateDialogIndirectParamW and run in a modal loop of the backend's own, since the window
/// layer sets a dialog up between its creation and its run. Settings live in the registry
/// under HKEY_CURRENT_USER\Software\Tallyfold.
class Win32Backend : public Backend {
  public:
    explicit Win32Backend(HINSTANCE instance);
    ~Win32Backend() override;

    std::unique_ptr<WindowPeer> CreateDialogPeer(Dialog& dialog) override;
    DialogResult RunModal(Dialog& dialog) override;
    std::unique_ptr<FramePeer> CreateFramePeer(FrameWindow& frame) override;
    int RunMessageLoop() override;
    void PostQuit(int exitCode) override;
    DialogResult ShowMessageBox(Window& owner, const MessageBoxRequest& request) override;
    bool RunFileDialog(Window& owner, FileDialogKind kind, FileDialogData& data) override;
    void Help(Window& owner, const HelpRequest& request) override;
    bool RunFontDialog(Window& owner, std::string_view title, TextFont& font) override;
    std::string ReadSetting(std::string_view key) const override;
    void WriteSetting(std::string_view key, std::string_view value) override;

    /// Hands a message to the windows of the backend before it is dispatched: accelerators
    /// of the main window, then the keyboard handling of dialogs. True when it was taken.
    bool PreTranslate(MSG& message);

  private:
    HINSTANCE instance_;
    // The main window and its accelerators, for `PreTranslate`.
    HWND frame_ = nullptr;
    HWND client_ = nullptr;
    HACCEL accelerators_ = nullptr;
    HWND modal_ = nullptr;
};

}  // namespace tallyfold::platform::win32
