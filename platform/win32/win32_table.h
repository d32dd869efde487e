#pragma once

// A table control as the Windows list view draws it: report view in owner-data mode, so the
// list holds no rows of its own and asks for each cell as it draws it (LVN_GETDISPINFO).

#include <windows.h>

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/backend.h"
#include "platform/window.h"

namespace tallyfold::platform::win32 {

class ListViewTable {
  public:
    /// Takes over the list view `control`, made with the styles of a table.
    explicit ListViewTable(HWND control);

    void SetColumns(std::span<const TableColumn> columns);
    void SetRows(int count, CellSource source);
    int Count() const { return count_; }
    std::string Cell(int row, int column) const;
    /// A row's cells, separated by tabs.
    std::string RowText(int row) const;
    std::vector<int> ColumnWidths() const;
    void SetSortIndicator(int column, bool descending);
    int ClickedColumn() const { return clickedColumn_; }
    /// Selects exactly `rows` (ascending), the first one focused; tells nobody.
    void SelectRows(std::span<const int> rows);
    std::vector<int> SelectedRows() const;

    /// Answers the list view's WM_NOTIFY: a cell's text, and what the user did, as the
    /// notification the owner is to be told. A click selects and deselects rows one message
    /// each: the first change of the selection gives `SelectionChanged`, which the owner tells
    /// once the messages of the batch are over (`TakeSelectionChange`), the others nothing.
    std::optional<Notification> Notify(NMHDR& header, LRESULT& result);
    /// Whether a change of the selection waits to be told; it is told then.
    bool TakeSelectionChange();

  private:
    void SelectNone();

    HWND control_;
    int count_ = 0;
    CellSource source_;
    std::vector<TableColumn> columns_;
    int clickedColumn_ = -1;
    bool quiet_ = false;
    bool selectionChanged_ = false;
    // The text of the cell asked for last: the list view reads it after the answer.
    std::wstring cell_;
};

}  // namespace tallyfold::platform::win32
