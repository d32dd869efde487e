#pragma once

#include <QAbstractListModel>
#include <QStringList>
#include <functional>
#include <string>

namespace tallyfold::platform::qt {

/// The lines of a list box: either lines added one by one, or a count of lines whose texts the
/// list's owner gives when the view draws them. A list of a million lines then costs the view
/// the lines on screen, not the lines in the list.
class LineModel : public QAbstractListModel {
  public:
    using LineSource = std::function<std::string(int line)>;

    explicit LineModel(QObject* parent) : QAbstractListModel(parent) {}

    void Clear();
    void Append(const QString& text);
    /// `count` lines given by `source`, in place of every line held.
    void SetSource(int count, LineSource source);
    QString Text(int line) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;

  private:
    QStringList lines_;
    LineSource source_;
    int sourceCount_ = 0;
};

}  // namespace tallyfold::platform::qt
