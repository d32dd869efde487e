#include "files/card_field_text.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

#include "files/text_bytes.h"
#include "table/charset.h"

namespace tallyfold {

namespace {

constexpr std::size_t kTextBytes = kMaxCardText + 1;

// A mask of the lowest `count` bits, for count from 0 to 64.
std::uint64_t LowBits(std::size_t count) {
    return count >= 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << count) - 1;
}

// Maps the bytes marked in `marks` (bit i for byte i) of the 64 at `bytes` through `map`. A
// text holds a few such bytes, a different number each, so a loop over them would end on a
// mispredicted branch for almost every text: four are mapped at a time, a step past the last
// mark rewriting byte 63 as it is.
void MapMarkedBytes(char* bytes, std::uint64_t marks, const std::array<unsigned char, 256>& map) {
    constexpr std::uint64_t kLastByte = std::uint64_t{1} << 63;
    do {
        for (int step = 0; step < 4; ++step) {
            const auto i = static_cast<std::size_t>(std::countr_zero(marks | kLastByte));
            const auto byte = static_cast<unsigned char>(bytes[i]);
            bytes[i] = static_cast<char>(marks != 0 ? map[byte] : byte);
            marks &= marks - 1;
        }
    } while (marks != 0);
}

}  // namespace

void ReadCardText(std::span<const char> field, char (&text)[kMaxCardText + 1]) {
    // The first 64 bytes give the text; bytes beyond matter only as far as they keep blanks
    // before them from being the field's trailing blanks. A shorter field is padded with zeros,
    // which are masked off as lying outside it.
    // The text itself holds the padded field, so the common path keeps nothing on the stack.
    const char* source = field.data();
    if (field.size() < kTextBytes) {
        std::copy_n(field.data(), field.size(), text);
        std::fill(text + field.size(), text + kTextBytes, '\0');
        source = text;
    } else {
        std::memcpy(text, source, kTextBytes);
    }
    const TextBytes bytes = ClassifyTextBytes(source);
    const std::uint64_t inField = LowBits(std::min(field.size(), kTextBytes));
    // The field without its trailing blanks ends after its last other byte (a zero included).
    const std::uint64_t others = ~bytes.blanks & inField;
    const bool moreBeyond = field.size() > kTextBytes &&
                            std::any_of(field.begin() + static_cast<std::ptrdiff_t>(kTextBytes),
                                        field.end(), [](char c) { return c != ' '; });
    const std::size_t trimmed =
        moreBeyond ? field.size()
                   : (others == 0 ? 0 : 64 - static_cast<std::size_t>(std::countl_zero(others)));
    // Then the text ends at its first zero byte, then it is cut to what a card holds.
    const std::uint64_t zeros = bytes.zeros & inField;
    const std::size_t zero =
        zeros == 0 ? kTextBytes : static_cast<std::size_t>(std::countr_zero(zeros));
    const std::size_t length = std::min<std::size_t>(std::min(zero, trimmed), kMaxCardText);
    text[length] = '\0';
    if (const std::uint64_t high = bytes.high & LowBits(length); high != 0) {
        MapMarkedBytes(text, high, OemToAnsiMap());
    }
}

void WriteCardText(const char (&text)[kMaxCardText + 1], std::span<char> field) {
    const TextBytes bytes = ClassifyTextBytes(text);
    const std::size_t length = std::min<std::size_t>(
        static_cast<std::size_t>(std::countr_zero(bytes.zeros)), kMaxCardText);
    // The text, then blanks, converted where it has bytes of 0x80 and above.
    std::array<char, kTextBytes> converted;
    std::memcpy(converted.data(), text, kTextBytes);
    std::memset(converted.data() + length, ' ', kTextBytes - length);
    MapMarkedBytes(converted.data(), bytes.high & LowBits(length), AnsiToOemMap());
    const std::size_t copied = std::min(field.size(), kTextBytes);
    std::copy_n(converted.data(), copied, field.data());
    std::fill(field.begin() + static_cast<std::ptrdiff_t>(copied), field.end(), ' ');
}

}  // namespace tallyfold
