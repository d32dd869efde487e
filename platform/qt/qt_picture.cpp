#include "platform/qt/qt_picture.h"

#include <QPainter>
#include <QPalette>

#include "platform/qt/qt_marked_text.h"
#include "platform/qt/qt_text.h"

namespace tallyfold::platform::qt {

namespace {

Qt::Alignment AlignmentOf(PictureAlign align) {
    switch (align) {
        case PictureAlign::Start:
            return Qt::AlignLeading | Qt::AlignVCenter;
        case PictureAlign::Center:
            return Qt::AlignCenter;
        case PictureAlign::End:
            return Qt::AlignTrailing | Qt::AlignVCenter;
    }
    return Qt::AlignCenter;
}

}  // namespace

PictureView::PictureView(QWidget* parent) : QWidget(parent) {
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);
}

void PictureView::SetPicture(Picture picture) {
    picture_ = std::move(picture);
    update();
}

void PictureView::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    const QPalette& colours = palette();
    const PictureColours roles{ToMarkColour(colours.color(QPalette::Text)),
                               ToMarkColour(colours.color(QPalette::Base)),
                               ToMarkColour(colours.color(QPalette::Highlight))};
    for (const PictureShape& shape : picture_.shapes) {
        if (const auto* rectangle = std::get_if<PictureRectangle>(&shape)) {
            const QColor colour = ToQColor(ColourOf(rectangle->colour, rectangle->strength, roles));
            const QRect rect(rectangle->rect.x, rectangle->rect.y, rectangle->rect.width,
                             rectangle->rect.height);
            if (rectangle->frameOnly) {
                painter.setPen(colour);
                painter.setBrush(Qt::NoBrush);
                painter.drawRect(rect.adjusted(0, 0, -1, -1));
            } else {
                painter.fillRect(rect, colour);
            }
        } else if (const auto* line = std::get_if<PictureLine>(&shape)) {
            painter.setPen(ToQColor(ColourOf(line->colour, 100, roles)));
            painter.drawLine(line->x1, line->y1, line->x2, line->y2);
        } else if (const auto* text = std::get_if<PictureText>(&shape)) {
            QFont font = this->font();
            font.setBold(text->bold);
            painter.setFont(font);
            painter.setPen(ToQColor(ColourOf(text->colour, 100, roles)));
            painter.drawText(QRect(text->rect.x, text->rect.y, text->rect.width, text->rect.height),
                             static_cast<int>(AlignmentOf(text->align)), FromUtf8(text->text));
        }
    }
}

}  // namespace tallyfold::platform::qt
