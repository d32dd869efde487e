#include "table/create_dbf.h"

#include <algorithm>
#include <ctime>

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
    const std::size_t headerLength = 32 * (fields_.size() + 1) + 1;
    std::vector<unsigned char> bytes(headerLength + 1, 0);
    unsigned recordLength = 1;
    for (const Field& field : fields_) {
        recordLength += field.length;
    }
    bytes[0] = 3;
    bytes[1] = static_cast<unsigned char>((date.year - 1900) & 0xFF);
    bytes[2] = static_cast<unsigned char>(date.month);
    bytes[3] = static_cast<unsigned char>(date.day);
    WriteLE16(&bytes[8], static_cast<std::uint16_t>(headerLength));
    WriteLE16(&bytes[10], static_cast<std::uint16_t>(recordLength));
    for (std::size_t i = 0; i < fields_.size(); ++i) {
        unsigned char* descriptor = &bytes[32 * (i + 1)];
        const Field& field = fields_[i];
        std::copy_n(field.name.begin(), 10, descriptor);
        descriptor[11] = static_cast<unsigned char>(field.type);
        descriptor[16] = static_cast<unsigned char>(field.length);
        descriptor[17] = static_cast<unsigned char>(field.decimals);
        descriptor[20] = 1;
    }
    bytes[headerLength - 1] = 0x0D;
    bytes[headerLength] = 0x1A;
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
