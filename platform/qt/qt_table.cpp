#include "platform/qt/qt_table.h"

#include <QHeaderView>
#include <QItemSelection>
#include <QKeyEvent>
#include <algorithm>

#include "platform/qt/qt_text.h"

namespace tallyfold::platform::qt {

void TableModel::SetColumns(std::span<const TableColumn> columns) {
    beginResetModel();
    columns_.assign(columns.begin(), columns.end());
    endResetModel();
}

void TableModel::SetRows(int count, CellSource source) {
    beginResetModel();
    source_ = std::move(source);
    count_ = source_ ? std::max(count, 0) : 0;
    endResetModel();
}

int TableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : count_;
}

int TableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QVariant TableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= count_ || index.column() >= columnCount()) {
        return {};
    }
    if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole) {
        return FromUtf8(source_(index.row(), index.column()));
    }
    if (role == Qt::TextAlignmentRole) {
        const bool end = columns_[static_cast<std::size_t>(index.column())].alignEnd;
        return QVariant::fromValue(Qt::AlignVCenter | (end ? Qt::AlignRight : Qt::AlignLeft));
    }
    return {};
}

QVariant TableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount() ||
        role != Qt::DisplayRole) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    return FromUtf8(columns_[static_cast<std::size_t>(section)].title);
}

TableView::TableView(QWidget* parent, bool severalRows) : QTableView(parent), model_(this) {
    setModel(&model_);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(severalRows ? QAbstractItemView::ExtendedSelection
                                 : QAbstractItemView::SingleSelection);
    setTabKeyNavigation(false);
    setWordWrap(false);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    verticalHeader()->hide();
    // Rows of one height: the view then needs no measuring of a million rows.
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    horizontalHeader()->setSectionsClickable(true);
    horizontalHeader()->setSortIndicatorShown(false);
    horizontalHeader()->setStretchLastSection(true);
    horizontalHeader()->setHighlightSections(false);
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int section) {
        clickedColumn_ = section;
        if (onColumn_) {
            onColumn_();
        }
    });
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        if (!quiet_ && onSelection_) {
            onSelection_();
        }
    });
    connect(this, &QAbstractItemView::doubleClicked, this, [this] {
        if (onActivated_) {
            onActivated_();
        }
    });
}

void TableView::SetColumns(std::span<const TableColumn> columns) {
    model_.SetColumns(columns);
    for (std::size_t column = 0; column < columns.size(); ++column) {
        setColumnWidth(static_cast<int>(column), columns[column].width);
    }
}

void TableView::SetRows(int count, CellSource source) {
    quiet_ = true;
    model_.SetRows(count, std::move(source));
    quiet_ = false;
}

void TableView::SelectRows(std::span<const int> rows) {
    quiet_ = true;
    QItemSelection selection;
    const int last = model_.columnCount() - 1;
    // Runs of following rows as one range each: half a million rows select at once.
    for (std::size_t i = 0; i < rows.size();) {
        std::size_t end = i + 1;
        while (end < rows.size() && rows[end] == rows[end - 1] + 1) {
            ++end;
        }
        if (rows[i] >= 0 && rows[end - 1] < model_.rowCount() && last >= 0) {
            selection.select(model_.index(rows[i], 0), model_.index(rows[end - 1], last));
        }
        i = end;
    }
    selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    if (!rows.empty() && rows.front() >= 0 && rows.front() < model_.rowCount()) {
        selectionModel()->setCurrentIndex(model_.index(rows.front(), 0),
                                          QItemSelectionModel::NoUpdate);
        scrollTo(model_.index(rows.front(), 0));
    }
    quiet_ = false;
}

std::vector<int> TableView::SelectedRows() const {
    std::vector<int> rows;
    for (const QItemSelectionRange& range : selectionModel()->selection()) {
        for (int row = range.top(); row <= range.bottom(); ++row) {
            rows.push_back(row);
        }
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

int TableView::FirstSelectedRow() const {
    int first = -1;
    for (const QItemSelectionRange& range : selectionModel()->selection()) {
        first = first < 0 ? range.top() : std::min(first, range.top());
    }
    return first;
}

// Enter on the table works on its current row, as a double click does; the dialog's default
// button does not take it.
void TableView::keyPressEvent(QKeyEvent* event) {
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        currentIndex().isValid()) {
        if (onActivated_) {
            onActivated_();
        }
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

}  // namespace tallyfold::platform::qt
