#include "table/create_dbf.h"

#include <algorithm>
#include <ctime>

#include "table/dbf_layout.h"
#include "table/file_io.h"
#include "table/little_endian.h"
#include "table/local_time.h"

namespace tallyfold {

namespace {

char UpperAscii(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

}  // namespace

TableDate LocalToday() {
    const std::time_t now = std::time(nullptr);
    const std::tm local = LocalTime(now).value_or(std::tm{});
    return TableDate{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

bool tCreateDBF::AddField(std::string_view name, char type, int length, int decimals) {
    if (fields_.size() >= kMaxFields || length < 1 || length > kMaxFieldLength || decimals < 0 ||
        decimals >= length) {
        return false;
    }
    Field field;
    const std::size_t nameLength = std::min<std::size_t>(name.size(), 10);
    std::transform(name.begin(), name.begin() + static_cast<std::ptrdiff_t>(nameLength),
                   field.name.begin(), UpperAscii);
    field.type = UpperAscii(type);
    field.length = static_cast<std::uint16_t>(length);
    field.decimals = static_cast<std::uint16_t>(decimals);
    fields_.push_back(field);
    return true;
}

std::vector<char> tCreateDBF::Image(const TableDate& date) const {
    using namespace dbf_layout;
    const std::size_t headerLength = kHeaderSize + kDescriptorSize * fields_.size() + 1;
    std::vector<unsigned char> bytes(headerLength + 1, 0);
    unsigned recordLength = 1;
    for (const Field& field : fields_) {
        recordLength += field.length;
    }
    bytes[kVersion] = kDbaseIII;
    bytes[kYear] = static_cast<unsigned char>((date.year - 1900) & 0xFF);
    bytes[kMonth] = static_cast<unsigned char>(date.month);
    bytes[kDay] = static_cast<unsigned char>(date.day);
    WriteLE16(&bytes[kHeaderLength], static_cast<std::uint16_t>(headerLength));
    WriteLE16(&bytes[kRecordLength], static_cast<std::uint16_t>(recordLength));
    bytes[kLanguageDriver] = languageDriver_;
    for (std::size_t i = 0; i < fields_.size(); ++i) {
        unsigned char* descriptor = &bytes[kHeaderSize + kDescriptorSize * i];
        const Field& field = fields_[i];
        std::copy_n(field.name.begin(), kFieldNameLength, descriptor + kFieldName);
        descriptor[kFieldType] = static_cast<unsigned char>(field.type);
        descriptor[kFieldLength] = static_cast<unsigned char>(field.length);
        descriptor[kFieldDecimals] = static_cast<unsigned char>(field.decimals);
        descriptor[kWorkAreaId] = 1;
    }
    bytes[headerLength - 1] = kHeaderTerminator;
    bytes[headerLength] = kEndOfFile;
    return {bytes.begin(), bytes.end()};
}

bool tCreateDBF::Create(const FilePath& path, const TableDate& date) const {
    File file;
    if (!file.Create(path)) {
        return false;
    }
    const bool written = file.WriteAt(0, Image(date));
    return file.Close() && written;
}

}  // namespace tallyfold
