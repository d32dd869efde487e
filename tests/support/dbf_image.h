#pragma once

// Builds table file images byte by byte from a plain description, the way another dBASE
// writer would: for expected images and for hand-made files with unusual layouts.

#include <cstdint>
#include <string>
#include <vector>

namespace tallyfold::testing {

struct FieldLayout {
    std::string name;
    char type = 'C';
    int length = 1;
    int decimals = 0;
};

inline void PutLE(std::string& bytes, std::size_t at, std::uint32_t value, int size) {
    for (int i = 0; i < size; ++i) {
        bytes[at + static_cast<std::size_t>(i)] = static_cast<char>((value >> (8 * i)) & 0xFF);
    }
}

/// Header, descriptors and terminator for `fields`, with the given record count and date.
inline std::string HeaderImage(const std::vector<FieldLayout>& fields, std::uint32_t records,
                               int year = 2026, int month = 12, int day = 8) {
    const std::size_t headerLength = 32 * (fields.size() + 1) + 1;
    std::string bytes(headerLength, '\0');
    int recordLength = 1;
    for (const FieldLayout& field : fields) {
        recordLength += field.length;
    }
    bytes[0] = 3;
    bytes[1] = static_cast<char>(year - 1900);
    bytes[2] = static_cast<char>(month);
    bytes[3] = static_cast<char>(day);
    PutLE(bytes, 4, records, 4);
    PutLE(bytes, 8, static_cast<std::uint32_t>(headerLength), 2);
    PutLE(bytes, 10, static_cast<std::uint32_t>(recordLength), 2);
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const std::size_t at = 32 * (i + 1);
        bytes.replace(at, fields[i].name.size(), fields[i].name);
        bytes[at + 11] = fields[i].type;
        bytes[at + 16] = static_cast<char>(fields[i].length);
        bytes[at + 17] = static_cast<char>(fields[i].decimals);
        bytes[at + 20] = 1;
    }
    bytes[headerLength - 1] = 0x0D;
    return bytes;
}

/// One record: the flag byte, then each value left-aligned (or as given) and blank-padded.
inline std::string RecordImage(const std::vector<FieldLayout>& fields,
                               const std::vector<std::string>& values, char flag = ' ') {
    std::string bytes(1, flag);
    for (std::size_t i = 0; i < fields.size(); ++i) {
        std::string value = i < values.size() ? values[i] : std::string();
        value.resize(static_cast<std::size_t>(fields[i].length), ' ');
        bytes += value;
    }
    return bytes;
}

/// A whole file: header, records, end-of-file marker.
inline std::string TableImage(const std::vector<FieldLayout>& fields,
                              const std::vector<std::string>& records, int year = 2026,
                              int month = 12, int day = 8) {
    std::string bytes =
        HeaderImage(fields, static_cast<std::uint32_t>(records.size()), year, month, day);
    for (const std::string& record : records) {
        bytes += record;
    }
    bytes += '\x1A';
    return bytes;
}

}  // namespace tallyfold::testing
