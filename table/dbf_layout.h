#pragma once

// Where a dBASE III table keeps what: the file header and the field descriptors after it, by
// byte offset, for the reader (`tDBF`) and the builder (`tCreateDBF`) alike. Numbers of two and
// four bytes are little endian.
//
//   header       0  version (3: dBASE III without memo)
//                1  date of the last change: year - 1900, month, day (one byte each)
//                4  record count (4 bytes)
//                8  header length: this header, the descriptors and the terminator (2 bytes)
//               10  record length, the deletion flag included (2 bytes)
//               29  language driver: the code page of the texts (0: none named)
//   descriptor   0  field name, at most 10 bytes, zero padded
//   (32 each)   11  field type letter
//               16  field length
//               17  decimal count
//               20  work area id
//   then the terminator (0x0D), the records, and the end-of-file marker (0x1A).

#include <cstddef>
#include <cstdint>

namespace tallyfold::dbf_layout {

inline constexpr std::size_t kHeaderSize = 32;
inline constexpr std::size_t kVersion = 0;
inline constexpr std::size_t kYear = 1;
inline constexpr std::size_t kMonth = 2;
inline constexpr std::size_t kDay = 3;
inline constexpr std::size_t kRecordCount = 4;
inline constexpr std::size_t kHeaderLength = 8;
inline constexpr std::size_t kRecordLength = 10;
inline constexpr std::size_t kLanguageDriver = 29;

inline constexpr std::size_t kDescriptorSize = 32;
inline constexpr std::size_t kFieldName = 0;
inline constexpr std::size_t kFieldNameLength = 10;
inline constexpr std::size_t kFieldType = 11;
inline constexpr std::size_t kFieldLength = 16;
inline constexpr std::size_t kFieldDecimals = 17;
inline constexpr std::size_t kWorkAreaId = 20;

inline constexpr unsigned char kDbaseIII = 3;
inline constexpr unsigned char kHeaderTerminator = 0x0D;
inline constexpr unsigned char kEndOfFile = 0x1A;

}  // namespace tallyfold::dbf_layout
