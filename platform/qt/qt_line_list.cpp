#include "platform/qt/qt_line_list.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <algorithm>
#include <utility>

#include "platform/qt/qt_text.h"

namespace tallyfold::platform::qt {

namespace {

constexpr int kTextMargin = 3;

}  // namespace

LineListView::LineListView(QWidget* parent, bool severalLines)
    : QAbstractScrollArea(parent), several_(severalLines) {
    setFocusPolicy(Qt::StrongFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
    verticalScrollBar()->setSingleStep(1);
    UpdateScrollRange();
}

void LineListView::Clear() {
    lines_.clear();
    source_ = nullptr;
    sourceCount_ = 0;
    selection_.Clear();
    current_ = -1;
    anchor_ = -1;
    UpdateScrollRange();
    viewport()->update();
}

void LineListView::Append(const QString& text) {
    if (source_) {
        return;
    }
    lines_.append(text);
    UpdateScrollRange();
    viewport()->update();
}

void LineListView::SetSource(int count, LineSource source) {
    lines_.clear();
    source_ = std::move(source);
    sourceCount_ = source_ ? std::max(count, 0) : 0;
    selection_.Clear();
    current_ = -1;
    anchor_ = -1;
    verticalScrollBar()->setValue(0);
    UpdateScrollRange();
    viewport()->update();
}

int LineListView::Count() const {
    return source_ ? sourceCount_ : static_cast<int>(lines_.size());
}

QString LineListView::Text(int line) const {
    if (line < 0 || line >= Count()) {
        return {};
    }
    return source_ ? FromUtf8(source_(line)) : lines_[line];
}

void LineListView::SelectOnly(int line) {
    selection_.Clear();
    if (line < 0 || line >= Count()) {
        current_ = -1;
        anchor_ = -1;
    } else {
        selection_.Add(line, line);
        current_ = line;
        anchor_ = line;
        ShowLine(line);
    }
    viewport()->update();
}

QRect LineListView::LineRect(int line) const {
    return {0, (line - TopLine()) * LineHeight(), viewport()->width(), LineHeight()};
}

void LineListView::Click(int line, Qt::KeyboardModifiers modifiers) {
    if (line < 0 || line >= Count()) {
        return;
    }
    if (!several_) {
        modifiers = Qt::NoModifier;
    }
    if ((modifiers & Qt::ShiftModifier) != 0 && anchor_ >= 0) {
        if ((modifiers & Qt::ControlModifier) == 0) {
            selection_.Clear();
        }
        selection_.Add(anchor_, line);
    } else if ((modifiers & Qt::ControlModifier) != 0) {
        selection_.Toggle(line);
        anchor_ = line;
    } else {
        selection_.Clear();
        selection_.Add(line, line);
        anchor_ = line;
    }
    current_ = line;
    ShowLine(line);
    Changed();
}

void LineListView::SelectAll() {
    if (!several_ || Count() == 0) {
        return;
    }
    selection_.Clear();
    selection_.Add(0, Count() - 1);
    if (current_ < 0) {
        current_ = 0;
        anchor_ = 0;
    }
    Changed();
}

QSize LineListView::sizeHint() const {
    return {160, LineHeight() * 8 + 2 * frameWidth()};
}

void LineListView::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(viewport());
    const int top = TopLine();
    const int last = std::min(Count() - 1, top + LinesOnView());
    const QPalette::ColorGroup group =
        isEnabled() ? (hasFocus() ? QPalette::Active : QPalette::Inactive) : QPalette::Disabled;
    for (int line = top; line <= last; ++line) {
        const QRect rect = LineRect(line);
        const bool selected = selection_.Contains(line);
        if (selected) {
            painter.fillRect(rect, palette().brush(group, QPalette::Highlight));
        }
        painter.setPen(
            palette().color(group, selected ? QPalette::HighlightedText : QPalette::Text));
        const QRect textRect = rect.adjusted(kTextMargin, 0, -kTextMargin, 0);
        const QString text =
            painter.fontMetrics().elidedText(Text(line), Qt::ElideRight, textRect.width());
        painter.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text);
        if (line == current_ && hasFocus()) {
            QStyleOptionFocusRect option;
            option.initFrom(this);
            option.rect = rect;
            option.backgroundColor =
                palette().color(group, selected ? QPalette::Highlight : QPalette::Base);
            style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
        }
    }
}

void LineListView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    const int line = LineAt(event->position().toPoint().y());
    if (line >= 0) {
        Click(line, event->modifiers());
    }
}

void LineListView::mouseMoveEvent(QMouseEvent* event) {
    // Dragging with the button held selects from where it was pressed.
    if ((event->buttons() & Qt::LeftButton) == 0) {
        return;
    }
    const int y = std::clamp(event->position().toPoint().y(), 0, viewport()->height() - 1);
    const int line = std::min(LineAt(y) < 0 ? Count() - 1 : LineAt(y), Count() - 1);
    if (line >= 0 && line != current_) {
        Click(line, several_ ? Qt::ShiftModifier : Qt::NoModifier);
    }
}

void LineListView::mouseDoubleClickEvent(QMouseEvent* event) {
    const int line = LineAt(event->position().toPoint().y());
    if (event->button() == Qt::LeftButton && line >= 0) {
        Click(line, Qt::NoModifier);
        if (activated_) {
            activated_();
        }
    }
}

void LineListView::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::SelectAll) && several_) {
        SelectAll();
        return;
    }
    const int count = Count();
    const int page = std::max(1, LinesOnView() - 1);
    const int from = current_ < 0 ? -1 : current_;
    int to = -2;
    switch (event->key()) {
        case Qt::Key_Up:
            to = std::max(0, from - 1);
            break;
        case Qt::Key_Down:
            to = from + 1;
            break;
        case Qt::Key_PageUp:
            to = std::max(0, from - page);
            break;
        case Qt::Key_PageDown:
            to = std::max(0, from) + page;
            break;
        case Qt::Key_Home:
            to = 0;
            break;
        case Qt::Key_End:
            to = count - 1;
            break;
        case Qt::Key_Space:
            if (current_ >= 0) {
                Click(current_, event->modifiers() & Qt::ControlModifier);
                return;
            }
            break;
        default:
            break;
    }
    if (to == -2 || count == 0) {
        // Enter, Escape and the rest are the dialog's.
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    MoveTo(std::min(to, count - 1), event->modifiers());
}

void LineListView::MoveTo(int line, Qt::KeyboardModifiers modifiers) {
    if (several_ && (modifiers & Qt::ControlModifier) != 0 &&
        (modifiers & Qt::ShiftModifier) == 0) {
        // Ctrl moves the current line alone; Space then selects there.
        current_ = line;
        ShowLine(line);
        viewport()->update();
        TellReaders();
        return;
    }
    Click(line, modifiers & Qt::ShiftModifier);
}

void LineListView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollRange();
}

void LineListView::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
}

void LineListView::focusOutEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
}

int LineListView::LineHeight() const {
    return fontMetrics().height() + 2;
}

int LineListView::LinesOnView() const {
    return std::max(1, viewport()->height() / LineHeight());
}

int LineListView::TopLine() const {
    return verticalScrollBar()->value();
}

int LineListView::LineAt(int y) const {
    if (y < 0) {
        return -1;
    }
    const int line = TopLine() + y / LineHeight();
    return line < Count() ? line : -1;
}

void LineListView::UpdateScrollRange() {
    QScrollBar* bar = verticalScrollBar();
    bar->setRange(0, std::max(0, Count() - LinesOnView()));
    bar->setPageStep(LinesOnView());
}

void LineListView::ShowLine(int line) {
    QScrollBar* bar = verticalScrollBar();
    if (line < bar->value()) {
        bar->setValue(line);
    } else if (line >= bar->value() + LinesOnView()) {
        bar->setValue(line - LinesOnView() + 1);
    }
}

void LineListView::Changed() {
    viewport()->update();
    TellReaders();
    if (selectionChanged_) {
        selectionChanged_();
    }
}

void LineListView::TellReaders() {
    if (QAccessible::isActive() && current_ >= 0) {
        QAccessibleEvent selection(this, QAccessible::Selection);
        selection.setChild(current_);
        QAccessible::updateAccessibility(&selection);
        QAccessibleEvent focus(this, QAccessible::Focus);
        focus.setChild(current_);
        QAccessible::updateAccessibility(&focus);
    }
}

}  // namespace tallyfold::platform::qt
