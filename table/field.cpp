#include "table/field.h"

#include <algorithm>
#include <array>
#include <bit>
#include <climits>
#include <optional>
#include <string>

#include "table/byte_words.h"
#include "table/charset.h"

namespace tallyfold {

namespace {

// A field is at most 255 bytes wide, so a formatted or read number always fits here.
constexpr std::size_t kNumberScratch = 256;

}  // namespace

bool FormatInt(std::int64_t value, int width, std::span<char> out) {
    const std::size_t size =
        std::min(static_cast<std::size_t>(std::max(width, 1)), out.empty() ? 0 : out.size() - 1);
    if (size == 0) {
        if (!out.empty()) {
            out[0] = '\0';
        }
        return false;
    }
    const bool negative = value < 0;
    std::uint64_t magnitude =
        negative ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    std::size_t position = size;
    if (magnitude == 0) {
        out[--position] = '0';
    }
    while (magnitude > 0 && position > 0) {
        out[--position] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    }
    bool signWritten = false;
    if (position > 0 && negative) {
        out[--position] = '-';
        signWritten = true;
    }
    std::fill(out.begin(), out.begin() + static_cast<std::ptrdiff_t>(position), ' ');
    out[size] = '\0';
    if (magnitude > 0 || (negative && !signWritten)) {
        std::fill(out.begin(), out.begin() + static_cast<std::ptrdiff_t>(size), '*');
        return false;
    }
    return true;
}

void tFeld::Bind(tDBF& table, std::string_view name) {
    table_ = &table;
    index_ = table.FieldIndex(name);
    value_.clear();
    type_ = table.FieldType(index_);
    if (index_ >= 0) {
        value_.assign(static_cast<std::size_t>(table.FieldLength(index_)) + 1, '\0');
    }
}

int tFeld::Length() const {
    return HasField() ? table_->FieldLength(index_) : 0;
}

char tFeld::Type() const {
    return HasField() ? table_->FieldType(index_) : 'U';
}

std::string_view tCharField::Text() {
    if (table_ == nullptr) {
        return {};
    }
    if (!HasField()) {
        // Reading a missing field still tells the table, which reports error 7.
        char none[1];
        table_->GetField(index_, none);
        return {};
    }
    table_->GetField(index_, value_);
    const std::size_t length = TextOemToAnsi(value_);
    return {value_.data(), length};
}

void tCharField::Assign(std::string_view text) {
    if (!HasField()) {
        return;
    }
    // Escapes only shrink a text, so it is converted whole and then cut to the field: a long
    // text full of escapes may still fit.
    text = text.substr(0, std::min(text.size(), text.find('\0')));
    std::array<char, kNumberScratch> local;
    std::string large;
    std::span<char> buffer;
    if (text.size() < local.size()) {
        buffer = local;
    } else {
        large.assign(text.size() + 1, '\0');
        buffer = large;
    }
    std::copy_n(text.data(), text.size(), buffer.data());
    buffer[text.size()] = '\0';
    const std::size_t length = TextAnsiToOemEscaped(buffer);
    table_->PutField(index_, {buffer.data(), length});
}

void tCharField::AssignLiteral(std::string_view text) {
    if (!HasField()) {
        return;
    }
    text = text.substr(0, std::min({text.size(), text.find('\0'), value_.size() - 1}));
    std::copy_n(text.data(), text.size(), value_.data());
    value_[text.size()] = '\0';
    const std::size_t length = TextAnsiToOem(value_);
    table_->PutField(index_, {value_.data(), length});
}

namespace {

// The number of a field of at most eight bytes that holds blanks, then digits up to its end
// (or only blanks), as a record written by any program holds its counters; nothing for any
// other text. A load reads two such fields per card, so this looks at all bytes at once.
std::optional<std::int32_t> PlainRightAlignedNumber(std::string_view text) {
    if (text.size() > 8) {
        return std::nullopt;
    }
    // The text right-aligned in a word of blanks: byte 7 is its last byte.
    const std::size_t pad = 8 - text.size();
    const std::uint64_t word = pad == 8
                                   ? words::kBlanks
                                   : (words::LoadUpTo8(text.data(), text.size()) << (8 * pad)) |
                                         (words::kBlanks & ((std::uint64_t{1} << (8 * pad)) - 1));
    // A digit becomes 0 to 9 and a blank 0x10; then a byte is a digit when its high half is
    // zero and its low half below 10 (adding 6 carries no low half of 9 or less into bit 4).
    const std::uint64_t shifted = word ^ 0x3030303030303030ULL;
    const std::uint64_t low = shifted & 0x0f0f0f0f0f0f0f0fULL;
    const std::uint64_t belowTen = (~(low + 0x0606060606060606ULL) & 0x1010101010101010ULL) << 3;
    const std::uint64_t digits = words::ZeroBytes(shifted & 0xf0f0f0f0f0f0f0f0ULL) & belowTen;
    const std::uint64_t blanks = words::ZeroBytes(word ^ words::kBlanks);
    // Every byte a blank or a digit, the blanks before the first digit.
    const int firstDigit = std::countr_zero(digits) / 8;
    const std::uint64_t before = firstDigit >= 8
                                     ? words::kHigh
                                     : words::kHigh & ((std::uint64_t{1} << (8 * firstDigit)) - 1);
    if ((digits | blanks) != words::kHigh || blanks != before) {
        return std::nullopt;
    }
    // Digit values, blanks as 0 (their low half is zero), byte 0 the leading digit: pairs,
    // then fours, then all eight.
    std::uint64_t value = low;
    value = (value * 10 + (value >> 8)) & 0x00ff00ff00ff00ffULL;
    value = (value * 100 + (value >> 16)) & 0x0000ffff0000ffffULL;
    value = (value * 10000 + (value >> 32)) & 0xffffffffULL;
    return static_cast<std::int32_t>(value);
}

}  // namespace

std::int32_t ParseFieldNumber(std::string_view text) {
    if (const std::optional<std::int32_t> plain = PlainRightAlignedNumber(text)) {
        return *plain;
    }
    while (!text.empty() &&
           (text.front() == ' ' || (text.front() >= '\t' && text.front() <= '\r'))) {
        text.remove_prefix(1);
    }
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    // Accumulate up to the 32-bit limit and stay there: a field may hold 255 digits.
    const std::int64_t limit = negative ? -static_cast<std::int64_t>(INT32_MIN) : INT32_MAX;
    std::int64_t magnitude = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            break;
        }
        magnitude = std::min(limit, magnitude * 10 + (c - '0'));
    }
    return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

std::int32_t tNumField::Value() {
    if (Type() != 'N') {
        return 0;
    }
    std::array<char, kNumberScratch> buffer;
    const int length = table_->GetField(index_, buffer);
    return ParseFieldNumber({buffer.data(), static_cast<std::size_t>(length)});
}

void tNumField::Assign(std::int64_t value) {
    if (table_ == nullptr) {
        return;
    }
    if (Type() != 'N') {
        table_->Report(DbfError::NotNumeric);
        return;
    }
    std::array<char, kNumberScratch> text;
    FormatInt(value, Length(), text);
    table_->PutField(index_, text.data());
}

}  // namespace tallyfold
