#pragma once

// Texts cross between the program (UTF-8) and Qt (UTF-16) only here, and so do the names of
// files (the file system's bytes).

#include <QFont>
#include <QSizeF>
#include <QString>
#include <QValidator>
#include <cstddef>
#include <string>
#include <string_view>

#include "platform/text_font.h"
#include "table/file_path.h"

namespace tallyfold::platform::qt {

QString FromUtf8(std::string_view text);
/// A lone surrogate, which no UTF-8 holds, becomes "?".
std::string ToUtf8(const QString& text);

/// A file name as Qt shows it, decoded as the file system encodes names.
QString FromPath(const FilePath& path);
FilePath ToPath(const QString& path);

/// `base` with the face and the size `chosen` names, where it names them.
QFont FontOf(const QFont& base, const TextFont& chosen);

/// `font`, or where `text` in it would be wider or taller than `room`, the same font smaller
/// until it fits (6 points at the least).
QFont FittedFont(QFont font, const QString& text, const QSizeF& room);

/// Refuses input beyond a number of characters as a person counts them (grapheme clusters) and
/// of bytes of UTF-8. `QLineEdit`'s own limit counts UTF-16 units: "中" is one, an emoji with a
/// skin tone four, "é" typed as a letter and a mark two.
class TextLimitValidator : public QValidator {
  public:
    TextLimitValidator(std::size_t characters, std::size_t bytes, QObject* parent);
    State validate(QString& input, int& position) const override;

  private:
    std::size_t characters_;
    std::size_t bytes_;
};

}  // namespace tallyfold::platform::qt
