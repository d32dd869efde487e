#pragma once

#include <QSettings>

#include <map>
#include <memory>

#include "platform/backend.h"
#include "platform/qt/qt_help_window.h"

namespace tallyfold::platform::qt {

class MainFrame;

/// The real window system: Qt 6 Widgets. A QApplication must exist while it is used.
class QtBackend : public Backend {
  public:
    QtBackend();
    ~QtBackend() override;

    std::unique_ptr<WindowPeer> CreateDialogPeer(Dialog& dialog) override;
    DialogResult RunModal(Dialog& dialog) override;
    std::unique_ptr<FramePeer> CreateFramePeer(FrameWindow& frame) override;
    int RunMessageLoop() override;
    void PostQuit(int exitCode) override;
    DialogResult ShowMessageBox(Window& owner, const MessageBoxRequest& request) override;
    bool RunFileDialog(Window& owner, FileDialogKind kind, FileDialogData& data) override;
    void Help(Window& owner, const HelpRequest& request) override;
    bool RunFontDialog(Window& owner, std::string_view title, TextFont& font) override;
    /// The user's settings of Tallyfold (on Linux ~/.config/Tallyfold/Tallyfold.conf).
    std::string ReadSetting(std::string_view key) const override;
    void WriteSetting(std::string_view key, std::string_view value) override;

    /// The help window, once a help command opened it.
    HelpWindow* HelpWindowIfOpen() const { return help_.get(); }
    MainFrame* Frame() const { return frame_; }

  private:
    std::unique_ptr<HelpWindow> help_;
    // One settings object for the run: a value written goes to the disk later, from the event
    // loop or at the end, not while a command waits for it. Null when the settings file is
    // there but no regular file: the run then keeps its settings in `unsaved_`.
    QSettings* Settings() const;
    mutable std::unique_ptr<QSettings> settings_;
    mutable bool settingsChecked_ = false;
    std::map<std::string, std::string, std::less<>> unsaved_;
    MainFrame* frame_ = nullptr;
};

/// The Qt widget of a window, for owning dialogs and message boxes; nullptr if it has none.
QWidget* WidgetOf(const Window& window);

}  // namespace tallyfold::platform::qt
