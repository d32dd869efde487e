#pragma once

// Typed handles to the controls of a window: what a dialog keeps as its members. A handle
// does not own the control; the window does, and the handle is valid while the window is.

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/window.h"

namespace tallyfold::platform {

class Control {
  public:
    Control(Window& window, int id) : window_(&window), id_(id) {}

    int Id() const { return id_; }
    void SetText(std::string_view text) const { window_->SetControlText(id_, text); }
    std::string Text() const { return window_->ControlText(id_); }
    int GetText(std::span<char> buffer) const { return window_->GetControlText(id_, buffer); }
    void Enable(bool enabled = true) const { window_->EnableControl(id_, enabled); }
    void Disable() const { Enable(false); }
    bool IsEnabled() const { return window_->IsControlEnabled(id_); }
    void Move(const Rect& rect) const { window_->MoveControl(id_, rect); }
    void SetFocus() const { window_->FocusControl(id_); }
    void Show(bool visible = true) const { window_->ShowControl(id_, visible); }
    void Hide() const { Show(false); }
    bool IsVisible() const { return window_->IsControlVisible(id_); }
    /// What a screen reader calls the control, in place of its text.
    void SetAccessibleName(std::string_view name) const {
        window_->SetControlAccessibleName(id_, name);
    }

  protected:
    Window* window_;
    int id_;
};

class Static : public Control {
  public:
    using Control::Control;
    void SetFont(const TextFont& font) const { window_->SetControlFont(id_, font); }
};

/// A line of text whose parts are marked (`MarkedRun`), with a name for screen readers that
/// says in words what the marks show.
class MarkedText : public Static {
  public:
    using Static::Static;
    void SetRuns(std::span<const MarkedRun> runs) const {
        window_->SetControlMarkedText(id_, runs);
    }
};

/// A picture the program draws from shapes, with a name for screen readers that says what it
/// shows (its numbers belong in a table beside it, where a reader can go through them).
class PictureBox : public Control {
  public:
    using Control::Control;
    void SetPicture(const Picture& picture) const { window_->SetControlPicture(id_, picture); }
    /// The size the picture is drawn at now, for the shapes of the next one.
    Rect Size() const { return window_->ControlPosition(id_); }
};

class Button : public Control {
  public:
    using Control::Control;
};

class Edit : public Control {
  public:
    using Control::Control;
    /// Selects characters `start` up to `end` (-1: to the end of the text).
    void SetSelection(int start, int end) const { window_->SelectEditText(id_, start, end); }
    /// Lets the user type at most `characters` characters as a person counts them (grapheme
    /// clusters) and `bytes` bytes of UTF-8; what would go beyond is not taken.
    void LimitText(std::size_t characters, std::size_t bytes) const {
        window_->LimitEditText(id_, characters, bytes);
    }
    /// The face and size of the text typed (a card's side in the learning view).
    void SetFont(const TextFont& font) const { window_->SetControlFont(id_, font); }
};

/// A list box or a combo box: lines of text. What a line stands for is its owner's to keep.
class LineList : public Control {
  public:
    using Control::Control;
    void Clear() const { window_->ClearLines(id_); }
    int AddString(std::string_view text) const { return window_->AddLine(id_, text); }
    int Count() const { return window_->LineCount(id_); }
    std::string LineText(int line) const { return window_->LineText(id_, line); }
    void SetSelIndex(int line) const { window_->SelectLine(id_, line); }
    int GetSelIndex() const { return window_->SelectedLine(id_); }
    std::vector<int> GetSelIndexes() const { return window_->SelectedLines(id_); }
};

class ListBox : public LineList {
  public:
    using LineList::LineList;
    /// `count` lines whose texts `source` gives as they are shown, in place of the lines held.
    void SetLines(int count, LineSource source) const {
        window_->SetLines(id_, count, std::move(source));
    }
};

class ComboBox : public LineList {
  public:
    using LineList::LineList;
};

/// Rows of cells in columns with headers; what a row stands for is its owner's to keep.
class Table : public Control {
  public:
    using Control::Control;
    void SetColumns(std::span<const TableColumn> columns) const {
        window_->SetTableColumns(id_, columns);
    }
    /// `count` rows whose cells `source` gives as they are shown.
    void SetRows(int count, CellSource source) const {
        window_->SetTableRows(id_, count, std::move(source));
    }
    int Count() const { return window_->LineCount(id_); }
    std::vector<int> ColumnWidths() const { return window_->TableColumnWidths(id_); }
    void SetSortIndicator(int column, bool descending) const {
        window_->SetTableSortIndicator(id_, column, descending);
    }
    int ClickedColumn() const { return window_->ClickedTableColumn(id_); }
    void SelectRows(std::span<const int> rows) const { window_->SelectTableRows(id_, rows); }
    std::vector<int> SelectedRows() const { return window_->SelectedLines(id_); }
    /// The current row: the first selected one, or -1.
    int CurrentRow() const { return window_->SelectedLine(id_); }
};

class CheckBox : public Control {
  public:
    using Control::Control;
    void SetChecked(bool checked) const { window_->SetControlChecked(id_, checked); }
    bool IsChecked() const { return window_->IsControlChecked(id_); }
};

}  // namespace tallyfold::platform
