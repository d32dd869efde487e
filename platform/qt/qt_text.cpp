#include "platform/qt/qt_text.h"

#include <QFile>
#include <QFontMetricsF>
#include <algorithm>
#include <cmath>

#include "text/graphemes.h"

namespace tallyfold::platform::qt {

QString FromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string ToUtf8(const QString& text) {
    return text.toUtf8().toStdString();
}

QFont FontOf(const QFont& base, const TextFont& chosen) {
    QFont font = base;
    if (!chosen.family.empty()) {
        font.setFamily(FromUtf8(chosen.family));
    }
    if (chosen.points > 0) {
        font.setPointSizeF(chosen.points);
    }
    return font;
}

QFont FittedFont(QFont font, const QString& text, const QSizeF& room) {
    // Glyphs grow nearly in proportion to the size, so one step and a check suffice.
    constexpr double kSmallest = 6;
    double points = font.pointSizeF() > 0 ? font.pointSizeF() : 10;
    for (int step = 0; step < 3 && points > kSmallest; ++step) {
        const QFontMetricsF metrics(font);
        const double width = metrics.horizontalAdvance(text);
        const double height = metrics.height();
        if (width <= room.width() && height <= room.height()) {
            break;
        }
        const double scale = std::min(width > 0 ? room.width() / width : 1.0,
                                      height > 0 ? room.height() / height : 1.0);
        points = std::max(kSmallest, std::floor(points * std::min(scale, 0.95) * 2) / 2);
        font.setPointSizeF(points);
    }
    return font;
}

TextLimitValidator::TextLimitValidator(std::size_t characters, std::size_t bytes, QObject* parent)
    : QValidator(parent), characters_(characters), bytes_(bytes) {}

QValidator::State TextLimitValidator::validate(QString& input, int& /*position*/) const {
    const std::string text = ToUtf8(input);
    return unicode::BytesWithin(text, characters_, bytes_) == text.size() ? Acceptable : Invalid;
}

QString FromPath(const FilePath& path) {
    return QFile::decodeName(QByteArray::fromStdString(path.Bytes()));
}

FilePath ToPath(const QString& path) {
    return FilePath(QFile::encodeName(path).toStdString());
}

}  // namespace tallyfold::platform::qt
