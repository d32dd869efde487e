#include "platform/qt/qt_text.h"

#include <QFile>

#include "text/graphemes.h"

namespace tallyfold::platform::qt {

QString FromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string ToUtf8(const QString& text) {
    return text.toUtf8().toStdString();
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
