#pragma once

#include <QAbstractTableModel>
#include <QTableView>
#include <functional>
#include <span>
#include <vector>

#include "platform/backend.h"

namespace tallyfold::platform::qt {

/// A table's rows as Qt's views read them: cells asked of their owner when they are drawn, so a
/// million rows cost what the screen shows.
class TableModel : public QAbstractTableModel {
    Q_OBJECT

  public:
    using QAbstractTableModel::QAbstractTableModel;

    void SetColumns(std::span<const TableColumn> columns);
    void SetRows(int count, CellSource source);
    const std::vector<TableColumn>& Columns() const { return columns_; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  private:
    std::vector<TableColumn> columns_;
    int count_ = 0;
    CellSource source_;
};

/// A table control: rows of cells under clickable headers, one row or several selected. Only
/// what the user does is told (`SetOnSelectionChanged`, `SetOnActivated`, `SetOnColumnClicked`).
class TableView : public QTableView {
    Q_OBJECT

  public:
    TableView(QWidget* parent, bool severalRows);

    TableModel& Model() { return model_; }
    const TableModel& Model() const { return model_; }
    void SetColumns(std::span<const TableColumn> columns);
    void SetRows(int count, CellSource source);
    /// Selects exactly `rows` (ascending), the first one current; tells nobody.
    void SelectRows(std::span<const int> rows);
    std::vector<int> SelectedRows() const;
    /// The first selected row, or -1, without listing the others.
    int FirstSelectedRow() const;
    int ClickedColumn() const { return clickedColumn_; }

    void SetOnSelectionChanged(std::function<void()> handler) { onSelection_ = std::move(handler); }
    void SetOnActivated(std::function<void()> handler) { onActivated_ = std::move(handler); }
    void SetOnColumnClicked(std::function<void()> handler) { onColumn_ = std::move(handler); }

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    TableModel model_;
    int clickedColumn_ = -1;
    bool quiet_ = false;
    std::function<void()> onSelection_;
    std::function<void()> onActivated_;
    std::function<void()> onColumn_;
};

}  // namespace tallyfold::platform::qt
