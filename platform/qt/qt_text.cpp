#include "platform/qt/qt_text.h"

#include <QFile>

#include "table/windows1252.h"

namespace tallyfold::platform::qt {

QString FromWindows1252(std::string_view text) {
    QString out;
    out.reserve(static_cast<qsizetype>(text.size()));
    for (const char c : text) {
        out += QChar(static_cast<char16_t>(CodePointOfWindows1252(static_cast<unsigned char>(c))));
    }
    return out;
}

std::string ToWindows1252(const QString& text) {
    std::string out;
    out.reserve(static_cast<std::size_t>(text.size()));
    for (const QChar c : text) {
        const auto byte = Windows1252OfCodePoint(c.unicode());
        out += byte ? static_cast<char>(*byte) : '?';
    }
    return out;
}

bool FitsWindows1252(const QString& text) {
    for (const QChar c : text) {
        if (!Windows1252OfCodePoint(c.unicode())) {
            return false;
        }
    }
    return true;
}

QValidator::State Windows1252Validator::validate(QString& input, int& /*position*/) const {
    return FitsWindows1252(input) ? Acceptable : Invalid;
}

QString FromPath(const FilePath& path) {
    return QFile::decodeName(QByteArray::fromStdString(path.Bytes()));
}

FilePath ToPath(const QString& path) {
    return FilePath(QFile::encodeName(path).toStdString());
}

}  // namespace tallyfold::platform::qt
