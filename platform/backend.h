#pragma once

#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/control_template.h"
#include "platform/geometry.h"
#include "platform/marked_text.h"
#include "platform/modal.h"
#include "platform/picture.h"
#include "platform/text_font.h"

namespace tallyfold::platform {

/// The text of a line of a list, asked for when the line is drawn or read.
using LineSource = std::function<std::string(int line)>;
/// The text of a cell of a table, asked for when the cell is drawn or read.
using CellSource = std::function<std::string(int row, int column)>;

/// A column of a table: its header and its width in pixels.
struct TableColumn {
    std::string title;
    int width = 100;
    /// Numbers stand at the end of their cells.
    bool alignEnd = false;
};

class Dialog;
class FrameWindow;
class Window;

/// The controls of one window as a backend realises them. Control texts are Windows-1252
/// bytes. Every call names a control by id; ids that the window lacks are ignored.
class WindowPeer {
  public:
    virtual ~WindowPeer() = default;

    /// Creates a control of a window built in code; its rectangle is in pixels.
    virtual void AddControl(const ControlTemplate& control) = 0;
    virtual void SetText(int id, std::string_view text) = 0;
    virtual std::string Text(int id) const = 0;
    virtual void SetEnabled(int id, bool enabled) = 0;
    virtual bool IsEnabled(int id) const = 0;
    /// Places a control, in pixels of the window's client area.
    virtual void Move(int id, const Rect& rect) = 0;
    virtual Rect Position(int id) const = 0;
    virtual void SetFocus(int id) = 0;
    /// Selects the characters from `start` up to `end` of an edit control (-1: to the end).
    virtual void SelectText(int id, int start, int end) = 0;
    /// Limits what the user can type into an edit control (see `Edit::LimitText`).
    virtual void LimitText(int id, std::size_t characters, std::size_t bytes) = 0;
    /// Draws a static's or a marked text's text in `font`; a text too large for the control at
    /// that size is drawn smaller, so that it shows whole. An edit takes the font as it is.
    virtual void SetTextFont(int id, const TextFont& font) = 0;
    /// Shows or hides a control; a hidden one takes no keys and no clicks.
    virtual void SetVisible(int id, bool visible) = 0;
    virtual bool IsVisible(int id) const = 0;
    /// The runs of a marked text; its `Text` is theirs, put together.
    virtual void SetMarkedText(int id, std::span<const MarkedRun> runs) = 0;
    /// The shapes of a picture, drawn at once.
    virtual void SetPicture(int id, const Picture& picture) = 0;
    /// The name a screen reader gives the control, in place of its text.
    virtual void SetAccessibleName(int id, std::string_view name) = 0;

    // List and combo boxes: lines counted from 0, in the order they were added.
    virtual void ClearLines(int id) = 0;
    virtual void AddLine(int id, std::string_view text) = 0;
    /// Replaces the lines of a list box with `count` lines whose texts `source` gives when they
    /// are drawn or read: a long list then costs what the screen shows.
    virtual void SetLines(int id, int count, LineSource source) = 0;
    virtual int LineCount(int id) const = 0;
    virtual std::string LineText(int id, int line) const = 0;
    /// Makes `line` the selected (or, with extended selection, the only selected) line;
    /// -1 selects nothing. Programmatic changes send no notification.
    virtual void Select(int id, int line) = 0;
    /// The selected line (with extended selection: the first selected), or -1.
    virtual int Selected(int id) const = 0;
    /// All selected lines, in ascending order.
    virtual std::vector<int> SelectedLines(int id) const = 0;

    // Tables: a list of rows in columns, whose cells their owner gives as they are drawn or
    // read, so that a table of any length costs what the screen shows. `LineCount`, `Select`,
    // `Selected` and `SelectedLines` serve them as lists; a click on a header reports
    // `Notification::ColumnClicked`, Enter and a double click `Notification::DoubleClicked`.
    virtual void SetColumns(int id, std::span<const TableColumn> columns) = 0;
    /// Replaces the rows with `count` rows whose cells `source` gives; nothing is selected.
    virtual void SetRows(int id, int count, CellSource source) = 0;
    /// The widths of the columns as the user left them, in pixels.
    virtual std::vector<int> ColumnWidths(int id) const = 0;
    /// Marks the header of `column` as the one the rows are sorted by (-1: none).
    virtual void SetSortIndicator(int id, int column, bool descending) = 0;
    /// The column whose header was clicked last, or -1.
    virtual int ClickedColumn(int id) const = 0;
    /// Selects exactly `rows` (ascending) of a table, the first of them the current one.
    virtual void SelectRows(int id, std::span<const int> rows) = 0;

    // Check boxes.
    virtual void SetChecked(int id, bool checked) = 0;
    virtual bool IsChecked(int id) const = 0;

    /// The size of the window's client area, in pixels.
    virtual Rect ClientSize() const = 0;
    /// Gives a resizable dialog a client area of `width` by `height` pixels (at least its
    /// template's size); its controls follow by their anchors.
    virtual void ResizeClient(int width, int height) = 0;

    /// Ends a modal dialog with `result`; the dialog's modal run then returns it.
    virtual void EndModal(DialogResult result) = 0;
    /// Repaints the whole window.
    virtual void Invalidate() = 0;
};

/// The main window's frame as a backend realises it.
class FramePeer {
  public:
    virtual ~FramePeer() = default;

    /// The client area, where the client window's controls live.
    virtual WindowPeer& Client() = 0;
    /// Text of a status bar area: 0 for the message area, else the id of an added area.
    virtual void SetStatusText(int area, std::string_view text) = 0;
    virtual std::string StatusText(int area) const = 0;
    virtual void Show() = 0;
    /// Closes the frame after its close query agreed.
    virtual void Destroy() = 0;
};

/// A window system: creates the peers of windows and dialogs, runs modal loops, and serves
/// message boxes, file dialogs and help.
class Backend {
  public:
    virtual ~Backend() = default;

    virtual std::unique_ptr<WindowPeer> CreateDialogPeer(Dialog& dialog) = 0;
    /// Runs `dialog` modally until its peer's `EndModal`; returns the result.
    virtual DialogResult RunModal(Dialog& dialog) = 0;
    virtual std::unique_ptr<FramePeer> CreateFramePeer(FrameWindow& frame) = 0;
    /// Runs until `PostQuit` or the last window closed; returns the exit code.
    virtual int RunMessageLoop() = 0;
    virtual void PostQuit(int exitCode) = 0;

    /// Shows a message box owned by `owner`; returns the button pressed. A box that the user
    /// closes without a button gives Cancel (a Yes/No box cannot be closed so).
    virtual DialogResult ShowMessageBox(Window& owner, const MessageBoxRequest& request) = 0;
    /// Runs a file dialog; true with `data.fileName` set when the user chose a file.
    virtual bool RunFileDialog(Window& owner, FileDialogKind kind, FileDialogData& data) = 0;
    virtual void Help(Window& owner, const HelpRequest& request) = 0;
    /// Runs the font dialog titled `title`, starting at `font`; true with `font` set to the
    /// face and size the user chose.
    virtual bool RunFontDialog(Window& owner, std::string_view title, TextFont& font) = 0;

    /// What the program keeps between runs, by key: the bytes last written, or empty.
    virtual std::string ReadSetting(std::string_view key) const = 0;
    virtual void WriteSetting(std::string_view key, std::string_view value) = 0;
};

}  // namespace tallyfold::platform
