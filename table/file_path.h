#pragma once

#include <string>
#include <string_view>
#include <utility>

namespace tallyfold {

/// The name of a file as the file system spells it: bytes in the system's encoding of file
/// names (UTF-8 on Linux), never card text, which is Windows-1252. A path is made from bytes
/// only on purpose (`FilePath(bytes)`), so a card text cannot become one by accident, and it
/// is shown to the user only through a conversion for display.
class FilePath {
  public:
    FilePath() = default;
    explicit FilePath(std::string bytes) : bytes_(std::move(bytes)) {}

    /// The bytes the system calls take.
    const std::string& Bytes() const { return bytes_; }
    const char* CString() const { return bytes_.c_str(); }
    bool IsEmpty() const { return bytes_.empty(); }

    /// The last part of the path, after its last separator (the whole path if it has none).
    std::string_view FileName() const;
    /// The folder the file is in, as written in the path ("." when the path names none, "/"
    /// for a file in the root).
    FilePath Folder() const;
    /// The extension of the file name, from its last "." on (".vok"); empty when the name has
    /// none. A "." that begins the name (".words") starts no extension.
    std::string_view Extension() const;
    /// Whether the extension is `extension` (".vok"), in any case of its ASCII letters.
    bool HasExtension(std::string_view extension) const;
    /// The path with the file name's extension replaced by `extension` (or `extension` added
    /// when it has none): "words.vok" gives "words.kas".
    FilePath WithExtension(std::string_view extension) const;
    /// The path with `suffix` appended to its last part ("words.vok" + ".tmp").
    FilePath WithSuffix(std::string_view suffix) const;
    /// The path of `name` in the folder this path names.
    FilePath Child(std::string_view name) const;

    friend bool operator==(const FilePath&, const FilePath&) = default;

  private:
    std::string bytes_;
};

}  // namespace tallyfold
