#pragma once

#include <functional>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/backend.h"
#include "platform/control_template.h"
#include "platform/modal.h"

namespace tallyfold::platform {

/// What a control reports besides a click.
enum class Notification { Clicked, SelectionChanged, DoubleClicked, TextChanged, ColumnClicked };

/// Whether a menu command is enabled and checked; asked each time a menu opens.
struct CommandState {
    bool enabled = true;
    bool checked = false;
    /// The item's text, when the enabler names it anew ("Undo Known"); empty keeps the menu's.
    std::string text;
    /// A file the item names, shown after `text` as the window system shows file names.
    FilePath file;
    /// A hidden item takes no room in its menu (the free places of the recent files).
    bool visible = true;

    /// `file` as a menu item shows it, in the path's bytes: every "&" doubled, since an
    /// ampersand in a file name is no mnemonic.
    std::string FileInMenu() const;
};

/// A window of the program: it owns its controls (by id, realised by a backend peer), maps
/// commands and control notifications to member functions through its response table, and
/// answers the command enablers. Subclasses register their responses in their constructors.
class Window {
  public:
    /// A top-level window on `backend`.
    explicit Window(Backend& backend) : backend_(&backend) {}
    /// A window owned by `parent`, on the parent's backend.
    explicit Window(Window& parent) : backend_(parent.backend_), parent_(&parent) {}
    virtual ~Window() = default;
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    Backend& GetBackend() const { return *backend_; }
    Window* Parent() const { return parent_; }

    /// Called once the window system has created the window and its controls.
    virtual void SetupWindow() {}
    /// The client area got a new size, in pixels.
    virtual void EvSize(int width, int height);
    /// Whether the window may close now; asked before every close.
    virtual bool CanClose() { return true; }
    /// The window is on screen (a main window's client, once its frame was shown).
    virtual void EvShown() {}
    /// A file was dropped on the window; the first one, where several were.
    virtual void EvDropFile(const FilePath& /*path*/) {}

    /// Routes a command (menu item, accelerator, button click) or a control notification to
    /// its handler. True if the window has one.
    bool Dispatch(int id, Notification notification = Notification::Clicked);
    /// The enabled and checked state of a command, from its enabler (default: enabled).
    CommandState QueryCommand(int id);

    /// The controls this window creates itself (windows built in code), in creation order.
    const std::vector<ControlTemplate>& OwnControls() const { return ownControls_; }
    void AttachPeer(WindowPeer* peer) { peer_ = peer; }
    WindowPeer* Peer() const { return peer_; }

    // Control operations, by id.
    void SetControlText(int id, std::string_view text);
    std::string ControlText(int id) const;
    /// Copies at most `buffer.size() - 1` characters of the control's text and a zero byte;
    /// returns the number copied.
    int GetControlText(int id, std::span<char> buffer) const;
    void EnableControl(int id, bool enabled);
    bool IsControlEnabled(int id) const;
    void MoveControl(int id, const Rect& rect);
    /// Where a control is, in pixels of the window's client area.
    Rect ControlPosition(int id) const;
    void FocusControl(int id);
    void SelectEditText(int id, int start, int end);
    void LimitEditText(int id, std::size_t characters, std::size_t bytes);
    void SetControlFont(int id, const TextFont& font);
    void SetControlAccessibleName(int id, std::string_view name);
    void ShowControl(int id, bool visible);
    bool IsControlVisible(int id) const;
    void SetControlMarkedText(int id, std::span<const MarkedRun> runs);
    void SetControlPicture(int id, const Picture& picture);

    // List and combo box operations, by id.
    void ClearLines(int id);
    /// Appends a line; returns its index.
    int AddLine(int id, std::string_view text);
    void SetLines(int id, int count, LineSource source);
    int LineCount(int id) const;
    std::string LineText(int id, int line) const;
    void SelectLine(int id, int line);
    int SelectedLine(int id) const;
    std::vector<int> SelectedLines(int id) const;

    // Table and check box operations, by id.
    void SetTableColumns(int id, std::span<const TableColumn> columns);
    void SetTableRows(int id, int count, CellSource source);
    std::vector<int> TableColumnWidths(int id) const;
    void SetTableSortIndicator(int id, int column, bool descending);
    int ClickedTableColumn(int id) const;
    void SelectTableRows(int id, std::span<const int> rows);
    void SetControlChecked(int id, bool checked);
    bool IsControlChecked(int id) const;

    /// Runs a message box owned by this window; returns the button pressed.
    DialogResult MessageBox(std::string_view text, std::string_view caption,
                            MessageButtons buttons = MessageButtons::Ok,
                            MessageIcon icon = MessageIcon::None);
    /// Runs a message box about `file`, which it names after the text.
    DialogResult MessageBoxAbout(std::string_view text, const FilePath& file);
    bool RunFileDialog(FileDialogKind kind, FileDialogData& data);
    void Help(const HelpRequest& request);
    /// Runs the font dialog (see `Backend::RunFontDialog`).
    bool RunFontDialog(std::string_view title, TextFont& font);

  protected:
    /// Adds a control that the window creates itself, at a pixel rectangle.
    void AddControl(ControlTemplate control);

    template <typename Derived>
    void OnCommand(int id, void (Derived::*handler)()) {
        responses_[{id, Notification::Clicked}] = [this, handler] {
            (static_cast<Derived*>(this)->*handler)();
        };
    }
    template <typename Derived>
    void OnNotify(int id, Notification notification, void (Derived::*handler)()) {
        responses_[{id, notification}] = [this, handler] {
            (static_cast<Derived*>(this)->*handler)();
        };
    }
    template <typename Derived>
    void OnEnable(int id, void (Derived::*enabler)(CommandState&)) {
        enablers_[id] = [this, enabler](CommandState& state) {
            (static_cast<Derived*>(this)->*enabler)(state);
        };
    }
    /// A command or an enabler that is no member function (one of a row of similar items).
    void OnCommand(int id, std::function<void()> handler) {
        responses_[{id, Notification::Clicked}] = std::move(handler);
    }
    void OnEnable(int id, std::function<void(CommandState&)> enabler) {
        enablers_[id] = std::move(enabler);
    }
    /// Handles a command that has no response; false if there is nothing to do.
    virtual bool DefaultCommand(int /*id*/) { return false; }

  private:
    WindowPeer& RequirePeer() const;

    Backend* backend_;
    Window* parent_ = nullptr;
    WindowPeer* peer_ = nullptr;
    std::vector<ControlTemplate> ownControls_;
    std::map<std::pair<int, Notification>, std::function<void()>> responses_;
    std::map<int, std::function<void(CommandState&)>> enablers_;
};

}  // namespace tallyfold::platform
