#pragma once

// A dialog with a table, a check box and an edit that tells its changes, which writes down what
// reaches it: for the tests of the table control on each backend.

#include <string>
#include <utility>
#include <vector>

#include "platform/controls.h"
#include "platform/dialog.h"

namespace tallyfold::testing {

inline constexpr int kTable = 20;
inline constexpr int kStrict = 21;
inline constexpr int kSearch = 22;
// The commands of the dialog's keys: Ctrl+Z anywhere but in the edit, Del in the table.
inline constexpr int kUndoKey = 30;
inline constexpr int kDeleteKey = 31;

inline const platform::DialogTemplate& TableTemplate() {
    using platform::ControlKind;
    namespace style = platform::style;
    static const platform::DialogTemplate dialog{
        901,
        "Table",
        {0, 0, 200, 120},
        "MS Sans Serif",
        8,
        false,
        {{kSearch, ControlKind::Edit, "", {1, 1, 80, 12}, style::kTabStop | style::kNotify},
         {kStrict, ControlKind::CheckBox, "&Strict", {90, 1, 60, 12}, style::kTabStop},
         {kTable,
          ControlKind::Table,
          "",
          {1, 20, 190, 90},
          style::kExtendedSelection | style::kTabStop},
         {2, ControlKind::Button, "Close", {150, 1, 40, 14}, 0}},
        0,
        {{"Ctrl+Z", kUndoKey}, {"Del", kDeleteKey, kTable}}};
    return dialog;
}

// Rows whose cells the dialog gives; what the user does reaches it as notifications.
class TableDialog : public platform::Dialog {
  public:
    TableDialog(platform::Window& parent, int rows, platform::CellSource cells)
        : Dialog(parent, TableTemplate()), rows_(rows), cells_(std::move(cells)) {
        using platform::Notification;
        OnNotify(kTable, Notification::ColumnClicked, &TableDialog::ColumnClicked);
        OnNotify(kTable, Notification::SelectionChanged, &TableDialog::SelectionChanged);
        OnNotify(kTable, Notification::DoubleClicked, &TableDialog::Activated);
        OnNotify(kSearch, Notification::TextChanged, &TableDialog::SearchChanged);
        OnCommand(kStrict, &TableDialog::StrictClicked);
        OnCommand(kUndoKey, &TableDialog::UndoKey);
        OnCommand(kDeleteKey, &TableDialog::DeleteKey);
    }
    void SetupWindow() override {
        const std::vector<platform::TableColumn> columns = {{"Question", 120}, {"Known", 40, true}};
        table.SetColumns(columns);
        table.SetRows(rows_, cells_);
        SetControlText(kSearch, "written by the program");
    }

    platform::Table table{*this, kTable};
    std::vector<std::string> events;

  private:
    void ColumnClicked() { events.push_back("column " + std::to_string(table.ClickedColumn())); }
    void SelectionChanged() { events.push_back("selection"); }
    void UndoKey() { events.push_back("undo"); }
    void DeleteKey() { events.push_back("delete"); }
    void Activated() { events.push_back("activated " + std::to_string(table.CurrentRow())); }
    void SearchChanged() { events.push_back("search " + ControlText(kSearch)); }
    void StrictClicked() {
        events.push_back(platform::CheckBox(*this, kStrict).IsChecked() ? "strict on"
                                                                        : "strict off");
    }

    int rows_;
    platform::CellSource cells_;
};

}  // namespace tallyfold::testing
