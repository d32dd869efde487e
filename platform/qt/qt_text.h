#pragma once

// Texts cross between the program (Windows-1252 bytes) and Qt (Unicode) only here, and so do
// the names of files (the file system's bytes).

#include <QString>
#include <QValidator>
#include <string>
#include <string_view>

#include "table/file_path.h"

namespace tallyfold::platform::qt {

QString FromWindows1252(std::string_view text);
/// Characters Windows-1252 cannot hold become "?"; edit fields never let them in.
std::string ToWindows1252(const QString& text);
bool FitsWindows1252(const QString& text);

/// A file name as Qt shows it, decoded as the file system encodes names.
QString FromPath(const FilePath& path);
FilePath ToPath(const QString& path);

/// Refuses input with characters that Windows-1252 cannot hold, so nothing typed is changed
/// behind the user's back.
class Windows1252Validator : public QValidator {
  public:
    using QValidator::QValidator;
    State validate(QString& input, int& position) const override;
};

}  // namespace tallyfold::platform::qt
