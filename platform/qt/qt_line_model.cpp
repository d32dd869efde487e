#include "platform/qt/qt_line_model.h"

#include <utility>

#include "platform/qt/qt_text.h"

namespace tallyfold::platform::qt {

void LineModel::Clear() {
    beginResetModel();
    lines_.clear();
    source_ = nullptr;
    sourceCount_ = 0;
    endResetModel();
}

void LineModel::Append(const QString& text) {
    if (source_) {
        return;
    }
    const int row = static_cast<int>(lines_.size());
    beginInsertRows(QModelIndex(), row, row);
    lines_.append(text);
    endInsertRows();
}

void LineModel::SetSource(int count, LineSource source) {
    beginResetModel();
    lines_.clear();
    source_ = std::move(source);
    sourceCount_ = source_ ? std::max(count, 0) : 0;
    endResetModel();
}

QString LineModel::Text(int line) const {
    if (line < 0 || line >= rowCount()) {
        return {};
    }
    return source_ ? FromWindows1252(source_(line)) : lines_[line];
}

int LineModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid()) {
        return 0;
    }
    return source_ ? sourceCount_ : static_cast<int>(lines_.size());
}

QVariant LineModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || role != Qt::DisplayRole) {
        return {};
    }
    return Text(index.row());
}

}  // namespace tallyfold::platform::qt
