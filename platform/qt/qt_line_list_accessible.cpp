// The lines of a LineListView as a screen reader sees them: the list is a list, each line an
// item of it. Line items are made when a reader asks for them and kept while the list lives.

#include <QAccessible>
#include <QAccessibleWidget>
#include <map>

#include "platform/qt/qt_line_list.h"

namespace tallyfold::platform::qt {

namespace {

class LineListAccessible : public QAccessibleWidget {
  public:
    explicit LineListAccessible(LineListView* list) : QAccessibleWidget(list, QAccessible::List) {}
    ~LineListAccessible() override {
        for (const auto& [line, id] : lines_) {
            QAccessible::deleteAccessibleInterface(id);
        }
    }
    LineListAccessible(const LineListAccessible&) = delete;
    LineListAccessible& operator=(const LineListAccessible&) = delete;

    LineListView* List() const { return static_cast<LineListView*>(widget()); }

    int childCount() const override { return List()->Count(); }
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* focusChild() const override {
        const int current = List()->CurrentLine();
        return current >= 0 ? child(current) : nullptr;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        const QPoint inside = List()->viewport()->mapFromGlobal(QPoint(x, y));
        const int line = List()->LineAt(inside.y());
        return line >= 0 && List()->viewport()->rect().contains(inside) ? child(line) : nullptr;
    }

  private:
    mutable std::map<int, QAccessible::Id> lines_;
};

class LineAccessible : public QAccessibleInterface {
  public:
    LineAccessible(const LineListAccessible* list, int line) : list_(list), line_(line) {}

    int Line() const { return line_; }

    bool isValid() const override { return line_ < list_->List()->Count(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return list_->window(); }
    QAccessibleInterface* parent() const override { return const_cast<LineListAccessible*>(list_); }
    QAccessibleInterface* child(int /*index*/) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface* /*child*/) const override { return -1; }
    QAccessibleInterface* focusChild() const override { return nullptr; }
    QAccessibleInterface* childAt(int /*x*/, int /*y*/) const override { return nullptr; }
    QString text(QAccessible::Text kind) const override {
        return kind == QAccessible::Name ? list_->List()->Text(line_) : QString();
    }
    void setText(QAccessible::Text /*kind*/, const QString& /*text*/) override {}
    QRect rect() const override {
        const QRect line = list_->List()->LineRect(line_);
        return {list_->List()->viewport()->mapToGlobal(line.topLeft()), line.size()};
    }
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    QAccessible::State state() const override {
        const LineListView* list = list_->List();
        QAccessible::State state;
        state.selectable = true;
        state.focusable = true;
        state.selected = list->IsSelected(line_);
        state.focused = list->hasFocus() && list->CurrentLine() == line_;
        state.invisible = !list->viewport()->rect().intersects(list->LineRect(line_));
        return state;
    }

  private:
    const LineListAccessible* list_;
    int line_;
};

QAccessibleInterface* LineListAccessible::child(int index) const {
    if (index < 0 || index >= childCount()) {
        return nullptr;
    }
    const auto found = lines_.find(index);
    if (found != lines_.end()) {
        return QAccessible::accessibleInterface(found->second);
    }
    auto* line = new LineAccessible(this, index);
    lines_[index] = QAccessible::registerAccessibleInterface(line);
    return line;
}

int LineListAccessible::indexOfChild(const QAccessibleInterface* child) const {
    const auto* line = dynamic_cast<const LineAccessible*>(child);
    return line != nullptr && line->parent() == this ? line->Line() : -1;
}

QAccessibleInterface* MakeLineListAccessible(const QString& /*key*/, QObject* object) {
    if (auto* list = qobject_cast<LineListView*>(object)) {
        return new LineListAccessible(list);
    }
    return nullptr;
}

}  // namespace

void InstallLineListAccessibility() {
    static const bool installed = (QAccessible::installFactory(&MakeLineListAccessible), true);
    static_cast<void>(installed);
}

}  // namespace tallyfold::platform::qt
