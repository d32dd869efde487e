#include "platform/qt/qt_window_peer.h"

#include <algorithm>
#include <utility>

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <cmath>

#include "platform/qt/qt_line_list.h"
#include "platform/qt/qt_marked_text.h"
#include "platform/qt/qt_picture.h"
#include "platform/qt/qt_push_button.h"
#include "platform/qt/qt_table.h"
#include "platform/qt/qt_text.h"

namespace tallyfold::platform::qt {

namespace {

// The lines of a list box, or nullptr for any other control.
LineListView* ListOf(QWidget* widget) {
    return qobject_cast<LineListView*>(widget);
}

TableView* TableOf(QWidget* widget) {
    return qobject_cast<TableView*>(widget);
}

}  // namespace

namespace {

int Scale(int units, int base, int divisor) {
    return static_cast<int>(std::lround(static_cast<double>(units) * base / divisor));
}

Qt::Alignment AlignmentOf(unsigned controlStyle) {
    if ((controlStyle & style::kCenter) != 0) {
        return Qt::AlignCenter;
    }
    if ((controlStyle & style::kRight) != 0) {
        return Qt::AlignRight | Qt::AlignVCenter;
    }
    return Qt::AlignLeft | Qt::AlignVCenter;
}

}  // namespace

DialogBaseUnits BaseUnitsOf(const QFont& font) {
    const QFontMetrics metrics(font);
    static const QString kAlphabet =
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    const int width = (metrics.horizontalAdvance(kAlphabet) / 26 + 1) / 2;
    return {width, metrics.height()};
}

QRect ToPixels(const Rect& units, const DialogBaseUnits& base) {
    return {Scale(units.x, base.width, 4), Scale(units.y, base.height, 8),
            Scale(units.width, base.width, 4), Scale(units.height, base.height, 8)};
}

QWidget* QtWindowPeer::CreateWidget(const ControlTemplate& control) {
    const int id = control.id;
    Window* window = window_;
    switch (control.kind) {
        case ControlKind::Static: {
            auto* label = new QLabel(container_);
            label->setTextFormat(Qt::PlainText);
            label->setText(FromUtf8(control.text));
            label->setAlignment(AlignmentOf(control.style));
            if ((control.style & style::kTextBackground) != 0) {
                label->setAutoFillBackground(true);
                label->setBackgroundRole(QPalette::Base);
                label->setForegroundRole(QPalette::Text);
            }
            if ((control.style & style::kSunken) != 0) {
                label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
            } else if ((control.style & style::kBorder) != 0) {
                label->setFrameStyle(QFrame::Box | QFrame::Plain);
            }
            return label;
        }
        case ControlKind::Button: {
            auto* button = new PushButton(FromUtf8(control.text), container_);
            button->setDefault((control.style & style::kDefaultButton) != 0);
            QObject::connect(button, &QPushButton::clicked,
                             [window, id] { window->Dispatch(id, Notification::Clicked); });
            return button;
        }
        case ControlKind::Edit: {
            auto* edit = new QLineEdit(FromUtf8(control.text), container_);
            edit->setFrame((control.style & style::kBorder) != 0);
            if ((control.style & style::kNotify) != 0) {
                // What the user types only, not what the program writes.
                QObject::connect(edit, &QLineEdit::textEdited,
                                 [window, id] { window->Dispatch(id, Notification::TextChanged); });
            }
            return edit;
        }
        case ControlKind::CheckBox: {
            auto* box = new QCheckBox(FromUtf8(control.text), container_);
            QObject::connect(box, &QCheckBox::clicked,
                             [window, id] { window->Dispatch(id, Notification::Clicked); });
            return box;
        }
        case ControlKind::Table: {
            auto* table =
                new TableView(container_, (control.style & style::kExtendedSelection) != 0);
            table->SetOnSelectionChanged(
                [window, id] { window->Dispatch(id, Notification::SelectionChanged); });
            table->SetOnActivated(
                [window, id] { window->Dispatch(id, Notification::DoubleClicked); });
            table->SetOnColumnClicked(
                [window, id] { window->Dispatch(id, Notification::ColumnClicked); });
            return table;
        }
        case ControlKind::ListBox: {
            // A list that draws the lines on screen only: a million lines cost what it shows.
            auto* list =
                new LineListView(container_, (control.style & style::kExtendedSelection) != 0);
            list->setFrameShape((control.style & style::kBorder) != 0 ? QFrame::StyledPanel
                                                                      : QFrame::NoFrame);
            if ((control.style & style::kNotify) != 0) {
                list->SetOnSelectionChanged(
                    [window, id] { window->Dispatch(id, Notification::SelectionChanged); });
                list->SetOnActivated(
                    [window, id] { window->Dispatch(id, Notification::DoubleClicked); });
            }
            return list;
        }
        case ControlKind::MarkedText:
            return new MarkedTextView(container_);
        case ControlKind::Picture:
            return new PictureView(container_);
        case ControlKind::ComboBox: {
            auto* combo = new QComboBox(container_);
            combo->setEditable(false);
            QObject::connect(combo, &QComboBox::activated, [window, id] {
                window->Dispatch(id, Notification::SelectionChanged);
            });
            return combo;
        }
    }
    return nullptr;
}

void QtWindowPeer::AddControl(const ControlTemplate& control) {
    QWidget* widget = CreateWidget(control);
    int height = control.rect.height;
    if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        // A combo box's template height includes its dropped-down list; closed, it keeps its
        // own height, and the rest decides how many lines the list shows.
        height = std::min(height, combo->sizeHint().height());
        const int line = std::max(combo->fontMetrics().height(), 1);
        combo->setMaxVisibleItems(std::max((control.rect.height - height) / line, 1));
    }
    widget->setGeometry(control.rect.x, control.rect.y, control.rect.width, height);
    widget->setFocusPolicy(control.kind == ControlKind::Static ||
                                   control.kind == ControlKind::MarkedText ||
                                   control.kind == ControlKind::Picture
                               ? Qt::NoFocus
                               : Qt::StrongFocus);
    widget->show();
    if (control.id == kNoControlId) {
        labels_.push_back(widget);
    } else {
        controls_[control.id] = Entry{control.kind, control.style, widget};
    }
}

const QtWindowPeer::Entry* QtWindowPeer::Find(int id) const {
    auto found = controls_.find(id);
    return found != controls_.end() ? &found->second : nullptr;
}

QWidget* QtWindowPeer::Widget(int id) const {
    const Entry* entry = Find(id);
    return entry != nullptr ? entry->widget : nullptr;
}

void QtWindowPeer::SetText(int id, std::string_view text) {
    const Entry* entry = Find(id);
    if (entry == nullptr) {
        return;
    }
    const QString value = FromUtf8(text);
    if (auto* label = qobject_cast<QLabel*>(entry->widget)) {
        label->setText(value);
        FitFont(id);
    } else if (auto* button = qobject_cast<QPushButton*>(entry->widget)) {
        button->setText(value);
    } else if (auto* edit = qobject_cast<QLineEdit*>(entry->widget)) {
        edit->setText(value);
    }
}

std::string QtWindowPeer::Text(int id) const {
    const Entry* entry = Find(id);
    if (entry == nullptr) {
        return {};
    }
    if (auto* label = qobject_cast<QLabel*>(entry->widget)) {
        return ToUtf8(label->text());
    }
    if (auto* button = qobject_cast<QPushButton*>(entry->widget)) {
        return ToUtf8(button->text());
    }
    if (auto* edit = qobject_cast<QLineEdit*>(entry->widget)) {
        return ToUtf8(edit->text());
    }
    if (auto* combo = qobject_cast<QComboBox*>(entry->widget)) {
        return ToUtf8(combo->currentText());
    }
    if (auto* marked = qobject_cast<MarkedTextView*>(entry->widget)) {
        return ToUtf8(marked->Text());
    }
    return {};
}

void QtWindowPeer::SetEnabled(int id, bool enabled) {
    if (QWidget* widget = Widget(id)) {
        widget->setEnabled(enabled);
    }
}

bool QtWindowPeer::IsEnabled(int id) const {
    const QWidget* widget = Widget(id);
    return widget != nullptr && widget->isEnabled();
}

void QtWindowPeer::Move(int id, const Rect& rect) {
    if (QWidget* widget = Widget(id)) {
        widget->setGeometry(rect.x, rect.y, std::max(rect.width, 0), std::max(rect.height, 0));
        FitFont(id);
    }
}

Rect QtWindowPeer::Position(int id) const {
    const QWidget* widget = Widget(id);
    if (widget == nullptr) {
        return {};
    }
    const QRect geometry = widget->geometry();
    return {geometry.x(), geometry.y(), geometry.width(), geometry.height()};
}

void QtWindowPeer::SetFocus(int id) {
    if (QWidget* widget = Widget(id)) {
        widget->setFocus(Qt::OtherFocusReason);
    }
}

void QtWindowPeer::LimitText(int id, std::size_t characters, std::size_t bytes) {
    if (auto* edit = qobject_cast<QLineEdit*>(Widget(id))) {
        edit->setValidator(new TextLimitValidator(characters, bytes, edit));
    }
}

void QtWindowPeer::SelectText(int id, int start, int end) {
    if (auto* edit = qobject_cast<QLineEdit*>(Widget(id))) {
        const int length = static_cast<int>(edit->text().size());
        const int from = std::clamp(start, 0, length);
        const int to = end < 0 ? length : std::clamp(end, from, length);
        edit->setSelection(from, to - from);
    }
}

void QtWindowPeer::SetTextFont(int id, const TextFont& font) {
    QWidget* widget = Widget(id);
    if (qobject_cast<QLabel*>(widget) != nullptr) {
        fonts_[id] = font;
        FitFont(id);
    } else if (auto* marked = qobject_cast<MarkedTextView*>(widget)) {
        marked->SetChosenFont(FontOf(container_->font(), font));
    } else if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        edit->setFont(FontOf(container_->font(), font));
    }
}

void QtWindowPeer::SetVisible(int id, bool visible) {
    if (QWidget* widget = Widget(id)) {
        widget->setVisible(visible);
    }
}

bool QtWindowPeer::IsVisible(int id) const {
    const QWidget* widget = Widget(id);
    return widget != nullptr && !widget->isHidden();
}

void QtWindowPeer::SetPicture(int id, const Picture& picture) {
    if (auto* view = qobject_cast<PictureView*>(Widget(id))) {
        view->SetPicture(picture);
    }
}

void QtWindowPeer::SetMarkedText(int id, std::span<const MarkedRun> runs) {
    if (auto* marked = qobject_cast<MarkedTextView*>(Widget(id))) {
        marked->SetRuns(runs);
    }
}

void QtWindowPeer::SetAccessibleName(int id, std::string_view name) {
    if (QWidget* widget = Widget(id)) {
        widget->setAccessibleName(FromUtf8(name));
    }
}

void QtWindowPeer::FitFont(int id) {
    const auto chosen = fonts_.find(id);
    auto* label = qobject_cast<QLabel*>(Widget(id));
    if (chosen == fonts_.end() || label == nullptr) {
        return;
    }
    // A text wider or taller than the label at the chosen size is drawn smaller until it fits.
    const QRectF room = QRectF(label->contentsRect()).adjusted(2, 0, -2, 0);
    label->setFont(
        FittedFont(FontOf(container_->font(), chosen->second), label->text(), room.size()));
}

void QtWindowPeer::ClearLines(int id) {
    QWidget* widget = Widget(id);
    const QSignalBlocker quiet(widget);
    if (LineListView* list = ListOf(widget)) {
        list->Clear();
    } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        combo->clear();
    }
}

void QtWindowPeer::SetLines(int id, int count, LineSource source) {
    if (LineListView* list = ListOf(Widget(id))) {
        list->SetSource(count, std::move(source));
    }
}

void QtWindowPeer::AddLine(int id, std::string_view text) {
    QWidget* widget = Widget(id);
    const QSignalBlocker quiet(widget);
    if (LineListView* list = ListOf(widget)) {
        list->Append(FromUtf8(text));
    } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        combo->addItem(FromUtf8(text));
        combo->setCurrentIndex(-1);
    }
}

int QtWindowPeer::LineCount(int id) const {
    QWidget* widget = Widget(id);
    if (const LineListView* list = ListOf(widget)) {
        return list->Count();
    }
    if (const TableView* table = TableOf(widget)) {
        return table->Model().rowCount();
    }
    if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        return combo->count();
    }
    return 0;
}

std::string QtWindowPeer::LineText(int id, int line) const {
    QWidget* widget = Widget(id);
    if (const LineListView* list = ListOf(widget)) {
        return ToUtf8(list->Text(line));
    }
    if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        return line >= 0 && line < combo->count() ? ToUtf8(combo->itemText(line)) : std::string();
    }
    return {};
}

void QtWindowPeer::Select(int id, int line) {
    QWidget* widget = Widget(id);
    const QSignalBlocker quiet(widget);
    if (LineListView* list = ListOf(widget)) {
        list->SelectOnly(line);
    } else if (TableView* table = TableOf(widget)) {
        table->SelectRows(std::span<const int>(&line, 1));
    } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        combo->setCurrentIndex(line >= 0 && line < combo->count() ? line : -1);
    }
}

int QtWindowPeer::Selected(int id) const {
    if (auto* combo = qobject_cast<QComboBox*>(Widget(id))) {
        return combo->currentIndex();
    }
    if (const TableView* table = TableOf(Widget(id))) {
        return table->FirstSelectedRow();
    }
    const LineListView* list = ListOf(Widget(id));
    return list != nullptr ? list->FirstSelected() : -1;
}

std::vector<int> QtWindowPeer::SelectedLines(int id) const {
    if (const LineListView* list = ListOf(Widget(id))) {
        return list->SelectedLines();
    }
    if (const TableView* table = TableOf(Widget(id))) {
        return table->SelectedRows();
    }
    return {};
}

void QtWindowPeer::SetColumns(int id, std::span<const TableColumn> columns) {
    if (TableView* table = TableOf(Widget(id))) {
        table->SetColumns(columns);
    }
}

void QtWindowPeer::SetRows(int id, int count, CellSource source) {
    if (TableView* table = TableOf(Widget(id))) {
        table->SetRows(count, std::move(source));
    }
}

std::vector<int> QtWindowPeer::ColumnWidths(int id) const {
    std::vector<int> widths;
    if (const TableView* table = TableOf(Widget(id))) {
        for (int column = 0; column < table->Model().columnCount(); ++column) {
            widths.push_back(table->columnWidth(column));
        }
    }
    return widths;
}

void QtWindowPeer::SetSortIndicator(int id, int column, bool descending) {
    if (TableView* table = TableOf(Widget(id))) {
        QHeaderView* header = table->horizontalHeader();
        header->setSortIndicatorShown(column >= 0);
        header->setSortIndicator(column, descending ? Qt::DescendingOrder : Qt::AscendingOrder);
    }
}

int QtWindowPeer::ClickedColumn(int id) const {
    const TableView* table = TableOf(Widget(id));
    return table != nullptr ? table->ClickedColumn() : -1;
}

void QtWindowPeer::SelectRows(int id, std::span<const int> rows) {
    if (TableView* table = TableOf(Widget(id))) {
        table->SelectRows(rows);
    }
}

void QtWindowPeer::SetChecked(int id, bool checked) {
    if (auto* box = qobject_cast<QCheckBox*>(Widget(id))) {
        box->setChecked(checked);
    }
}

bool QtWindowPeer::IsChecked(int id) const {
    const auto* box = qobject_cast<QCheckBox*>(Widget(id));
    return box != nullptr && box->isChecked();
}

void QtWindowPeer::EndModal(DialogResult result) {
    if (auto* dialog = qobject_cast<QDialog*>(container_)) {
        result_ = result;
        dialog->done(result == DialogResult::Ok ? QDialog::Accepted : QDialog::Rejected);
    }
}

}  // namespace tallyfold::platform::qt
