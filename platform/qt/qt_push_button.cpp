#include "platform/qt/qt_push_button.h"

#include <QPainter>
#include <QPen>

namespace tallyfold::platform::qt {

void PushButton::paintEvent(QPaintEvent* event) {
    QPushButton::paintEvent(event);
    if (!hasFocus()) {
        return;
    }
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    // Two device-independent pixels: seen at every scale, clear of the text.
    const qreal width = 2.0;
    painter.setPen(QPen(palette().color(QPalette::Active, QPalette::Highlight), width));
    painter.setBrush(Qt::NoBrush);
    const qreal inset = width / 2 + 1;
    painter.drawRoundedRect(QRectF(rect()).adjusted(inset, inset, -inset, -inset), 3, 3);
}

}  // namespace tallyfold::platform::qt
