#include "document/utf16_text.h"

#include "table/windows1252.h"

namespace tallyfold {

namespace {

// What stands for an unpaired surrogate or an odd last byte: a byte that no UTF-8 holds, so the
// line it is in is refused as a line that is no text, and never stored changed.
constexpr char kNoText = '\xFF';

bool IsHighSurrogate(char16_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool IsLowSurrogate(char16_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

}  // namespace

TextEncoding EncodingOfByteOrderMark(std::string_view start) {
    if (start.size() >= 2 && start[0] == '\xFF' && start[1] == '\xFE') {
        return TextEncoding::Utf16LittleEndian;
    }
    if (start.size() >= 2 && start[0] == '\xFE' && start[1] == '\xFF') {
        return TextEncoding::Utf16BigEndian;
    }
    return TextEncoding::Bytes;
}

void Utf16Decoder::Decode(std::string_view bytes, std::string& out) {
    for (const char c : bytes) {
        const unsigned byte = static_cast<unsigned char>(c);
        if (pendingByte_ < 0) {
            pendingByte_ = static_cast<int>(byte);
            continue;
        }
        const auto first = static_cast<unsigned>(pendingByte_);
        pendingByte_ = -1;
        Unit(static_cast<char16_t>(bigEndian_ ? (first << 8U) | byte : (byte << 8U) | first), out);
    }
}

void Utf16Decoder::Unit(char16_t unit, std::string& out) {
    if (high_ != 0) {
        const char16_t high = high_;
        high_ = 0;
        if (IsLowSurrogate(unit)) {
            AppendUtf8(out,
                       0x10000 + ((static_cast<char32_t>(high) - 0xD800) << 10) + (unit - 0xDC00));
            return;
        }
        out += kNoText;
    }
    if (IsHighSurrogate(unit)) {
        high_ = unit;
    } else if (IsLowSurrogate(unit)) {
        out += kNoText;
    } else {
        AppendUtf8(out, unit);
    }
}

void Utf16Decoder::Finish(std::string& out) {
    if (high_ != 0 || pendingByte_ >= 0) {
        out += kNoText;
    }
    high_ = 0;
    pendingByte_ = -1;
}

}  // namespace tallyfold
