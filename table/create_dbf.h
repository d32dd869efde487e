#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "table/file_path.h"

namespace tallyfold {

/// The date written into a new table's header.
struct TableDate {
    int year = 1900;  ///< full year; stored as years since 1900 in one byte
    int month = 1;    ///< 1 to 12
    int day = 1;      ///< 1 to 31
};

/// Today's date on the local clock.
TableDate LocalToday();

/// Writes new, empty table files: the caller lists the fields, then `Create` writes the
/// header, one descriptor per field, the header terminator and the end-of-file marker.
class tCreateDBF {
  public:
    static constexpr std::size_t kMaxFields = 256;
    /// A field's width and its decimals each take one byte of its descriptor.
    static constexpr int kMaxFieldLength = 255;

    /// Forgets the listed fields.
    void Clear() { fields_.clear(); }
    /// The language driver byte of the header, which names the code page of the texts;
    /// 0 (the default) names none.
    void SetLanguageDriver(std::uint8_t driver) { languageDriver_ = driver; }
    /// Lists a field; the name (at most 10 characters are kept) and the type letter are
    /// stored in upper case. False, and nothing listed, when the list already holds
    /// `kMaxFields` fields, when `length` is not 1 to `kMaxFieldLength`, or when `decimals` is
    /// negative or leaves no room in the field (not below `length`).
    [[nodiscard]] bool AddField(std::string_view name, char type, int length, int decimals);
    /// Writes the file at `path` with today's date, replacing any file of that name.
    /// False when it cannot be created or a write fails.
    [[nodiscard]] bool Create(const FilePath& path) const { return Create(path, LocalToday()); }
    [[nodiscard]] bool Create(const FilePath& path, const TableDate& date) const;

    /// The bytes `Create` writes: 32 × (fields + 1) + 2 of them.
    std::vector<char> Image(const TableDate& date) const;

  private:
    struct Field {
        std::array<char, 11> name{};
        char type = 'C';
        std::uint16_t length = 0;
        std::uint16_t decimals = 0;
    };
    std::vector<Field> fields_;
    std::uint8_t languageDriver_ = 0;
};

}  // namespace tallyfold
