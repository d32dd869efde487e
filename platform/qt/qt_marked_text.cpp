#include "platform/qt/qt_marked_text.h"

#include <QPainter>
#include <QPalette>
#include <algorithm>
#include <cmath>

#include "platform/qt/qt_text.h"

namespace tallyfold::platform::qt {

namespace {

QTextCharFormat::UnderlineStyle UnderlineOf(MarkLine line) {
    switch (line) {
        case MarkLine::Solid:
            return QTextCharFormat::SingleUnderline;
        case MarkLine::Dotted:
            return QTextCharFormat::DotLine;
        case MarkLine::Dashed:
            return QTextCharFormat::DashUnderline;
        case MarkLine::None:
        case MarkLine::Through:
            break;
    }
    return QTextCharFormat::NoUnderline;
}

}  // namespace

QColor ToQColor(MarkColour colour) {
    return {colour.red, colour.green, colour.blue};
}

MarkColour ToMarkColour(const QColor& colour) {
    return {static_cast<std::uint8_t>(colour.red()), static_cast<std::uint8_t>(colour.green()),
            static_cast<std::uint8_t>(colour.blue())};
}

MarkedTextView::MarkedTextView(QWidget* parent) : QWidget(parent) {
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);
    setForegroundRole(QPalette::Text);
}

void MarkedTextView::SetRuns(std::span<const MarkedRun> runs) {
    text_.clear();
    marks_.clear();
    ranges_.clear();
    for (const MarkedRun& run : runs) {
        const QString part = FromUtf8(run.text);
        QTextLayout::FormatRange range;
        range.start = static_cast<int>(text_.size());
        range.length = static_cast<int>(part.size());
        text_ += part;
        ranges_.push_back(range);
        marks_.push_back(run.mark);
    }
    update();
}

void MarkedTextView::SetChosenFont(std::optional<QFont> font) {
    chosen_ = std::move(font);
    update();
}

QFont MarkedTextView::FittingFont() const {
    return FittedFont(chosen_.value_or(font()), text_, QSizeF(width() - 4, height()));
}

void MarkedTextView::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    const QColor text =
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::Text);
    const bool dark = IsDark(ToMarkColour(palette().color(QPalette::Base)));
    QList<QTextLayout::FormatRange> formats;
    for (std::size_t part = 0; part < ranges_.size(); ++part) {
        QTextLayout::FormatRange range = ranges_[part];
        const MarkLook look = LookOf(marks_[part], dark);
        range.format.setForeground(look.textColour ? text : ToQColor(look.colour));
        range.format.setUnderlineStyle(UnderlineOf(look.line));
        range.format.setFontStrikeOut(look.line == MarkLine::Through);
        formats.push_back(range);
    }
    QTextLayout layout(text_, FittingFont());
    // Centred across the widget, in the direction of the text: an Arabic answer reads from the
    // right, its marks with it.
    QTextOption option(Qt::AlignHCenter);
    option.setWrapMode(QTextOption::NoWrap);
    layout.setTextOption(option);
    layout.setFormats(formats);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    if (line.isValid()) {
        line.setLineWidth(std::max(width() - 4, 1));
    }
    layout.endLayout();
    if (!line.isValid()) {
        return;
    }
    painter.setPen(text);
    layout.draw(&painter, QPointF(2, (height() - line.height()) / 2));
}

}  // namespace tallyfold::platform::qt
