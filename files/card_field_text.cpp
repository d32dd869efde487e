#include "files/card_field_text.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>

#include "files/text_bytes.h"
#include "table/charset.h"
#include "table/windows1252.h"
#include "text/card_side.h"
#include "text/utf8.h"

namespace tallyfold {

namespace {

// A classic field's text: one byte a character, at most 63, of the first 64 bytes.
constexpr std::size_t kClassicCharacters = 63;
constexpr std::size_t kFieldBytes = 64;

// A mask of the lowest `count` bits, for count from 0 to 64.
std::uint64_t LowBits(std::size_t count) {
    return count >= 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << count) - 1;
}

// The UTF-8 of the character that a code page 850 byte of a classic field stands for, for every
// byte of 0x80 and above: at most three bytes, then zeros.
using Utf8OfOem = std::array<std::array<char, 4>, 128>;

Utf8OfOem MakeUtf8OfOem() {
    Utf8OfOem table{};
    for (std::size_t oem = 0x80; oem <= 0xFF; ++oem) {
        std::string utf8;
        AppendUtf8(utf8, CodePointOfWindows1252(OemToAnsiMap()[oem]));
        std::copy(utf8.begin(), utf8.end(), table[oem - 0x80].begin());
    }
    return table;
}

const Utf8OfOem& OemUtf8() {
    static const Utf8OfOem table = MakeUtf8OfOem();
    return table;
}

}  // namespace

void ReadCardText(std::span<const char> field, CardText& text) {
    // The first 64 bytes give the text; bytes beyond matter only as far as they keep blanks
    // before them from being the field's trailing blanks. A shorter field is padded with zeros,
    // which are masked off as lying outside it.
    std::array<char, kFieldBytes> bytesRead;
    if (field.size() < kFieldBytes) {
        std::copy_n(field.data(), field.size(), bytesRead.data());
        std::fill(bytesRead.begin() + static_cast<std::ptrdiff_t>(field.size()), bytesRead.end(),
                  '\0');
    } else {
        std::memcpy(bytesRead.data(), field.data(), kFieldBytes);
    }
    const TextBytes bytes = ClassifyTextBytes(bytesRead.data());
    const std::uint64_t inField = LowBits(std::min(field.size(), kFieldBytes));
    // The field without its trailing blanks ends after its last other byte (a zero included).
    const std::uint64_t others = ~bytes.blanks & inField;
    const bool moreBeyond = field.size() > kFieldBytes &&
                            std::any_of(field.begin() + static_cast<std::ptrdiff_t>(kFieldBytes),
                                        field.end(), [](char c) { return c != ' '; });
    const std::size_t trimmed =
        moreBeyond ? field.size()
                   : (others == 0 ? 0 : 64 - static_cast<std::size_t>(std::countl_zero(others)));
    // Then the text ends at its first zero byte, then it is cut to what a classic card holds.
    const std::uint64_t zeros = bytes.zeros & inField;
    const std::size_t zero =
        zeros == 0 ? kFieldBytes : static_cast<std::size_t>(std::countr_zero(zeros));
    const std::size_t length = std::min<std::size_t>(std::min(zero, trimmed), kClassicCharacters);
    if ((bytes.high & LowBits(length)) == 0) {
        text.AssignAscii(bytesRead.data(), length);
        return;
    }
    std::array<char, 3 * kClassicCharacters> utf8;
    std::size_t size = 0;
    const Utf8OfOem& table = OemUtf8();
    for (std::size_t i = 0; i < length; ++i) {
        const auto byte = static_cast<unsigned char>(bytesRead[i]);
        if (byte < 0x80) {
            utf8[size++] = static_cast<char>(byte);
            continue;
        }
        for (const char c : table[byte - 0x80]) {
            if (c == '\0') {
                break;
            }
            utf8[size++] = c;
        }
    }
    text = CardText(std::string_view(utf8.data(), size));
}

bool ReadUtf8CardText(std::span<const char> field, CardText& text, bool& cut) {
    std::string_view bytes(field.data(), field.size());
    while (!bytes.empty() && bytes.back() == ' ') {
        bytes.remove_suffix(1);
    }
    bytes = bytes.substr(0, bytes.find('\0'));
    cut = false;
    if (!unicode::IsValidUtf8(bytes)) {
        return false;
    }
    // At most 63 bytes are at most 63 characters: only a longer text is counted.
    if (bytes.size() > CardText::kInlineBytes) {
        const std::size_t fits = unicode::BytesThatFitASide(bytes);
        cut = fits < bytes.size();
        bytes = bytes.substr(0, fits);
    }
    text = CardText(bytes);
    return true;
}

void WriteUtf8CardText(const CardText& text, std::span<char> field) {
    const std::string_view bytes = text.View();
    const std::size_t copied = std::min(bytes.size(), field.size());
    std::copy_n(bytes.data(), copied, field.data());
    std::fill(field.begin() + static_cast<std::ptrdiff_t>(copied), field.end(), ' ');
}

bool FitsClassicField(const CardText& text) {
    const std::string_view bytes = text.View();
    if (!text.HasNonAscii()) {
        return bytes.size() <= kClassicCharacters;
    }
    // A character fits when the field gives it back: its Windows-1252 byte, stored in code
    // page 850, reads as the same byte. Every defined byte does; of the five undefined ones,
    // only those that a field's byte reads as.
    std::size_t characters = 0;
    std::size_t at = 0;
    while (at < bytes.size()) {
        const std::optional<unsigned char> byte = Windows1252ByteOf(unicode::DecodeNext(bytes, at));
        if (!byte || OemToAnsiMap()[AnsiToOemMap()[*byte]] != *byte ||
            ++characters > kClassicCharacters) {
            return false;
        }
    }
    return true;
}

void WriteCardText(const CardText& text, std::span<char> field) {
    const std::string_view view = text.View();
    // The text, then blanks, converted where it has bytes of 0x80 and above.
    std::array<char, kFieldBytes> converted;
    std::size_t length = 0;
    if (view.size() <= kClassicCharacters && !text.HasNonAscii()) {
        length = view.size();
        std::memcpy(converted.data(), view.data(), length);
    } else {
        std::size_t at = 0;
        while (at < view.size() && length < kClassicCharacters) {
            const std::optional<unsigned char> byte =
                Windows1252ByteOf(unicode::DecodeNext(view, at));
            converted[length++] = static_cast<char>(AnsiToOemMap()[byte.value_or('?')]);
        }
    }
    std::memset(converted.data() + length, ' ', kFieldBytes - length);
    const std::size_t copied = std::min(field.size(), kFieldBytes);
    std::copy_n(converted.data(), copied, field.data());
    std::fill(field.begin() + static_cast<std::ptrdiff_t>(copied), field.end(), ' ');
}

}  // namespace tallyfold
