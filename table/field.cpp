#include "table/field.h"

#include <algorithm>
#include <array>
#include <climits>
#include <string>

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

std::int32_t ParseFieldNumber(std::string_view text) {
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
