#pragma once

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/backend.h"
#include "platform/dialog.h"
#include "platform/frame_window.h"
#include "platform/headless/headless_peer.h"
#include "platform/menu.h"

namespace tallyfold::platform::headless {

/// A running modal dialog as a test drives it: clicks, keys, typing and list choices go
/// through the dialog's own response table, exactly as the window system would send them.
class HeadlessDialog {
  public:
    HeadlessDialog(Dialog& dialog, HeadlessWindowPeer& peer) : dialog_(&dialog), peer_(&peer) {}

    int TemplateId() const { return dialog_->Template().id; }
    const std::string& Caption() const { return dialog_->Template().caption; }
    Dialog& Window() const { return *dialog_; }

    /// Clicks a button; a disabled or missing control ignores the click (false).
    bool Click(int id);
    /// Replaces the text of an edit control, as typing over its whole text would (a limited
    /// edit keeps what fits its limit); a disabled or missing control takes nothing (false).
    bool Type(int id, std::string_view text);
    /// Enter: the focused button, else the default button, else the Ok command.
    void PressEnter();
    /// Escape, and the close box: the Cancel command.
    void PressEscape();
    /// F1: the dialog's help button, if it has one; false when it has none.
    bool PressHelpKey();
    /// A key of the dialog's own ("Ctrl+F", "Del"), where the focus is; false when the dialog
    /// has no such key there (an edit with the focus keeps the keys it uses on its text).
    bool PressShortcut(std::string_view shortcut);
    /// Selects one line of a list or combo box and reports the change.
    void Select(int id, int line);
    /// Selects exactly these lines of an extended-selection list and reports the change.
    void SelectLines(int id, const std::vector<int>& lines);
    /// Selects a line and double-clicks it.
    void DoubleClick(int id, int line);
    /// The user makes the dialog this large (a resizable one: never smaller than its template).
    void Resize(int width, int height) { peer_->ResizeClient(width, height); }
    /// Clicks the header of a table's column.
    void ClickColumn(int id, int column);
    /// Clicks a check box: it turns on or off, and its owner is told.
    bool Toggle(int id);
    /// A table's cell as it is shown.
    std::string Cell(int id, int row, int column) const { return peer_->Cell(id, row, column); }
    bool IsChecked(int id) const { return peer_->IsChecked(id); }
    void Focus(int id) { peer_->SetFocus(id); }

    std::string Text(int id) const { return peer_->Text(id); }
    bool IsEnabled(int id) const { return peer_->IsEnabled(id); }
    std::vector<std::string> Lines(int id) const;
    std::vector<int> SelectedLines(int id) const { return peer_->SelectedLines(id); }
    int Focused() const { return peer_->Focus(); }
    /// The selected characters of an edit control, as [start, end).
    std::pair<int, int> EditSelection(int id) const;
    bool Ended() const { return peer_->Ended(); }
    DialogResult Result() const { return peer_->Result(); }
    const HeadlessWindowPeer& Peer() const { return *peer_; }
    HeadlessWindowPeer& Peer() { return *peer_; }

  private:
    Dialog* dialog_;
    HeadlessWindowPeer* peer_;
};

/// The main window's frame in memory.
class HeadlessFramePeer : public FramePeer {
  public:
    WindowPeer& Client() override { return client_; }
    void SetStatusText(int area, std::string_view text) override {
        status_[area] = std::string(text);
    }
    std::string StatusText(int area) const override;
    void Show() override { shown_ = true; }
    void Destroy() override { destroyed_ = true; }

    HeadlessWindowPeer& ClientPeer() { return client_; }
    bool Shown() const { return shown_; }
    bool Destroyed() const { return destroyed_; }

  private:
    HeadlessWindowPeer client_;
    std::map<int, std::string> status_;
    bool shown_ = false;
    bool destroyed_ = false;
};

/// The main window as a test drives it.
class HeadlessFrame {
  public:
    HeadlessFrame(FrameWindow& frame, HeadlessFramePeer& peer) : frame_(&frame), peer_(&peer) {}

    /// A key: the accelerator table first, then Enter or Space on a focused button clicks it.
    /// While an edit has the focus, a character goes into its text (`AcceleratorTakesFromEdit`).
    void PressKey(const Key& key);
    /// Types `text` (UTF-8) key by key into the control with the focus, as `PressKey` does.
    void TypeText(std::string_view text);
    void PressEnter() { PressKey(Key::Virtual(kVkReturn)); }
    void PressSpace() { PressKey(Key::Character(' ')); }
    /// The client area's control with the keyboard focus, and a click that gives it one.
    int Focused() const { return peer_->ClientPeer().Focus(); }
    void Focus(int id) { peer_->ClientPeer().SetFocus(id); }
    void PressEscape() { PressKey(Key::Virtual(kVkEscape)); }
    void TypeChar(char c) { PressKey(Key::Character(c)); }
    bool Click(int id);
    /// Chooses a menu item; a greyed item cannot be chosen (false).
    bool ChooseMenu(int command);
    /// Presses a key combination ("Ctrl+Z"): the menu item it belongs to is chosen, if enabled.
    /// False when no item has it or the item is disabled.
    bool PressShortcut(std::string_view shortcut);
    /// Drops a file on the window, as from a file manager.
    void DropFile(const FilePath& path) { frame_->Client().EvDropFile(path); }
    CommandState MenuState(int command) { return frame_->QueryCommand(command); }
    /// Gives the client area a new size, as the window system would.
    void Resize(int width, int height);
    /// The close box: true if the window closed.
    bool CloseBox() { return frame_->Close(); }

    std::string Text(int id) const { return peer_->ClientPeer().Text(id); }
    bool IsEnabled(int id) const { return peer_->ClientPeer().IsEnabled(id); }
    bool IsVisible(int id) const { return peer_->ClientPeer().IsVisible(id); }
    Rect Position(int id) const { return peer_->ClientPeer().Position(id); }
    const HeadlessControl* Control(int id) const { return peer_->ClientPeer().Find(id); }
    std::string StatusText(int area) const { return peer_->StatusText(area); }
    const std::string& Title() const { return frame_->Title(); }
    bool Shown() const { return peer_->Shown(); }
    bool Destroyed() const { return peer_->Destroyed(); }
    FrameWindow& Frame() const { return *frame_; }
    HeadlessWindowPeer& ClientPeer() const { return peer_->ClientPeer(); }

  private:
    FrameWindow* frame_;
    HeadlessFramePeer* peer_;
};

/// A window system in memory. Every modal thing is scripted in advance; a modal call that no
/// script answers is reported to the failure handler with a message that names it, and then
/// answered with Cancel. Message boxes, file dialogs, dialogs and help calls are recorded.
class HeadlessBackend : public Backend {
  public:
    using DialogScript = std::function<void(HeadlessDialog&)>;
    using FailureHandler = std::function<void(const std::string&)>;

    struct MessageBoxRecord {
        MessageBoxRequest request;
        const Window* owner = nullptr;
        /// Whether the main window was on screen when the box came up.
        bool mainWindowShown = false;
    };
    struct FontDialogRecord {
        std::string title;
        TextFont font;  ///< as the dialog was opened
    };
    struct FileDialogRecord {
        FileDialogKind kind = FileDialogKind::Open;
        FileDialogData data;  ///< as the dialog was opened
    };

    HeadlessBackend();
    ~HeadlessBackend() override;

    /// Unanswered modal calls and scripts that leave a dialog open end up here (default: a
    /// message on standard error and abort).
    void SetFailureHandler(FailureHandler handler) { onFailure_ = std::move(handler); }

    /// The next dialog of template `templateId` runs `script`, which must end it.
    void ExpectDialog(int templateId, DialogScript script);
    /// The next message box is answered with `answer`.
    void AnswerMessageBox(DialogResult answer);
    /// With `on`, a message box that asks nothing (an Ok button only) is answered Ok by itself
    /// and takes no prepared answer: for tests of commands that end with a report.
    void AcknowledgeReports(bool on) { acknowledgeReports_ = on; }
    /// Forgets the message boxes shown so far, for a test that looks at those of a later step.
    void ForgetMessageBoxes() { messageBoxes_.clear(); }
    /// The next file dialog is answered with `path`, or cancelled when it is empty; with
    /// `filterIndex`, the user chose that file type (counted from 1) as well.
    void AnswerFileDialog(FilePath path, int filterIndex = 0);
    /// The next font dialog is answered with `font`, or cancelled when there is none.
    void AnswerFontDialog(std::optional<TextFont> font) { fontDialogAnswers_.push_back(font); }
    /// Fails every script, answer and file or font dialog that was prepared and not used.
    void VerifyAllUsed();

    const std::vector<MessageBoxRecord>& MessageBoxes() const { return messageBoxes_; }
    const std::vector<FileDialogRecord>& FileDialogs() const { return fileDialogs_; }
    const std::vector<FontDialogRecord>& FontDialogs() const { return fontDialogs_; }
    const std::vector<HelpRequest>& HelpRequests() const { return helpRequests_; }
    /// Template ids of the dialogs run, in order.
    const std::vector<int>& DialogsRun() const { return dialogsRun_; }
    std::optional<int> QuitCode() const { return quitCode_; }
    /// The main window, once created.
    HeadlessFrame* MainWindow() { return mainWindow_.get(); }

    std::unique_ptr<WindowPeer> CreateDialogPeer(Dialog& dialog) override;
    DialogResult RunModal(Dialog& dialog) override;
    std::unique_ptr<FramePeer> CreateFramePeer(FrameWindow& frame) override;
    int RunMessageLoop() override;
    void PostQuit(int exitCode) override { quitCode_ = exitCode; }
    DialogResult ShowMessageBox(Window& owner, const MessageBoxRequest& request) override;
    bool RunFileDialog(Window& owner, FileDialogKind kind, FileDialogData& data) override;
    void Help(Window& owner, const HelpRequest& request) override;
    bool RunFontDialog(Window& owner, std::string_view title, TextFont& font) override;
    /// Settings live as long as the backend: a test starts a second run on the same one.
    std::string ReadSetting(std::string_view key) const override;
    void WriteSetting(std::string_view key, std::string_view value) override {
        settings_[std::string(key)] = std::string(value);
    }

  private:
    void Fail(const std::string& message) const;

    FailureHandler onFailure_;
    std::map<int, std::deque<DialogScript>> dialogScripts_;
    std::deque<DialogResult> messageBoxAnswers_;
    bool acknowledgeReports_ = false;
    std::deque<std::pair<FilePath, int>> fileDialogAnswers_;
    std::vector<MessageBoxRecord> messageBoxes_;
    std::vector<FileDialogRecord> fileDialogs_;
    std::deque<std::optional<TextFont>> fontDialogAnswers_;
    std::vector<FontDialogRecord> fontDialogs_;
    std::vector<HelpRequest> helpRequests_;
    std::vector<int> dialogsRun_;
    std::optional<int> quitCode_;
    std::unique_ptr<HeadlessFrame> mainWindow_;
    std::map<std::string, std::string, std::less<>> settings_;
};

}  // namespace tallyfold::platform::headless
